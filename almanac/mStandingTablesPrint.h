// The standing tables drawn on pages after the daily pages: the altitude correction
// tables, the additional refraction, the Moon's tables, the Polaris tables, the
// conversion of arc to time and the increments and corrections.
#pragma once
#include <QString>
#include <atomic>

class QPainter;
class QPagedPaintDevice;

// The pages the tables take.
int StandingTablesPageCount();

// Given: painter, active on device, the last page drawn (a new page is begun for each
//        table page); year, whose Sun, Venus, Mars and Polaris the tables use; family,
//        the font; cancel (may be null), polled between pages.
// Returned: false when cancelled. Throws ArithmeticFault for a year beyond the calendar.
bool DrawStandingTables(QPainter& painter, QPagedPaintDevice* device, int year, const QString& family,
                        const std::atomic<bool>* cancel);

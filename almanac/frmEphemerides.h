// The hourly almanac page: for the working date, each whole hour of UT from 00 to 23 with
// the Greenwich hour angle of Aries and the hour angle and declination of Venus, Mars,
// Jupiter, Saturn, the Sun and the Moon. The numbers come from mEphemerides; this window
// formats and shows them.
#pragma once
#include <QDate>
#include <array>
#include <functional>

#include "almanac/mEphemerides.h"
#include "ui/ChildWindow.h"

class QProgressBar;
class QPushButton;
class QTreeWidget;

class frmEphemerides : public ChildWindow {
    Q_OBJECT
public:
    explicit frmEphemerides(QWidget* parent = nullptr);

    // The caption with LocalDate's long date, and the page rebuilt.
    void Update() override;
    // Every column and all 24 hours, with the button row.
    QSize ContentSize() const override;

    QTreeWidget* lvEphemer = nullptr;      // the page: 24 rows; UT, ARIES, the six bodies, then the
                                           // Moon's v, d, HP and the Sun's and Moon's SD
    QProgressBar* ProgressBar1 = nullptr;  // 0..100 while the page is computed (value()/maximum())
    QPushButton* Command1 = nullptr;       // "&Recalculate"
    QPushButton* cmdExport = nullptr;      // "E&xport…": the page as CSV

    // Asks where to write the CSV (the file dialog; a test replaces it). Empty: cancelled.
    static std::function<QString(QWidget* parent)> AskExportPath;
    // Writes the page shown: a header line, then per hour the UT hour, the numbers in
    // decimal degrees (v, d, HP, SD in arc minutes) and the cells' texts as shown.
    // False with a message box when the file cannot be written.
    bool ExportCsv(const QString& path);

    // A body's cell: the hour angle text a, spaces, the declination text b; the number of
    // spaces n = (645 - w) / 45 + 4 rounded half to even, w the width of b in twips in the
    // window's font, so that the declinations line up in a right-aligned column.
    QString JoinGhaDec(const QString& a, const QString& b) const;

    // The texts of an hour angle and of a declination as the page shows them.
    static QString GhaText(double gha);
    static QString DecText(double dec);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillEphemerides();
    std::array<EphemerisRow, kEphemerisHours> rows_{};
    QDate pageDate_;  // the UT date of the rows
};

// The hourly almanac page: for the working date, each whole hour of UT from 00 to 23 with
// the Greenwich hour angle of Aries and the hour angle and declination of Venus, Mars,
// Jupiter, Saturn, the Sun and the Moon. The numbers come from mEphemerides; this window
// formats and shows them.
#pragma once
#include "app/ChildWindow.h"

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

    QTreeWidget* lvEphemer = nullptr;      // the page: 24 rows, 8 columns
    QProgressBar* ProgressBar1 = nullptr;  // 0..100 while the page is computed (value()/maximum())
    QPushButton* Command1 = nullptr;       // "&Recalculate"

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
};

// The annual events of a year: the solstices and equinoxes and, month by month, the
// principal phases of the Moon, all in UT. The instants come from mAnnual; this window
// formats and shows them.
#pragma once
#include <array>

#include "ui/ChildWindow.h"
#include "core/mTime.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

class frmAnnual : public ChildWindow {
    Q_OBJECT
public:
    explicit frmAnnual(QWidget* parent = nullptr);

    // Fills the whole window for a year (the phase table and the four seasons).
    void ShowYear(int year);
    // New working data: the year of the working date when it is another year
    // than before; a year the user chose otherwise stays.
    void Update() override;
    // The year shown at load: the year of a date, or the nearer end of the list
    // (1900 or 2100) when it lies outside it.
    static int YearToShow(DateValue localDate);

    QGroupBox* Frame1 = nullptr;    // "Moon"
    QTreeWidget* ListView1 = nullptr;
    QGroupBox* Frame2 = nullptr;    // "Sun"
    std::array<QLabel*, 4> Label1{};  // season names
    std::array<QLabel*, 4> Label2{};  // season instants, "mmmm dd,  hh:mm"
    QGroupBox* Frame3 = nullptr;    // "Year"
    QComboBox* Combo1 = nullptr;    // "1900" .. "2100"
    QPushButton* Command1 = nullptr;  // "&Refresh"

    static constexpr int kFirstYear = 1900;
    static constexpr int kLastYear = 2100;

private:
    int workingYear_ = 0;  // the year of the working date last shown
    void Combo1_Click();
    void FillMoonPhases(int year);
};

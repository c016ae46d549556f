// The lunar distance window ("Lunar distance"): a sextant distance between the Moon's
// limb and the Sun, a planet or a navigational star, cleared step by step to the
// geocentric distance, the UT it gives, the watch error and the longitude; and, on its
// second page, the lunars of the working day with their distances every three hours.
#pragma once
#include "ui/ChildWindow.h"
#include "lunar/mLunar.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

class frmLunar : public ChildWindow {
    Q_OBJECT
public:
    explicit frmLunar(QWidget* parent = nullptr);
    // The plan again for the working day; the lunar again when one was cleared.
    void Update() override;
    // "&Calculate": reads the sight, clears it with the working data and shows every step;
    // a form that cannot be read gets a message box and changes nothing.
    void Calculate();
    // The candidates of the working day (suitable first) and their three-hourly distances.
    void Plan();

    const LunarResult& Result() const { return result_; }

    QTabWidget* tabs = nullptr;
    QComboBox* cboBody = nullptr;      // item data: the LunarBody code
    QComboBox* cboMoonLimb = nullptr;  // "Near limb" / "Far limb"
    QComboBox* cboLimb = nullptr;      // the Sun's limb; disabled for a planet or star
    QLineEdit* txtDistance = nullptr;  // sextant distance, mask "000_00_0"
    QLineEdit* txtDate = nullptr;      // watch date (UT), the short-date mask
    QLineEdit* txtTime = nullptr;      // watch time (UT), mask "00_00_00"
    QLineEdit* txtHsMoon = nullptr;    // sextant altitude of the Moon's lower limb, "00_00_0"
    QLineEdit* txtHs = nullptr;        // of the Sun's lower limb or the body's centre
    QCheckBox* chkFromDR = nullptr;    // "Altitudes from the DR"
    QPushButton* cmdCalculate = nullptr;
    QLabel* lblConditions = nullptr;
    QTreeWidget* lvSteps = nullptr;
    QLabel* lblResult = nullptr;       // UT, watch error, sensitivity, longitude
    QTreeWidget* lvPlan = nullptr;     // the planner's candidates

private:
    bool ReadSight(LunarObservation& obs);
    void ShowResult();

    LunarResult result_;
    bool haveResult_ = false;
};

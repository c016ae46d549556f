// The noon sight window ("Noon sight"): local apparent noon at the moving ship for
// the working day in zone time and UT, the longitude at noon from the DR, and the
// latitude from a sextant altitude of the Sun on the meridian with its corrections.
#pragma once
#include "ui/ChildWindow.h"
#include "planning/mPlanning.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class frmNoon : public ChildWindow {
    Q_OBJECT
public:
    explicit frmNoon(QWidget* parent = nullptr);
    // The noon time again from NavigationState; the latitude again when one was shown.
    void Update() override;
    // Its opening size is its smallest: the wrapped texts keep their room.
    void Placed() override { setMinimumSize(size()); }
    // "&Latitude": reads the sextant altitude and shows the latitude with its corrections.
    void Calculate();

    QLabel* lblNoon = nullptr;       // the time of noon, the DR at noon, the Sun's declination
    QLineEdit* txtHs = nullptr;      // sextant altitude, mask "00_00_0"
    QCheckBox* chkLowerLimb = nullptr;
    QPushButton* cmdLatitude = nullptr;
    QTreeWidget* lvSteps = nullptr;  // the corrections, one row each
    QLabel* lblResult = nullptr;     // the latitude, or why there is none

    const NoonTime& Noon() const { return noon_; }

private:
    NoonTime noon_;
    bool haveLatitude_ = false;
};

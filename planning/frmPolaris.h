// The Polaris window ("Latitude by Polaris"): from a sextant altitude of Polaris and
// its UT time, the latitude from the star's apparent place, with the corrections
// and the equivalent total correction Lat - Ho.
#pragma once
#include "ui/ChildWindow.h"
#include "planning/mPlanning.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class frmPolaris : public ChildWindow {
    Q_OBJECT
public:
    explicit frmPolaris(QWidget* parent = nullptr);
    void Update() override;
    // Its opening size is its smallest: the wrapped texts keep their room.
    void Placed() override { setMinimumSize(size()); }
    // "&Latitude": reads the time and the altitude and shows the latitude or the reason there is none.
    void Calculate();

    QLabel* lblInfo = nullptr;       // the DR and the UT date
    QLineEdit* txtTime = nullptr;    // UT time, mask "00_00_00"
    QLineEdit* txtHs = nullptr;      // sextant altitude, mask "00_00_0"
    QPushButton* cmdLatitude = nullptr;
    QTreeWidget* lvSteps = nullptr;
    QLabel* lblResult = nullptr;

private:
    bool haveLatitude_ = false;
};

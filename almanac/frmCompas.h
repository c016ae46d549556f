// The compass correction window: the true azimuth of the Sun at rise or set, of
// Polaris or of another body at the bearing's UT time, and the correction,
// azimuth minus compass bearing, signed and reduced to at most 180 degrees.
#pragma once
#include <array>

#include "ui/ChildWindow.h"
#include "ui/mLayout.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

struct CompassPlace;

class frmCompas : public ChildWindow {
    Q_OBJECT
public:
    explicit frmCompas(QWidget* parent = nullptr);

    // Recomputes the azimuth of the chosen method (and of the chosen body).
    void Update() override;
    void Placed() override;

    // Controls; arrays carry the index in the object name ("Option1_3").
    std::array<QRadioButton*, 4> Option1{};  // "Sun Rise", "Sun Set", "Polaris", "Other"
    QComboBox* Combo1 = nullptr;             // bodies for "Other"; item data: star number or -k
    QLineEdit* Text1 = nullptr;              // UT time of the bearing, mask "00_00_00"
    QLineEdit* Text2 = nullptr;              // compass bearing, mask "000_0"
    std::array<QLabel*, 4> Label3{};         // "Time (GMT)", "Bearing", "Azimuth", "Correction"
    QLabel* Label1 = nullptr;                // the conditions text
    QLabel* Label2 = nullptr;                // the azimuth, "000.0", or "Below" the horizon
    QLabel* Label4 = nullptr;                // the correction; empty until calculated for this azimuth
    QLabel* lblEventDate = nullptr;          // the sunrise's or sunset's UT date, when not the working one
    QPushButton* Command1 = nullptr;         // "&Calculate"

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OptionClick(int index);
    void ComboClick();
    void CalculateClick();
    bool BearingJd(double& jd);
    void ShowPlace(const CompassPlace& p);
    void ClearAzimuth();
    QString ConditionsText() const;
    void Place(QWidget* w, int left, int top, int width, int height);

    // Label2 holds an azimuth computed for the present choice (not words, not
    // empty): only then does "&Calculate" give a correction.
    bool azimuthValid_ = false;
    LayoutScaler scaler_;
};

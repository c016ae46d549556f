// The general information window: the date and local time, time zone, dead-
// reckoning position, course and speed, and the observing conditions, edited in
// masked boxes; "&Apply" stores them in NavigationState; "&Save Info" stores
// them and keeps them in the settings. Either announces the new working data
// with workingDataChanged, on which the frame has the open windows recompute.
#pragma once
#include <array>

#include "ui/ChildWindow.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmGeneral : public ChildWindow {
    Q_OBJECT
public:
    explicit frmGeneral(QWidget* parent = nullptr);

    // Text1(0) date, (1) latitude, (2) longitude, (3) course, (4) speed,
    // (5) temperature, (6) pressure, (7) height of eye, (8) index correction,
    // (9) time zone, (10) local time. Object names "Text1_0" ... "Text1_10".
    std::array<QLineEdit*, 11> Text1{};
    // The computer clock's error on UT, seconds, + when it is fast ("txtClockError"):
    // the session window's Mark takes it off the clock.
    QLineEdit* txtClockError = nullptr;
    QPushButton* Command1 = nullptr;  // "&Apply"
    QPushButton* Command2 = nullptr;  // "&Save Info"

    // The mask of box `index` (empty outside 0..10).
    static QString MaskOf(int index);

    // Validates every box in index order and stores them all in NavigationState;
    // on the first invalid box shows its message, selects the box's text and
    // gives it the focus, and changes nothing. A number outside its range
    // (ValueRange in core/mWorkingData.h) is invalid too. True when stored.
    bool Apply();
    // Fills every box from NavigationState.
    void FillBoxes();

signals:
    // NavigationState holds new working data (after "&Apply" or "&Save Info").
    void workingDataChanged();

private:
    void ApplyClick();
    void SaveClick();
    void Fail(int index, const QString& message) { Fail(Text1[static_cast<size_t>(index)], message); }
    void Fail(QLineEdit* box, const QString& message);
};

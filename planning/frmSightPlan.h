// The sight plan window ("Sight plan"): the coming morning or evening twilight at
// the DR run along the course (or a UT time the user types), the bodies between 15
// and 75 degrees with Hc, Zn, magnitude and the sextant altitude to preset, and the
// best three and four bodies with a line that says why. It only formats: the numbers
// come from planning/mPlanning. Its requests go out as signals; the main window
// passes them to the position window.
#pragma once
#include <QVector>
#include <vector>

#include "ui/ChildWindow.h"
#include "planning/mPlanning.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

class frmSightPlan : public ChildWindow {
    Q_OBJECT
public:
    explicit frmSightPlan(QWidget* parent = nullptr);
    // The plan again from NavigationState.
    void Update() override;
    // Its opening size is its smallest: the wrapped texts keep their room.
    void Placed() override { setMinimumSize(size()); }

    QRadioButton* optMorning = nullptr;
    QRadioButton* optEvening = nullptr;
    QRadioButton* optTime = nullptr;
    QLineEdit* txtTime = nullptr;       // UT time on the UT date of the working data, mask "00_00_00"
    QPushButton* cmdPlan = nullptr;     // "&Plan"
    QLabel* lblTwilight = nullptr;
    QTreeWidget* lvBodies = nullptr;    // Body, Hc, Zn, Mag, Hs preset, Set
    QLabel* lblBest3 = nullptr;
    QLabel* lblBest4 = nullptr;
    QComboBox* cboSet = nullptr;        // "Best four" / "Best three"
    QPushButton* cmdMark = nullptr;     // "&Mark on map"
    QPushButton* cmdFill = nullptr;     // "&Fill position lines"

    // The plan shown: the instant (UT), the DR at it, the candidates and the sets.
    DateValue PlanInstant() const { return instant_; }
    const std::vector<PlanBody>& Candidates() const { return bodies_; }
    const BodySet& Best(int count) const { return count == 3 ? best3_ : best4_; }
    // The sights of the set chosen in cboSet.
    std::vector<PlannedSight> ChosenSights() const;

signals:
    // Ring these bodies on the position window's map drawn for ut (UT).
    void markRequested(const QVector<int>& codes, double ut);
    // Put these sights into the position window's lines.
    void linesRequested(const QVector<int>& codes, const QVector<double>& times, const QVector<double>& altitudes);

private:
    void Plan();
    void Clear(const QString& why);
    DateValue instant_ = 0.0;
    LatLon position_;
    std::vector<PlanBody> bodies_;
    BodySet best3_, best4_;
};

// The position window ("Calculate Position"): up to four sextant sights, each a
// body, a UT time and a sextant altitude; the star map from which a body is taken
// into the active line; the fix ("&Calculate Pos") with its summary, and the
// calculation details ("&Show Details").
#pragma once
#include <QPointer>
#include <QSize>
#include <QString>
#include <QVector>
#include <array>
#include <string>
#include <vector>

#include "ui/ChildWindow.h"
#include "ui/mLayout.h"
#include "core/mTime.h"
#include "fix/mCalcPosition.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class MapPicture;
class MapMarkLabel;
class frmDetails;

class frmPosition : public ChildWindow {
    Q_OBJECT
public:
    explicit frmPosition(QWidget* parent = nullptr);
    // Keeps the lines' sights (EnteredSights) for the next window of the run.
    ~frmPosition() override;

    // The conditions label, then the star map for UT = LocalDate - TZ hours.
    void Update() override;
    void Placed() override;

    // Makes line i (0..3) the active one: its frame caption red, the others black.
    void SelectLine(int i);
    int ActiveLine() const { return activeLine_; }
    bool MapReady() const { return mapReady_; }

    // "Date: ... , TimeZone = ..." / "Position: ..." / "Temp = ...": the working data.
    static QString GeneralInfoText();
    // The summary of LastFix with its large-intercept warning; "Last fix not
    // available" while it is refused ("No data" when the window opens), and with
    // the reason while this window's last calculation was refused.
    QString LastFixText() const;

    // The calculate command: the lines from the controls, the fix of them with the
    // working data (NavigationState), the message box of a refusal, the summary;
    // a fix becomes LastFix and is announced by fixCalculated.
    void CalculatePosition();
    // Puts sights into the four lines (a body not on the map is added to its list).
    void ShowSights(const SightLines& lines);
    // The information box of star mark n / body mark n; Yes puts it into the active line.
    void StarInfoBox(int n);
    void PlanetInfoBox(int n);
    // The work instant of the map and the information boxes (UT).
    static DateValue WorkInstantUT();
    // A sight plan from another window: the map drawn for its instant ut (UT) with
    // the marks of the bodies `codes` ringed (until the next Update); FillLines puts
    // body, UT time and preset sextant altitude into lines 1.. (the rest emptied).
    // When lines are already typed it asks first: Yes replaces them all, No keeps
    // them and fills only the empty lines.
    void MarkPlannedBodies(const QVector<int>& codes, DateValue ut);
    void FillLines(const QVector<int>& codes, const QVector<double>& times, const QVector<double>& altitudes);
    // The four lines as the boxes show them; typed[n]: line n has a body, a time
    // or an altitude (not the empty line's zeros).
    SightLines LinesShown(std::array<bool, 4>& typed) const;
    // The bodies ringed by the last MarkPlannedBodies.
    QVector<int> PlannedCodes() const { return planned_; }
    // A double-click on a mark of the map: the star or planet information box.
    void MarkDoubleClicked(MapMarkLabel* mark);

signals:
    // "&Show Details" was pressed: the details of the last fix are wanted. The
    // main window builds and shows the details window; a window made on its own
    // (with nobody listening) shows a details window of its own.
    void detailsRequested();

public:

    // Controls, per line i = 0..3 (object names carry the index: "Combo1_2").
    std::array<QGroupBox*, 4> Frame1{};
    std::array<QComboBox*, 4> Combo1{};
    std::array<QLineEdit*, 4> Text1{};  // UT time, mask "00_00_00"
    std::array<QLineEdit*, 4> Text2{};  // sextant altitude, mask "00_00_0"
    std::array<QCheckBox*, 4> Check2{}; // "Use lower limb"
    std::array<QLabel*, 12> Label5{};   // 0..3 "Celestial Body", 4..7 "UTC", 8..11 "H"
    MapPicture* Picture1 = nullptr;
    std::vector<MapMarkLabel*> Label1;  // star marks; [0] the template
    std::vector<MapMarkLabel*> Label2;  // body marks; [0] the template
    int StarMarkCount = 0;              // marks drawn by the last map
    int BodyMarkCount = 0;
    QGroupBox* Frame3 = nullptr;
    std::array<QRadioButton*, 3> Option1{};
    QLineEdit* Text3 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* chkIterate = nullptr;  // "Iterate": the fix repeated from its own result
    QPushButton* Command1 = nullptr;  // "&Refresh Map"
    QPushButton* Command2 = nullptr;  // "&Calculate Pos"
    QPushButton* Command4 = nullptr;  // "&Show Details"
    QLabel* lblGenInfo = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label6 = nullptr;

    static constexpr const char* kTimeMask = "00_00_00";
    static constexpr const char* kAltitudeMask = "00_00_0";

signals:
    // A fix was calculated: its record (LastFix holds it too).
    void fixCalculated(const FixResult& fix);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The star map for ut, the work instant (LocalDate - TZ hours), seen from lat,
    // lon (degrees): the marks Label1 (stars of the chosen list above the horizon) and
    // Label2 (Sun, Moon and planets above the horizon, when "Show Planets" is ticked)
    // replace the old ones; each body list Combo1(j) is rebuilt as the empty item,
    // one item per star mark ("<star name>", its Number), one per body mark
    // ("Planet: <name>", -k), keeping a line's body selected when it is still on the
    // map; a line whose body is not on the map any more keeps it as one more item,
    // its text followed by kNotOnMap; then DrawMapGrid. The magnitude limit is read
    // with ParseNumberText (a text that is no number shows no star: the window
    // refuses it first).
    void DrawStarMap(DateValue ut, double lat, double lon);
    void DrawMapNow();
    void RingPlanned();
    // With "Stars with magnitude < " chosen, a limit that is not a number gets
    // "Invalid data format!" and false.
    bool MagnitudeLimitValid();
    void StoreSights() const;
    void RestoreSights();
    void ShowDetails();
    void AltitudeEnter(int line);

    QPointer<frmDetails> ownDetails_;
    std::string refusal_;  // why the last calculation gave no fix; "" after a fix  // with nobody listening to detailsRequested
    bool mapReady_ = false;
    int activeLine_ = 0;
    QVector<int> planned_;     // bodies of a sight plan, ringed on the map
    DateValue plannedUt_ = 0;  // the plan's instant, the map's while planned_ is not empty
    LayoutScaler scaler_;
};

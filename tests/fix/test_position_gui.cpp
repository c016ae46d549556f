// The position window and the details window driven as a user would: bodies
// chosen from the lists by keyboard, times and altitudes typed into the masked
// boxes, the buttons clicked, a star and a planet taken from the map by a
// double-click; what the labels, the table and the plot then show.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QRegularExpression>
#include <QComboBox>
#include <QGroupBox>
#include <QAction>
#include <QImage>
#include <QRadioButton>
#include <QTreeWidget>
#include <cmath>
#include <memory>

#include "shell/MDIFormMain.h"
#include "support/gui_support.h"
#include "ui/mConvertion.h"
#include "fix/frmPosition.h"
#include "map/frmDetails.h"
#include "map/mDetailsReport.h"
#include "map/mDrawmap.h"
#include "map/mPlotLines.h"
#include "support/nav_fixture.h"
#include "support/pixels.h"

namespace {

// The fix of a case of the simulated sights: within 0.25 nm (see test_fix_simulated),
// plus the 0.05' rounding of the summary's position text.
constexpr double kTolFixNm = 0.3;

// Case 0 of tests/data/fix_sights.csv: 2023-09-09 06:02:37 UT, zone -7, sights of
// Mirfak (HR 1017, 11-54.0) and Jupiter's centre (17-31.0) at the fix instant.
constexpr double kTrueLat = -7.503654851, kTrueLon = 34.431741710;
const QColor kActive(255, 0, 0), kInactive(0, 0, 0);

class PositionWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::LoadDataFiles(); }
    void SetUp() override {
        QLocale::setDefault(PointLocale());
        NavigationState = testsupport::DrState(DateFromParts(2023, 9, 9, 6, 2, 37) - 7.0 / 24.0, -7.0f, -7.389798678,
                                               34.242351807, 11.0f, 6.0f);
        NavigationState.hEye = 5.0f;
        NavigationState.i_s = -1.5f;
        LastFix = FixResult{};
        EnteredSights = SightLines{};
        w = std::make_unique<frmPosition>();
        win = w.get();
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
    void TearDown() override {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("frmDetails")) delete top;
        w.reset();
    }

    // Chooses the body of a line with the keyboard: arrow down the focused list.
    void ChooseBody(int line, int code) {
        QComboBox* c = win->Combo1[static_cast<size_t>(line)];
        c->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QTest::keyClick(c, Qt::Key_Home);
        for (int n = 0; n < c->count() && c->currentData().toInt() != code; ++n) QTest::keyClick(c, Qt::Key_Down);
        ASSERT_EQ(c->currentData().toInt(), code) << "body " << code << " is not in the list of line " << line + 1;
    }
    // Clicks a masked box at its first character and types digits.
    static void TypeInto(QLineEdit* box, const QString& digits) {
        box->setFocus(Qt::MouseFocusReason);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(2, box->height() / 2));
        box->setSelection(0, 1);
        QTest::keyClicks(box, digits);
    }
    void EnterSight(int line, int code, const char* timeDigits, const char* altDigits) {
        ChooseBody(line, code);
        TypeInto(win->Text1[static_cast<size_t>(line)], QLatin1String(timeDigits));
        TypeInto(win->Text2[static_cast<size_t>(line)], QLatin1String(altDigits));
    }
    // What the four lines' body lists show.
    QStringList Lines() const {
        QStringList out;
        for (QComboBox* c : win->Combo1) out << c->currentText();
        return out;
    }
    static frmDetails* Details() {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<frmDetails*>(top)) return d;
        return nullptr;
    }
    std::unique_ptr<frmPosition> w;
    frmPosition* win = nullptr;  // the window the helpers type into
};

}  // namespace

TEST_F(PositionWindow, LoadShowsTheStateAndTheMapInTheListsAndResizeScalesIt) {
    EXPECT_EQ(w->ActiveLine(), 0);
    EXPECT_EQ(w->Label4->text(), QStringLiteral("Last fix not available"));
    EXPECT_TRUE(w->lblGenInfo->text().startsWith(QStringLiteral("Date: 09/08/2023 23:02, TimeZone = -7\nPosition: "
                                                                "07-23.4S 034-14.5E, COG = 11, SOG = 6 kt\n")))
        << w->lblGenInfo->text().toStdString();
    // Marks and list items agree: the empty item, the stars, then the planets.
    ASSERT_GT(w->StarMarkCount, 0);
    ASSERT_GT(w->BodyMarkCount, 0);
    QComboBox* c = w->Combo1[0];
    EXPECT_EQ(c->count(), 1 + w->StarMarkCount + w->BodyMarkCount);
    EXPECT_EQ(QStringList({c->itemText(0), c->itemText(1), c->itemText(1 + w->StarMarkCount)}),
              QStringList({QString(), w->Label1[0]->toolTip(),
                           QStringLiteral("Planet: ") + w->Label2[0]->toolTip().section(QLatin1Char('\n'), 0, 0)}));
    // Without a fix "Show Details" sets the labels and shows no window.
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    if (frmDetails* d = Details()) {
        EXPECT_TRUE(!d->isVisible() && d->Label1->text() == "Last fix not available" &&
                    d->Label2->text() == "Last fix not available");
    }
    // Resized, the map scales with its marks and the grid is redrawn.
    w->Placed();  // what the main window does once the window is in its frame
    MapMarkLabel* mark = w->Label1[0];
    ASSERT_TRUE(mark->isVisible());
    const QSize picture = w->Picture1->size();
    const QPointF before = QRectF(mark->geometry()).center();
    w->resize(w->width() - 50, w->height() - 50);  // smaller than at load: nothing moves
    QApplication::processEvents();
    EXPECT_EQ(w->Picture1->size(), picture);
    w->resize(w->width() * 3 / 2 + 75, w->height() * 3 / 2 + 75);
    QApplication::processEvents();
    const QSize grown = w->Picture1->size();
    ASSERT_GT(grown.width(), picture.width() * 13 / 10);
    const QPointF after = QRectF(mark->geometry()).center();
    EXPECT_NEAR(after.x() / grown.width(), before.x() / picture.width(), 0.01);
    EXPECT_NEAR(after.y() / grown.height(), before.y() / picture.height(), 0.01);
    // The grid is drawn for the new size: r = min of W/2 and H/2, each rounded (halves to even).
    EXPECT_EQ(w->Picture1->GridR(), std::min(static_cast<int>(std::nearbyint(grown.width() / 2.0)),
                                             static_cast<int>(std::nearbyint(grown.height() / 2.0))));
}

TEST_F(PositionWindow, AStarPickedByDoubleClickGoesIntoTheActiveLineOnly) {
    DialogRecorder dialogs;
    ChooseBody(0, -4);
    TypeInto(w->Text1[2], QString());  // line 3 becomes active when its time box gets the focus
    EXPECT_EQ(w->ActiveLine(), 2);
    EXPECT_EQ(w->Frame1[2]->palette().color(QPalette::WindowText), kActive);
    EXPECT_EQ(w->Frame1[0]->palette().color(QPalette::WindowText), kInactive);
    const int n = w->StarMarkCount - 1;  // the last star mark
    MapMarkLabel* mark = w->Label1[static_cast<size_t>(n)];
    ASSERT_TRUE(mark->isVisible());
    QTest::mouseDClick(mark, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const RecordedMessage& box = dialogs.messages[0];
    EXPECT_TRUE(box.title == QStringLiteral("Star Info: ") + mark->toolTip() && box.buttons == MsgButtons::YesNo &&
                box.text.startsWith("Magnitude: ") && box.text.endsWith("\n\nApply this star for Line No.3?"))
        << box.text.toStdString();
    EXPECT_EQ(Lines(), QStringList({QStringLiteral("Planet: Jupiter"), QString(), mark->toolTip(), QString()}));
    // A planet mark: No leaves the line alone, Yes puts in the item after the stars.
    {
        DialogRecorder no(MsgResult::No);
        QTest::mouseDClick(w->Label2[0], Qt::LeftButton);
        ASSERT_EQ(no.messages.size(), 1u);
        EXPECT_TRUE(no.messages[0].title.startsWith("Planet Info: ") && no.messages[0].text.contains(" AU\nAng_Diam: "));
        EXPECT_EQ(w->Combo1[2]->currentIndex(), n + 1);
    }
    QTest::mouseDClick(w->Label2[0], Qt::LeftButton);
    EXPECT_EQ(w->Combo1[2]->currentText(), QStringLiteral("Planet: ") + w->Label2[0]->toolTip().section(QLatin1Char('\n'), 0, 0));
}

TEST_F(PositionWindow, ARedrawKeepsEveryChosenBodyAndMarksOneOffTheMap) {
    DialogRecorder dialogs;
    ChooseBody(0, 1017);  // Mirfak
    ChooseBody(1, -4);    // Jupiter
    w->Update();
    const QString mirfak = QString::fromStdString(StarName(StarIndex(1017)));
    EXPECT_EQ(Lines(), QStringList({mirfak, QStringLiteral("Planet: Jupiter"), QString(), QString()}));
    // Twelve hours later both have set here: the lines keep them and say so.
    NavigationState.LocalDate += 0.5;
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    const QString off = QString::fromLatin1(kNotOnMap);
    EXPECT_EQ(Lines(), QStringList({mirfak + off, QStringLiteral("Planet: Jupiter") + off, QString(), QString()}));
    // Back on the map, they are its items again.
    NavigationState.LocalDate -= 0.5;
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(w->Combo1[1]->currentText(), QStringLiteral("Planet: Jupiter"));
    // Without planets the lists hold the stars only.
    QTest::mouseClick(w->Check1, Qt::LeftButton);
    EXPECT_EQ(w->BodyMarkCount, 0);
    EXPECT_EQ(w->Combo1[3]->count(), 1 + w->StarMarkCount);
    // A magnitude limit that is no number is refused: the map and the lines stay.
    const int stars = w->StarMarkCount;
    w->Text3->setText(QStringLiteral("abc"));
    QTest::mouseClick(w->Option1[2], Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Invalid data format!"));
    EXPECT_EQ(w->StarMarkCount, stars);
    // No star brighter than magnitude -2: the template stays hidden.
    w->Text3->setText(QStringLiteral("-2"));
    QTest::mouseClick(w->Option1[2], Qt::LeftButton);
    EXPECT_EQ(w->StarMarkCount, 0);
    EXPECT_FALSE(w->Label1[0]->isVisible());
    EXPECT_EQ(w->Combo1[3]->count(), 1);
}

TEST_F(PositionWindow, SightsSurviveClosingAndReopeningTheWindow) {
    w.reset();
    MDIFormMain main;
    ASSERT_TRUE(main.Load());
    main.show();
    QAction* button = main.ButtonByKey(QStringLiteral("Position"));
    button->trigger();
    win = qobject_cast<frmPosition*>(main.FindChild(QStringLiteral("frmPosition")));
    ASSERT_NE(win, nullptr);
    EnterSight(1, 0, "060237", "17307");  // the Sun's upper limb
    QTest::mouseClick(win->Check2[1], Qt::LeftButton);
    win->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    button->trigger();
    win = qobject_cast<frmPosition*>(main.FindChild(QStringLiteral("frmPosition")));
    ASSERT_NE(win, nullptr);
    EXPECT_EQ(win->Combo1[1]->currentText(), QStringLiteral("Planet: Sun"));
    EXPECT_EQ(win->Text1[1]->text(), QStringLiteral("06:02:37"));
    EXPECT_EQ(win->Text2[1]->text(), QStringLiteral("17-30.7"));
    EXPECT_FALSE(win->Check2[1]->isChecked());
    // A time typed in line 1, which has no body, is named, not dropped.
    DialogRecorder dialogs;
    TypeInto(win->Text1[0], QStringLiteral("1"));
    QTest::mouseClick(win->Command2, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Can not calculate position:\nLine No. 1: a time or an "
                                                       "altitude is typed but no body is chosen."));
}

TEST_F(PositionWindow, AnInterceptOverThirtyMinutesIsFlaggedInTheSummaryAndDetails) {
    DialogRecorder dialogs;
    EnterSight(1, 1017, "060237", "12440");  // Mirfak 50' high
    EnterSight(2, -4, "060237", "17307");
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    ASSERT_TRUE(dialogs.messages.empty());
    ASSERT_GT(std::fabs(LastFix.Intercept[1]), 30.0);  // from the DR, not from the last pass
    const QString warning = QStringLiteral("Warning: intercept over 30' in Line No. 2 (") +
                            FormatNumber(LastFix.Intercept[1], QStringLiteral("+00.0;-00.0")) +
                            QStringLiteral("'): check the sight and the DR position.");
    EXPECT_TRUE(w->Label4->text().endsWith(QStringLiteral("\u00B0\n") + warning)) << w->Label4->text().toStdString();
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    ASSERT_NE(Details(), nullptr);
    EXPECT_TRUE(Details()->Label2->text().endsWith(QStringLiteral("'\n") + warning));  // after the passes' shifts
}

TEST_F(PositionWindow, AWholeFixTypedInLinesTwoAndThreeItsSummaryDetailsPlotAndZoom) {
    DialogRecorder dialogs;
    EnterSight(1, 1017, "060237", "11540");
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    // A time of 25:70:00 can be typed but is no time: the line is named, nothing stored.
    EnterSight(2, -4, "257000", "17310");
    // A star or a planet is brought down by its centre: no limb to choose.
    EXPECT_FALSE(w->Check2[1]->isEnabled());
    EXPECT_FALSE(w->Check2[2]->isEnabled());
    EXPECT_TRUE(w->Check2[3]->isEnabled());
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Calculation error"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Can not calculate position:\nInsufficient number of lines."));
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(dialogs.messages[1].text.startsWith(QStringLiteral("Can not calculate position:\nLine No. 3:")))
        << dialogs.messages[1].text.toStdString();
    EXPECT_EQ(LastFix.FixTime, 0.0);
    EXPECT_EQ(w->Label4->text(), QStringLiteral("Last fix not available\nThe last calculation failed: ") +
                                     dialogs.messages[1].text.mid(28));

    TypeInto(w->Text1[2], QStringLiteral("060237"));
    EXPECT_EQ(w->Text1[2]->text(), QStringLiteral("06:02:37"));
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    const QStringList lines = w->Label4->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 5) << w->Label4->text().toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Last fix on Friday, September 8, 2023 at 23:02 local time."));
    ASSERT_TRUE(lines[1].startsWith(QStringLiteral("Position: ")));
    const QStringList pos = lines[1].mid(10).split(QLatin1Char(' '));
    ASSERT_EQ(pos.size(), 2);
    EXPECT_LT(testsupport::NmBetween(ParsePositionText(pos[0], true), ParsePositionText(pos[1], false), kTrueLat,
                                     kTrueLon),
              kTolFixNm)
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("C = ")));
    {
        FixResult atDr = LastFix;  // no run: no course either
        atDr.FromDR.Dist = 0.04;
        EXPECT_EQ(CourseDistanceText(atDr), QStringLiteral("Fix at the DR (00.0 nm)"));
    }
    EXPECT_EQ(lines[3], QStringLiteral("Ellipse of error:"));
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("a = ")) && lines[4].endsWith(QStringLiteral("\u00B0")));
    EXPECT_EQ(LastFix.Lines.Time[2], "06:02:37");

    QTest::mouseClick(w->Command4, Qt::LeftButton);
    frmDetails* d = Details();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(d->Label1->text().startsWith(QStringLiteral("Date: Friday, September 8, 2023   Local Time: 23:02   "
                                                           "Time zone: -7\nPosition: 07-23.4S 034-14.5E")))
        << d->Label1->text().toStdString();
    EXPECT_TRUE(d->Label2->text().startsWith(QStringLiteral("Last fix on Friday, September 8, 2023 at 23:02")));
    EXPECT_TRUE(d->Label2->text().contains(QStringLiteral("\nIterated in %1 passes, shifts: ").arg(LastFix.Passes)))
        << d->Label2->text().toStdString();
    // Without "Iterate" the one-pass fix: its lines are reduced from the DR.
    QTest::mouseClick(w->chkIterate, Qt::LeftButton);
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    EXPECT_EQ(LastFix.Passes, 1);
    EXPECT_FALSE(d->Label2->text().contains(QStringLiteral("Iterated")));
    EXPECT_EQ(d->Row(QStringLiteral("LON"))->text(1), QStringLiteral("034-14.5E"));
    QTest::mouseClick(w->chkIterate, Qt::LeftButton);
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    QTreeWidget* lv = d->ListView1;
    ASSERT_EQ(lv->columnCount(), 3);
    EXPECT_EQ(lv->headerItem()->text(1), QString::fromStdString(StarName(StarIndex(1017))));
    EXPECT_EQ(lv->headerItem()->text(2), QStringLiteral("Jupiter"));
    auto cell = [&](const char* row, int column) { return d->Row(QLatin1String(row))->text(column); };
    for (int c : {1, 2}) {  // columns 1 and 2 are lines 2 and 3
        const std::pair<const char*, const char*> same[] = {{"Time", "06:02:37"}, {"Date", "09/09/2023"},
                                                            {"i_s", "-01.5"},     {"Dip", "-03.9"},  // 1.766' sqrt 5
                                                            {"TP", "+00.0"}};
        for (const auto& [row, text] : same) EXPECT_EQ(cell(row, c), QLatin1String(text)) << row << " " << c;
        const size_t line = static_cast<size_t>(c);
        // The lines from the DR (at the fix instant: the DR itself), as the navigator works them.
        EXPECT_EQ(cell("LON", c), QStringLiteral("034-14.5E"));
        EXPECT_EQ(cell("Hc", c), FormatAngleDegMin(LastFix.Hc[line], 2, true, false));
        EXPECT_EQ(cell("dN", c), FormatNumber(std::round(LastFix.Intercept[line] * 10.0) / 10.0,
                                              QStringLiteral("+00.0;-00.0")));
        EXPECT_EQ(cell("Az", c), WithDegreeSigns(FormatAngleDegMin(LastFix.Az[line], 3, true, false)));
        EXPECT_TRUE(cell("LHA", c).endsWith(QLatin1Char('E')) || cell("LHA", c).endsWith(QLatin1Char('W')));
    }
    EXPECT_EQ(cell("OC", 1), QStringLiteral(" 11 54.0"));
    EXPECT_EQ(cell("OC", 2), QStringLiteral(" 17 31.0"));
    EXPECT_FALSE(cell("GHA ARIES", 1).isEmpty());
    EXPECT_TRUE(cell("GHA ARIES", 2).isEmpty());
    EXPECT_TRUE(cell("TAU", 2).isEmpty());
    EXPECT_EQ(cell("SemiD", 1), QStringLiteral("-"));  // a star has no limb
    EXPECT_EQ(cell("px", 1), QStringLiteral("+00.0"));

    // The plot: the fix is 13 nm from the DR position; it opens at 10 nm per cell,
    // where it shows, with the lines of position in red and the ellipse in green.
    EXPECT_EQ(d->lblScale->text(), QStringLiteral("10 nm."));
    EXPECT_EQ(d->ZoomIndex(), frmDetails::FittingZoomIndex(LastFix));
    const double reach = std::min(d->Picture1->width(), d->Picture1->height()) / 2.0;
    EXPECT_LT(std::hypot(d->Picture1->FixPoint().x() - d->Picture1->width() / 2.0,
                         d->Picture1->FixPoint().y() - d->Picture1->height() / 2.0), reach);
    // A ship stopped has no track: only the fix's circles are blue.
    const int underway = testsupport::CountPixels(d->Picture1, testsupport::Bluish);
    FixResult stoppedFix = d->Shown();
    stoppedFix.Working.Speed = 0.0f;
    PlotLines(d->Picture1, stoppedFix, d->Picture1->Scale());
    const int stopped = testsupport::CountPixels(d->Picture1, testsupport::Bluish);
    PlotLines(d->Picture1, d->Shown(), d->Picture1->Scale());
    EXPECT_GT(stopped, 10);
    EXPECT_LT(stopped, underway / 2);
    EXPECT_GT(testsupport::CountPixels(d->Picture1, testsupport::Reddish), 100);
    EXPECT_GT(testsupport::CountPixels(d->Picture1, testsupport::Greenish), 20);

    // Zoom limits: 1000 nm and 0.5 nm per cell, the button at a limit disabled.
    for (int i = 0; i < 5; ++i) QTest::mouseClick(d->cmdZoomIn, Qt::LeftButton);
    EXPECT_TRUE(d->lblScale->text() == "1000 nm." && d->Picture1->Scale() == 1000.0 && !d->cmdZoomIn->isEnabled());
    for (int i = 0; i < 8; ++i) QTest::mouseClick(d->cmdZoomOut, Qt::LeftButton);
    EXPECT_TRUE(d->lblScale->text() == "0.5 nm." && !d->cmdZoomOut->isEnabled() && d->cmdZoomIn->isEnabled());
    // A new report keeps the zoom and plots at the scale the label states.
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    EXPECT_EQ(d->Picture1->Scale(), 0.5);
    EXPECT_EQ(d->lblScale->text(), QStringLiteral("0.5 nm."));

    // Lines 2 and 3 both Jupiter at one instant do not cross: the calculation
    // is refused, the summary says so, and Details still shows the last good fix.
    ChooseBody(1, -4);
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_TRUE(w->Label4->text().startsWith(QStringLiteral("Last fix not available\nThe last calculation failed: "
                                                           "Division by zero")));
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    const QStringList summary = d->Label2->text().split(QLatin1Char('\n'));
    ASSERT_EQ(summary.size(), 4) << d->Label2->text().toStdString();
    EXPECT_EQ(summary[0], QStringLiteral("Last fix on Friday, September 8, 2023 at 23:02 local time."));
    EXPECT_FALSE(summary[2].contains(QStringLiteral("a = 00.00")));
    EXPECT_TRUE(summary[3].startsWith(QStringLiteral("Iterated in ")));
    EXPECT_EQ(lv->headerItem()->text(1), QString::fromStdString(StarName(StarIndex(1017))));
}

TEST_F(PositionWindow, TheHelpsWorkedFixIsWhatTheWindowsShowWithTheDefaults) {
    // help/VeltranoHelp.html, section 10: its working data and sights, "Iterate" ticked as at first.
    DialogRecorder dialogs;  // a refused fix is a message, not a box waiting for a click
    QFile file(QStringLiteral(VELTRANO_TEST_DATA_DIR "/../../help/VeltranoHelp.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString help = QString::fromUtf8(file.readAll());
    NavigationState = testsupport::DrState(DateFromParts(2026, 12, 6, 17, 50, 0), -2.0f, 45.0, -30.0, 300.0f, 12.0f);
    w->Update();
    SightLines l;
    l.Body = {7001, 1708, 8728, kNoBody};
    l.Time = {"19:10:00", "19:30:00", "19:50:00", ""};
    l.Altitude = {"50-37.7", "24-20.5", "15-28.1", ""};
    w->ShowSights(l);
    ASSERT_TRUE(w->chkIterate->isChecked());
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    frmDetails* d = Details();
    ASSERT_NE(d, nullptr);
    // "50 13.3" -> "50&deg;13.3&prime;", "+16.7" -> "16.7&prime; towards".
    auto deg = [](const QString& cell) {
        const QStringList p = cell.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        return p.value(0) + QStringLiteral("&deg;") + p.value(1) + QStringLiteral("&prime;");
    };
    for (int c = 1; c <= 3; ++c) {
        const QString dN = d->Row(QStringLiteral("dN"))->text(c);
        QString zn = d->Row(QStringLiteral("Az"))->text(c).trimmed();
        zn.replace(QStringLiteral("\u00B0"), QStringLiteral("&deg;")).replace(QStringLiteral("'"), QStringLiteral("&prime;"));
        const QString row = QStringLiteral("<td>%1</td><td>%2</td><td>%3</td><td>%4&prime; %5</td>")
                                .arg(deg(d->Row(QStringLiteral("Ho"))->text(c)), deg(d->Row(QStringLiteral("Hc"))->text(c)),
                                     zn, QString::number(std::fabs(dN.toDouble()), 'f', 1),
                                     dN.startsWith(QLatin1Char('-')) ? QStringLiteral("away") : QStringLiteral("towards"));
        EXPECT_TRUE(help.contains(row)) << row.toStdString();
        EXPECT_EQ(d->Row(QStringLiteral("Res"))->text(c), QStringLiteral("+00.0"));
    }
    // The fix, its course and distance, and the passes' shifts as the summaries show them.
    const QStringList summary = w->Label4->text().split(QLatin1Char('\n'));
    ASSERT_GE(summary.size(), 3);
    QString fix = summary[1].mid(10);  // "45-12.0N 030-21.0W"
    fix.replace(QRegularExpression(QStringLiteral("(\\d+)-(\\d+\\.\\d)([NSEW])")), QStringLiteral("\\1&deg;\\2&prime;\\3"));
    EXPECT_TRUE(help.contains(QStringLiteral("<b>") + fix + QStringLiteral("</b>"))) << fix.toStdString();
    const QRegularExpressionMatch cd =
        QRegularExpression(QStringLiteral("C = ([\\d.]+)\u00B0 - ([\\d.]+) nm")).match(summary[2]);
    ASSERT_TRUE(cd.hasMatch());
    EXPECT_TRUE(help.contains(QStringLiteral("C = %1&deg; and %2 miles").arg(cd.captured(1), cd.captured(2))));
    EXPECT_TRUE(help.contains(PassesText(LastFix).mid(1))) << PassesText(LastFix).toStdString();
}

// The position window and the details window driven as a user would: bodies
// chosen from the lists by keyboard, times and altitudes typed into the masked
// boxes, the buttons clicked, a star and a planet taken from the map by a
// double-click; what the labels, the table and the plot then show.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <cmath>
#include <memory>
#include <vector>

#include "map/frmDetails.h"
#include "fix/frmPosition.h"
#include "app/mConvertion.h"
#include "app/mDialogs.h"
#include "app/mPublicVars.h"
#include "bodies/mStar.h"
#include "core/mFiles.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "map/mDetailsReport.h"
#include "map/mDrawmap.h"
#include "support/csv.h"

namespace {

// The fix of a case of the simulated sights: within 0.5 nm (see test_fix_simulated),
// plus the 0.05' rounding of the summary's position text.
constexpr double kTolFixNm = 0.55;

struct Message {
    QString title, text;
    MsgIcon icon;
    MsgButtons buttons;
};

class Dialogs {
public:
    explicit Dialogs(MsgResult answer = MsgResult::Yes) {
        old_ = SetMessageBoxHandler([this, answer](QWidget*, const QString& title, const QString& text, MsgIcon icon,
                                                   MsgButtons buttons) {
            messages.push_back({title, text, icon, buttons});
            return buttons == MsgButtons::YesNo ? answer : MsgResult::Ok;
        });
    }
    ~Dialogs() { SetMessageBoxHandler(old_); }
    std::vector<Message> messages;

private:
    MessageBoxHandler old_;
};

// Case 0 of tests/data/fix_sights.csv: 2023-09-09 06:02:37 UT, zone -7, sights of
// Mirfak (HR 1017) and Jupiter at that instant, the ship stopped.
struct Sight {
    int code;
    const char* time;
    const char* altitude;
};
constexpr double kTrueLat = -7.503654851, kTrueLon = 34.431741710;

NavigationStateRecord CaseState() {
    NavigationStateRecord s = DefaultNavigationState();
    s.LocalDate = DateFromParts(2023, 9, 9, 6, 2, 37) - 7.0 / 24.0;
    s.TZ = -7.0f;
    s.Lat = -7.389798678;
    s.Lon = 34.242351807;
    s.Course = 11.0f;
    s.Speed = 6.0f;
    s.hEye = 5.0f;
    s.i_s = -1.5f;
    s.StateLoaded = true;
    return s;
}

class PositionWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
        ASSERT_TRUE(LoadPlanetData().ok);
        ASSERT_TRUE(LoadStarFile().ok);
    }
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        NavigationState = CaseState();
        LastFix = FixResult{};
        LastSightLines = SightLines{};
        w = std::make_unique<frmPosition>();
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
    void TearDown() override {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("frmDetails")) delete top;
        w.reset();
    }

    // Chooses the body of a line with the keyboard: focus the list, arrow down
    // until the item with this value is selected.
    void ChooseBody(int line, int code) {
        QComboBox* c = w->Combo1[static_cast<size_t>(line)];
        c->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QTest::keyClick(c, Qt::Key_Home);
        for (int n = 0; n < c->count() && c->currentData().toInt() != code; ++n) QTest::keyClick(c, Qt::Key_Down);
        ASSERT_EQ(c->currentData().toInt(), code) << "body " << code << " is not in the list of line " << line + 1;
    }
    // Types digits into a masked box from its first character.
    static void TypeInto(QLineEdit* box, const QString& digits) {
        box->setFocus(Qt::MouseFocusReason);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(2, box->height() / 2));
        box->setSelection(0, 1);
        QTest::keyClicks(box, digits);
    }
    void EnterSight(int line, int code, const QString& timeDigits, const QString& altDigits) {
        ChooseBody(line, code);
        TypeInto(w->Text1[static_cast<size_t>(line)], timeDigits);
        TypeInto(w->Text2[static_cast<size_t>(line)], altDigits);
    }
    frmDetails* Details() const {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<frmDetails*>(top)) return d;
        return nullptr;
    }
    std::unique_ptr<frmPosition> w;
};

double NmBetween(double lat1, double lon1, double lat2, double lon2) {
    const double dN = (lat1 - lat2) * 60.0, dE = (lon1 - lon2) * 60.0 * CosD(lat2);
    return std::sqrt(dN * dN + dE * dE);
}

}  // namespace

TEST_F(PositionWindow, LoadState) {
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Calculate Position"));
    EXPECT_EQ(w->Frame1[2]->title(), QStringLiteral("Line No.3"));
    EXPECT_EQ(w->ActiveLine(), 0);
    EXPECT_EQ(w->Frame1[0]->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(w->Frame1[1]->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(w->Text1[0]->text(), QStringLiteral("00:00:00"));
    EXPECT_EQ(w->Text2[0]->text(), QStringLiteral("00-00.0"));
    EXPECT_TRUE(w->Check2[3]->isChecked());
    EXPECT_TRUE(w->Option1[0]->isChecked());
    EXPECT_TRUE(w->Check1->isChecked());
    EXPECT_EQ(w->Label4->text(), QStringLiteral("Last fix not available"));
    EXPECT_EQ(LastFix.Message, "No data");
    EXPECT_TRUE(w->lblGenInfo->text().startsWith(QStringLiteral("Date: 09/08/23 23:02, TimeZone = -7\nPosition: "
                                                                "07-23.4S 034-14.5E, COG = 11, SOG = 6 kt\n")))
        << w->lblGenInfo->text().toStdString();
    // The map: marks and list items agree, the empty item first.
    ASSERT_GT(w->StarMarkCount, 0);
    ASSERT_GT(w->BodyMarkCount, 0);
    QComboBox* c = w->Combo1[0];
    EXPECT_EQ(c->count(), 1 + w->StarMarkCount + w->BodyMarkCount);
    EXPECT_EQ(c->itemData(0).toInt(), kNoBody);
    EXPECT_EQ(c->itemText(1), w->Label1[0]->toolTip());
    EXPECT_EQ(c->itemText(1 + w->StarMarkCount), QStringLiteral("Planet: ") + w->Label2[0]->toolTip());
    EXPECT_TRUE(w->Label1[0]->isVisible());
    EXPECT_FALSE(w->Picture1->ShowsCalculating());
    EXPECT_GT(w->Picture1->GridR(), 0);
}

TEST_F(PositionWindow, AWholeFixTypedIn) {
    Dialogs dialogs;
    EnterSight(0, 1017, QStringLiteral("060237"), QStringLiteral("11540"));  // Mirfak 11-54.0
    EnterSight(1, -4, QStringLiteral("060237"), QStringLiteral("17307"));    // Jupiter 17-30.7
    EXPECT_EQ(w->Text1[0]->text(), QStringLiteral("06:02:37"));
    EXPECT_EQ(w->Text2[1]->text(), QStringLiteral("17-30.7"));
    EXPECT_EQ(w->ActiveLine(), 1);
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    EXPECT_TRUE(dialogs.messages.empty());
    const QStringList lines = w->Label4->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 5) << w->Label4->text().toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Last fix on Friday, September 8, 2023 at 23:02 local time."));
    ASSERT_TRUE(lines[1].startsWith(QStringLiteral("Position: ")));
    const QStringList pos = lines[1].mid(10).split(QLatin1Char(' '));
    ASSERT_EQ(pos.size(), 2);
    const double lat = ParsePositionText(pos[0], true), lon = ParsePositionText(pos[1], false);
    EXPECT_LT(NmBetween(lat, lon, kTrueLat, kTrueLon), kTolFixNm) << lines[1].toStdString();
    // C and distance from the DR position (7.4 nm off at 230 degrees or so).
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("C = ")));
    EXPECT_EQ(lines[3], QStringLiteral("Ellipse of error:"));
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("a = ")));
    EXPECT_TRUE(lines[4].endsWith(QStringLiteral(" deg")));
    EXPECT_EQ(LastSightLines.Body[0], 1017);
    EXPECT_EQ(LastSightLines.Time[1], "06:02:37");
    EXPECT_TRUE(LastFix.Message.empty());
}

TEST_F(PositionWindow, RefusedCalculationsLeaveTheSummary) {
    Dialogs dialogs;
    EnterSight(1, 1017, QStringLiteral("060237"), QStringLiteral("11540"));
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Calculation error"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Can not calculate position:\nUnsufficient lines number."));
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(w->Label4->text(), QStringLiteral("Last fix not available"));
    // A time of 25:70:00 can be typed but is no time: the line is named, nothing stored.
    EnterSight(2, -4, QStringLiteral("257000"), QStringLiteral("17307"));
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(dialogs.messages[1].text.startsWith(QStringLiteral("Can not calculate position:\nLine No. 3:")))
        << dialogs.messages[1].text.toStdString();
    EXPECT_EQ(LastFix.Message, "No data");
    EXPECT_EQ(LastFix.FixTime, 0.0);
    EXPECT_EQ(w->Label4->text(), QStringLiteral("Last fix not available"));
}

TEST_F(PositionWindow, AStarPickedByDoubleClickGoesIntoTheActiveLineOnly) {
    Dialogs dialogs;
    ChooseBody(0, -4);
    // Line 3 becomes active when its time box gets the focus.
    TypeInto(w->Text1[2], QString());
    EXPECT_EQ(w->ActiveLine(), 2);
    EXPECT_EQ(w->Frame1[2]->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(w->Frame1[0]->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    const int n = w->StarMarkCount - 1;  // the last star mark
    MapMarkLabel* mark = w->Label1[static_cast<size_t>(n)];
    ASSERT_TRUE(mark->isVisible());
    QTest::mouseDClick(mark, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Star Info: ") + mark->toolTip());
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Information);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("Magnitude: ")));
    EXPECT_TRUE(dialogs.messages[0].text.endsWith(QStringLiteral("\n\nApply this star for Line No.3?")));
    EXPECT_EQ(w->Combo1[2]->currentIndex(), n + 1);
    EXPECT_EQ(w->Combo1[2]->currentText(), mark->toolTip());
    EXPECT_EQ(w->Combo1[0]->currentData().toInt(), -4);
    EXPECT_EQ(w->Combo1[1]->currentIndex(), 0);
    EXPECT_EQ(w->Combo1[3]->currentIndex(), 0);

    // A planet mark: the item after the stars; No leaves the line alone.
    {
        Dialogs no(MsgResult::No);
        QTest::mouseDClick(w->Label2[0], Qt::LeftButton);
        ASSERT_EQ(no.messages.size(), 1u);
        EXPECT_TRUE(no.messages[0].title.startsWith(QStringLiteral("Planet Info: ")));
        EXPECT_TRUE(no.messages[0].text.contains(QStringLiteral(" AU\nAng_Diam: ")));
        EXPECT_EQ(w->Combo1[2]->currentIndex(), n + 1);
    }
    QTest::mouseDClick(w->Label2[0], Qt::LeftButton);
    EXPECT_EQ(w->Combo1[2]->currentIndex(), 1 + w->StarMarkCount);
    EXPECT_EQ(w->Combo1[2]->currentText(), QStringLiteral("Planet: ") + w->Label2[0]->toolTip());
}

TEST_F(PositionWindow, ARedrawKeepsABodyStillUpAndDropsOneThatSet) {
    ChooseBody(0, 1017);  // Mirfak
    ChooseBody(1, -4);    // Jupiter
    // Twelve hours later both have set at this place: the lines fall back to the empty item.
    w->Update();
    EXPECT_EQ(w->Combo1[0]->currentData().toInt(), 1017);
    EXPECT_EQ(w->Combo1[1]->currentData().toInt(), -4);
    NavigationState.LocalDate += 0.5;
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(w->Combo1[0]->currentIndex(), 0);
    EXPECT_EQ(w->Combo1[1]->currentIndex(), 0);
    // Without planets the lists hold the stars only.
    QTest::mouseClick(w->Check1, Qt::LeftButton);
    EXPECT_FALSE(w->Check1->isChecked());
    EXPECT_EQ(w->BodyMarkCount, 0);
    EXPECT_EQ(w->Combo1[3]->count(), 1 + w->StarMarkCount);
    // No star brighter than magnitude -2: the template stays hidden.
    w->Text3->setText(QStringLiteral("-2"));
    QTest::mouseClick(w->Option1[2], Qt::LeftButton);
    EXPECT_EQ(w->StarMarkCount, 0);
    EXPECT_FALSE(w->Label1[0]->isVisible());
    EXPECT_EQ(w->Combo1[3]->count(), 1);
}

TEST_F(PositionWindow, DetailsOfLinesTwoAndThree) {
    Dialogs dialogs;
    EnterSight(1, 1017, QStringLiteral("060237"), QStringLiteral("11540"));
    EnterSight(2, -4, QStringLiteral("060237"), QStringLiteral("17307"));
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    ASSERT_TRUE(dialogs.messages.empty());
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    frmDetails* d = Details();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Calculation details"));
    EXPECT_TRUE(d->Label1->text().startsWith(QStringLiteral("Date: Friday, September 8, 2023   Local Time: 23:02   "
                                                           "Time zone: -7\nPosition: 07-23.4S 034-14.5E")))
        << d->Label1->text().toStdString();
    EXPECT_TRUE(d->Label2->text().startsWith(QStringLiteral("Last fix on Friday, September 8, 2023 at 23:02")));
    QTreeWidget* lv = d->ListView1;
    ASSERT_EQ(lv->columnCount(), 3);
    EXPECT_EQ(lv->headerItem()->text(0), QStringLiteral("Data:"));
    EXPECT_EQ(lv->headerItem()->text(1), QString::fromStdString(StarName(StarIndex(1017))));
    EXPECT_EQ(lv->headerItem()->text(2), QStringLiteral("Jupiter"));
    EXPECT_EQ(lv->topLevelItemCount(), 23);
    EXPECT_EQ(d->Row(QStringLiteral("px"))->text(0), QStringLiteral("Parallax"));
    for (int c : {1, 2}) {
        EXPECT_EQ(d->Row(QStringLiteral("Time"))->text(c), QStringLiteral("06:02:37"));
        EXPECT_EQ(d->Row(QStringLiteral("Date"))->text(c), QStringLiteral("09/09/23"));
        EXPECT_EQ(d->Row(QStringLiteral("i_s"))->text(c), QStringLiteral("-1.5"));
        EXPECT_EQ(d->Row(QStringLiteral("Dip"))->text(c), QStringLiteral("-03.9"));  // 1.766' sqrt 5
        EXPECT_EQ(d->Row(QStringLiteral("TP"))->text(c), QStringLiteral("00.0"));
        EXPECT_EQ(d->Row(QStringLiteral("LON"))->text(c), QStringLiteral("034-14.5E"));
        const size_t line = static_cast<size_t>(c);  // columns 1, 2 are lines 2, 3
        EXPECT_EQ(d->Row(QStringLiteral("Hc"))->text(c), FormatAngleDegMin(LastFix.Hc[line], 2, true, false));
        EXPECT_EQ(d->Row(QStringLiteral("dN"))->text(c), FormatNumber(LastFix.Intercept[line], QStringLiteral("00.0")));
        EXPECT_EQ(d->Row(QStringLiteral("Az"))->text(c), FormatAngleDegMin(LastFix.Az[line], 3, true, false));
        EXPECT_TRUE(d->Row(QStringLiteral("LHA"))->text(c).endsWith(QLatin1Char('E')) ||
                    d->Row(QStringLiteral("LHA"))->text(c).endsWith(QLatin1Char('W')));
    }
    EXPECT_EQ(d->Row(QStringLiteral("OC"))->text(1), QStringLiteral(" 11 54.0"));
    EXPECT_EQ(d->Row(QStringLiteral("OC"))->text(2), QStringLiteral(" 17 30.7"));
    EXPECT_FALSE(d->Row(QStringLiteral("GHA ARIES"))->text(1).isEmpty());
    EXPECT_TRUE(d->Row(QStringLiteral("GHA ARIES"))->text(2).isEmpty());
    EXPECT_TRUE(d->Row(QStringLiteral("TAU"))->text(2).isEmpty());
    EXPECT_EQ(d->Row(QStringLiteral("SemiD"))->text(1), QStringLiteral("00.0"));
    EXPECT_EQ(d->Row(QStringLiteral("px"))->text(1), QStringLiteral("+00.0"));

    // The plot: the fix is 7 nm from the DR position, off a plot of 1 nm per cell;
    // at 5 nm per cell the lines of position show in red, the ellipse in green.
    QTest::mouseClick(d->cmdZoomIn, Qt::LeftButton);
    QTest::mouseClick(d->cmdZoomIn, Qt::LeftButton);
    EXPECT_EQ(d->lblScale->text(), QStringLiteral("5 nm."));
    const QImage img = d->Picture1->grab().toImage();
    int red = 0, green = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            // Antialiased thin lines blend with the paper: judge by the hue.
            if (c.red() > c.green() + 80 && c.red() > c.blue() + 80) ++red;
            if (c.green() > c.red() + 40 && c.green() > c.blue() + 40) ++green;
        }
    EXPECT_GT(red, 100);
    EXPECT_GT(green, 20);
}

TEST_F(PositionWindow, ZoomLimits) {
    Dialogs dialogs;
    EnterSight(0, 1017, QStringLiteral("060237"), QStringLiteral("11540"));
    EnterSight(1, -4, QStringLiteral("060237"), QStringLiteral("17307"));
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    frmDetails* d = Details();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->lblScale->text(), QStringLiteral("1 nm."));
    for (int i = 0; i < 7; ++i) QTest::mouseClick(d->cmdZoomIn, Qt::LeftButton);
    EXPECT_EQ(d->lblScale->text(), QStringLiteral("1000 nm."));
    EXPECT_FALSE(d->cmdZoomIn->isEnabled());
    EXPECT_TRUE(d->cmdZoomOut->isEnabled());
    EXPECT_EQ(d->Picture1->Scale(), 1000.0);
    for (int i = 0; i < 8; ++i) QTest::mouseClick(d->cmdZoomOut, Qt::LeftButton);
    EXPECT_EQ(d->lblScale->text(), QStringLiteral("0.5 nm."));
    EXPECT_FALSE(d->cmdZoomOut->isEnabled());
    EXPECT_TRUE(d->cmdZoomIn->isEnabled());
    EXPECT_EQ(d->ZoomIndex(), 0);
    // A new report plots at 1 nm per cell and keeps the zoom buttons as they were.
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    EXPECT_EQ(d->Picture1->Scale(), 1.0);
    EXPECT_EQ(d->lblScale->text(), QStringLiteral("0.5 nm."));
}

TEST_F(PositionWindow, NoFixNoDetailsWindow) {
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    frmDetails* d = Details();
    // The report only sets the labels and does not show the window.
    if (d) {
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(d->Label1->text(), QStringLiteral("Last fix not available"));
        EXPECT_EQ(d->Label2->text(), QStringLiteral("Last fix not available"));
    }
    EXPECT_EQ(DetailsHeaderText(FixResult{}), QStringLiteral("Last fix not available"));
}

TEST_F(PositionWindow, ResizeScalesTheMapWithItsMarksAndRedrawsTheGrid) {
    w->Placed();  // what the main window does once the window is in its frame
    MapMarkLabel* mark = w->Label1[0];
    ASSERT_TRUE(mark->isVisible());
    const QSize picture = w->Picture1->size();
    const QPointF before = QRectF(mark->geometry()).center();
    // Smaller than at load: nothing moves.
    w->resize(w->width() - 50, w->height() - 50);
    QApplication::processEvents();
    EXPECT_EQ(w->Picture1->size(), picture);
    // Half as large again in both directions.
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

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsDir;
    qputenv("XDG_CONFIG_HOME", settingsDir.path().toUtf8());
    QApplication app(argc, argv);
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

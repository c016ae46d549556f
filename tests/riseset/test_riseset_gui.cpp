// The rise and set window, offscreen: polar day and night, rigorous clicks, a day
// without moonset, twilight with one crossing, Apply in the general window, resize.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <memory>
#include <string>

#include "shell/frmGeneral.h"
#include "support/gui_support.h"
#include "support/nav_fixture.h"
#include "core/mWorkingData.h"
#include "core/mStar.h"
#include "core/mFiles.h"
#include "core/mPlanet.h"
#include "core/mTime.h"
#include "riseset/frmRiseSet.h"
#include "riseset/mRiseSet.h"

namespace {

void SetState(int y, int m, int d, double lat, double lon, float tz) {
    NavigationState = DefaultNavigationState();
    NavigationState.LocalDate = DateFromParts(y, m, d, 12, 0);
    NavigationState.Lat = lat, NavigationState.Lon = lon, NavigationState.TZ = tz;
    NavigationState.StateLoaded = true;
}

DateValue DayOfState() { return DateWholeDays(NavigationState.LocalDate) - NavigationState.TZ / 24.0; }

QString Zone(DateValue ut) { return QString::fromStdString(TimeOfDayText(ut + NavigationState.TZ / 24.0)); }

std::unique_ptr<frmRiseSet> Open() {
    auto w = std::make_unique<frmRiseSet>();
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    return w;
}

// Records the text a label shows, and whether it is enabled, at each paint.
class PaintSpy : public QObject {
public:
    std::vector<std::pair<QString, bool>> shots;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (auto* l = qobject_cast<QLabel*>(o); l && e->type() == QEvent::Paint) shots.emplace_back(l->text(), l->isEnabled());
        return false;
    }
};

const QRegularExpression kTime(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"));

}  // namespace

TEST(RiseSetWindow, LoadShowsNineApproximateRowsAndResizeScales) {
    testsupport::LoadDataFiles();
    LocaleScope point(PointLocale());
    SetState(2024, 11, 15, 51.5, -0.1, 0.0f);
    auto w = Open();
    EXPECT_EQ(w->lblRS_Def[5]->text(),
              QStringLiteral("Date: 11/15/2024 12:00, TimeZone = 0\nPosition: 51-30.0N 000-06.0W\n"
                             "Temp = 10 C, Pressure = 1010 mB, H = 15 m"));
    const char* names[9] = {"Sun", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Moon"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(w->lblRS_Name[i]->text(), QLatin1String(names[i]) + QStringLiteral(" (Approximate)"));
        EXPECT_TRUE(kTime.match(w->lblRS_UTransitT[i]->text()).hasMatch()) << i;
        EXPECT_TRUE(kTime.match(w->lblRS_LTransitT[i]->text()).hasMatch()) << i;
    }
    // The Sun: zone times of the approximate method; transit altitudes signed, degrees to
    // width 2: declination -18.6, so about 20 deg at noon with dip and refraction, and
    // 90 - 51.5 + 18.5 = 57 deg down at midnight.
    const RiseSetResult r = RiseSetTimes(DayOfState(), 51.5, -0.1, 0, true, HorizonOf(NavigationState));
    EXPECT_EQ(w->lblRS_Rise[0]->text(), Zone(r.Rise));
    EXPECT_EQ(w->lblRS_Set[0]->text(), Zone(r.Set));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^ (19 5\\d|20 0\\d)\\.\\d$")).match(w->lblRS_UTransitH[0]->text()).hasMatch())
        << w->lblRS_UTransitH[0]->text().toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^-5[67] ")).match(w->lblRS_LTransitH[0]->text()).hasMatch())
        << w->lblRS_LTransitH[0]->text().toStdString();
    EXPECT_EQ(w->fraTwilight->title(), QStringLiteral("Twilight (Approximate)"));
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(kTime.match(w->lblRS_TwiLight[i]->text()).hasMatch()) << i;
    // Resized, the table scales (the scaler's own rules are the shell's tests).
    w->Placed();
    const QRect before = w->lblRS_Set[4]->geometry();
    w->resize(w->width() * 3 / 2, w->height() * 3 / 2);
    QApplication::processEvents();
    const QRect bigger = w->lblRS_Set[4]->geometry();
    EXPECT_NEAR(bigger.left(), before.left() * 1.5, 2.0);
    EXPECT_NEAR(bigger.width(), before.width() * 1.5, 2.0);
    EXPECT_NEAR(bigger.top(), before.top() * 1.5, 2.0);
}

TEST(RiseSetWindow, PolarDayAndPolarNightInWords) {
    testsupport::LoadDataFiles();
    // 80 N: midsummer twilight all night; in midwinter the Sun is 13.4 deg down at noon,
    // not even nautical twilight. Both methods say the same.
    struct C { int month; const char *set, *twilight[4]; };
    for (const C& c : {C{6, "Above", {"All", "Night", "All", "Night"}}, C{12, "Below", {"No", "Twilight", "No", "Twilight"}}}) {
        SetState(2024, c.month, 21, 80.0, 15.0, 1.0f);
        auto w = Open();
        for (int rigorous = 0; rigorous < 2; ++rigorous) {
            SCOPED_TRACE(rigorous ? "rigorous" : "approximate");
            EXPECT_EQ(w->lblRS_Rise[0]->text(), QStringLiteral("Always"));
            EXPECT_EQ(w->lblRS_Set[0]->text(), QLatin1String(c.set));
            for (int i = 0; i < 4; ++i) EXPECT_EQ(w->lblRS_TwiLight[i]->text(), QLatin1String(c.twilight[i])) << i;
            QTest::mouseClick(w->fraTwilight, Qt::LeftButton, {}, QPoint(20, 20));
            QTest::mouseClick(w->lblRS_Name[0], Qt::LeftButton);
        }
        EXPECT_EQ(w->fraTwilight->title(), QStringLiteral("Twilight (Rigorous)"));
        EXPECT_EQ(w->lblRS_Name[0]->text(), QStringLiteral("Sun (Rigorous)"));
    }
}

TEST(RiseSetWindow, ClickOnARowRecomputesItRigorouslyOnce) {
    testsupport::LoadDataFiles();
    SetState(2024, 11, 15, 51.5, -0.1, 0.0f);
    auto w = Open();
    const QString approxRise = w->lblRS_Rise[0]->text(), moonBefore = w->lblRS_Rise[8]->text();
    EXPECT_EQ(w->lblRS_Name[0]->cursor().shape(), Qt::PointingHandCursor);
    PaintSpy spy;
    w->lblRS_Name[0]->installEventFilter(&spy);
    QTest::mouseClick(w->lblRS_Name[0], Qt::LeftButton);
    // While it ran the label showed "Calculating..." and was disabled.
    ASSERT_FALSE(spy.shots.empty());
    EXPECT_EQ(spy.shots.front(), std::make_pair(QStringLiteral("Calculating..."), false));
    EXPECT_EQ(w->lblRS_Name[0]->text(), QStringLiteral("Sun (Rigorous)"));
    EXPECT_TRUE(w->lblRS_Name[0]->isEnabled());
    EXPECT_EQ(w->lblRS_Name[0]->cursor().shape(), Qt::ArrowCursor);  // no longer clickable
    const RiseSetResult r = RiseSetTimes(DayOfState(), 51.5, -0.1, 0, false, HorizonOf(NavigationState));
    EXPECT_EQ(w->lblRS_Rise[0]->text(), Zone(r.Rise));
    EXPECT_EQ(w->lblRS_Set[0]->text(), Zone(r.Set));
    EXPECT_NE(w->lblRS_Rise[0]->text(), approxRise);  // the methods differ by seconds at least
    // The other rows stay approximate; a second click on a rigorous row does nothing.
    EXPECT_EQ(w->lblRS_Name[8]->text(), QStringLiteral("Moon (Approximate)"));
    EXPECT_EQ(w->lblRS_Rise[8]->text(), moonBefore);
    spy.shots.clear();
    QTest::mouseClick(w->lblRS_Name[0], Qt::LeftButton);
    for (const auto& s : spy.shots) EXPECT_NE(s.first, QStringLiteral("Calculating..."));
    EXPECT_EQ(w->lblRS_Name[0]->text(), QStringLiteral("Sun (Rigorous)"));
}

TEST(RiseSetWindow, DayWithoutMoonsetAndTwilightWithOneCrossingShowWords) {
    testsupport::LoadDataFiles();
    // Cape Town, 5 May 2006, zone +2: moonrise 14:14 local, the set after midnight.
    SetState(2006, 5, 5, -33.9, 18.4, 2.0f);
    auto w = Open();
    QTest::mouseClick(w->lblRS_Name[8], Qt::LeftButton);
    EXPECT_EQ(w->lblRS_Name[8]->text(), QStringLiteral("Moon (Rigorous)"));
    EXPECT_EQ(w->lblRS_Set[8]->text(), QStringLiteral("No Set"));
    EXPECT_TRUE(w->lblRS_Rise[8]->text().startsWith(QStringLiteral("14:1"))) << w->lblRS_Rise[8]->text().toStdString();
    // 58 N in spring: the first night that nautical twilight does not end comes after a
    // day on which it ends but does not start. The missing one is a word, never 00:00:00.
    DateValue found = 0.0;
    RiseSetResult n;
    for (int d = 1; d <= 60 && found == 0.0; ++d) {
        n = TwilightTimes(DateFromParts(2024, 4, 20) + d, 58.0, 0.0, false, false, HorizonOf(NavigationState));
        if (!n.NoCrossing() && (n.Rise == 0.0 || n.Set == 0.0)) found = DateFromParts(2024, 4, 20) + d;
    }
    ASSERT_NE(found, 0.0);
    const CalendarDate c = DateToParts(found);
    SetState(c.year, c.month, c.day, 58.0, 0.0, 0.0f);
    w = Open();
    QTest::mouseClick(w->fraTwilight, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(w->fraTwilight->title(), QStringLiteral("Twilight (Rigorous)"));
    EXPECT_EQ(w->lblRS_TwiLight[0]->text(), n.Rise == 0.0 ? QStringLiteral("No Start") : Zone(n.Rise));
    EXPECT_EQ(w->lblRS_TwiLight[1]->text(), n.Set == 0.0 ? QStringLiteral("No End") : Zone(n.Set));
}

TEST(RiseSetWindow, ApplyInTheGeneralWindowMakesEveryRowApproximateAgain) {
    testsupport::LoadDataFiles();
    LocaleScope point(PointLocale());
    SetState(2024, 11, 15, 51.5, -0.1, 0.0f);
    auto w = Open();
    QTest::mouseClick(w->lblRS_Name[0], Qt::LeftButton);
    QTest::mouseClick(w->lblRS_Name[8], Qt::LeftButton);
    QTest::mouseClick(w->fraTwilight, Qt::LeftButton, {}, QPoint(20, 20));
    ASSERT_EQ(w->lblRS_Name[8]->text(), QStringLiteral("Moon (Rigorous)"));
    ASSERT_EQ(w->fraTwilight->title(), QStringLiteral("Twilight (Rigorous)"));
    auto g = std::make_unique<frmGeneral>();
    // As the main window wires them: new working data, the window recomputes.
    QObject::connect(g.get(), &frmGeneral::workingDataChanged, w.get(), &frmRiseSet::Update);
    g->show();
    // A new latitude, 45-30.0N, typed over the first two digits.
    g->Text1[1]->setFocus();
    g->Text1[1]->setSelection(0, 1);
    QTest::keyClicks(g->Text1[1], QStringLiteral("45"));
    QTest::mouseClick(g->Command1, Qt::LeftButton);
    EXPECT_NEAR(NavigationState.Lat, 45.5, 1e-9);
    for (int i = 0; i < 9; ++i) EXPECT_TRUE(w->lblRS_Name[i]->text().endsWith(QStringLiteral("(Approximate)"))) << i;
    EXPECT_EQ(w->fraTwilight->title(), QStringLiteral("Twilight (Approximate)"));
    EXPECT_TRUE(w->lblRS_Def[5]->text().contains(QStringLiteral("Position: 45-30.0N")));
    EXPECT_EQ(w->lblRS_Rise[0]->text(), Zone(RiseSetTimes(DayOfState(), 45.5, -0.1, 0, true, HorizonOf(NavigationState)).Rise));
}

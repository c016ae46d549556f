// The rise and set window, offscreen, as a user reads it: the nine rows and their zone
// times, polar day and night in words, a click that makes a row rigorous, a day without
// moonset, and Apply in the general window that makes every row approximate again.

#include <QGroupBox>
#include <memory>

#include "riseset/frmRiseSet.h"
#include "riseset/mRiseSet.h"
#include "shell/frmGeneral.h"
#include "support/gui_support.h"
#include "support/nav_fixture.h"

namespace {

void SetState(int y, int m, int d, double lat, double lon, float tz) {
    NavigationState = testsupport::DrState(DateFromParts(y, m, d, 12, 0), tz, lat, lon, 0.0f, DefaultNavigationState().Speed);
}

DateValue DayOfState() { return DateWholeDays(NavigationState.LocalDate) - NavigationState.TZ / 24.0; }

QString Zone(DateValue ut) { return QString::fromStdString(TimeOfDayText(ut + NavigationState.TZ / 24.0)); }

std::unique_ptr<frmRiseSet> Open() {
    auto w = std::make_unique<frmRiseSet>();
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    return w;
}

bool Matches(const char* pattern, const QString& text) { return QRegularExpression(QLatin1String(pattern)).match(text).hasMatch(); }

}  // namespace

TEST(RiseSetWindow, ShowsNineApproximateRowsAndPolarDayAndNightInWords) {
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
        EXPECT_TRUE(Matches("^\\d\\d:\\d\\d:\\d\\d$", w->lblRS_UTransitT[i]->text())) << i;
    }
    // The Sun in zone time; declination -18.6: about 20 deg up at noon with dip and
    // refraction, 90 - 51.5 + 18.5 = 57 deg down at midnight.
    const RiseSetResult r = RiseSetTimes(DayOfState(), 51.5, -0.1, 0, true, HorizonOf(NavigationState));
    EXPECT_EQ(w->lblRS_Rise[0]->text() + '|' + w->lblRS_Set[0]->text(), Zone(r.Rise) + '|' + Zone(r.Set));
    EXPECT_TRUE(Matches("^ (19 5\\d|20 0\\d)\\.\\d$", w->lblRS_UTransitH[0]->text())) << w->lblRS_UTransitH[0]->text().toStdString();
    EXPECT_TRUE(Matches("^-5[67] ", w->lblRS_LTransitH[0]->text())) << w->lblRS_LTransitH[0]->text().toStdString();
    EXPECT_EQ(w->fraTwilight->title(), QStringLiteral("Twilight (Approximate)"));
    // 80 N: midsummer twilight all night; in midwinter the Sun is 13.4 deg down at noon.
    // Both methods say the same.
    struct C { int month; const char *set, *twilight[4]; };
    for (const C& c : {C{6, "Above", {"All", "Night", "All", "Night"}}, C{12, "Below", {"No", "Twilight", "No", "Twilight"}}}) {
        SetState(2024, c.month, 21, 80.0, 15.0, 1.0f);
        w = Open();
        for (int rigorous = 0; rigorous < 2; ++rigorous) {
            EXPECT_EQ(w->lblRS_Rise[0]->text() + '|' + w->lblRS_Set[0]->text(), QStringLiteral("Always|") + QLatin1String(c.set))
                << rigorous;
            for (int i = 0; i < 4; ++i) EXPECT_EQ(w->lblRS_TwiLight[i]->text(), QLatin1String(c.twilight[i])) << i;
            QTest::mouseClick(w->fraTwilight, Qt::LeftButton, {}, QPoint(20, 20));
            QTest::mouseClick(w->lblRS_Name[0], Qt::LeftButton);
        }
        EXPECT_EQ(w->fraTwilight->title(), QStringLiteral("Twilight (Rigorous)"));
    }
}

TEST(RiseSetWindow, ClickMakesARowRigorousAndApplyMakesItApproximateAgain) {
    testsupport::LoadDataFiles();
    LocaleScope point(PointLocale());
    // Cape Town, 5 May 2006, zone +2: moonrise 14:14 local, the set after midnight.
    SetState(2006, 5, 5, -33.9, 18.4, 2.0f);
    auto w = Open();
    const QString moonBefore = w->lblRS_Rise[8]->text();
    EXPECT_EQ(w->lblRS_Name[0]->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(w->lblRS_Name[0], Qt::LeftButton);
    EXPECT_EQ(w->lblRS_Name[0]->text(), QStringLiteral("Sun (Rigorous)"));
    EXPECT_EQ(w->lblRS_Name[0]->cursor().shape(), Qt::ArrowCursor);  // no longer clickable
    const RiseSetResult r = RiseSetTimes(DayOfState(), -33.9, 18.4, 0, false, HorizonOf(NavigationState));
    EXPECT_EQ(w->lblRS_Rise[0]->text() + '|' + w->lblRS_Set[0]->text(), Zone(r.Rise) + '|' + Zone(r.Set));
    EXPECT_EQ(w->lblRS_Rise[8]->text(), moonBefore);  // the other rows stay approximate
    QTest::mouseClick(w->lblRS_Name[8], Qt::LeftButton);
    EXPECT_EQ(w->lblRS_Set[8]->text(), QStringLiteral("No Set"));
    EXPECT_TRUE(w->lblRS_Rise[8]->text().startsWith(QStringLiteral("14:1"))) << w->lblRS_Rise[8]->text().toStdString();
    QTest::mouseClick(w->fraTwilight, Qt::LeftButton, {}, QPoint(20, 20));
    ASSERT_EQ(w->fraTwilight->title(), QStringLiteral("Twilight (Rigorous)"));
    // As the main window wires them: Apply with a new latitude typed over the first two
    // digits, and the window recomputes every row approximately.
    auto g = std::make_unique<frmGeneral>();
    QObject::connect(g.get(), &frmGeneral::workingDataChanged, w.get(), &frmRiseSet::Update);
    g->show();
    g->Text1[1]->setFocus();
    g->Text1[1]->setSelection(0, 1);
    QTest::keyClicks(g->Text1[1], QStringLiteral("45"));
    QTest::mouseClick(g->Command1, Qt::LeftButton);
    EXPECT_NEAR(NavigationState.Lat, -45.9, 1e-9);
    for (int i = 0; i < 9; ++i) EXPECT_TRUE(w->lblRS_Name[i]->text().endsWith(QStringLiteral("(Approximate)"))) << i;
    EXPECT_EQ(w->fraTwilight->title(), QStringLiteral("Twilight (Approximate)"));
    EXPECT_TRUE(w->lblRS_Def[5]->text().contains(QStringLiteral("Position: 45-54.0S")));
    EXPECT_EQ(w->lblRS_Rise[0]->text(), Zone(RiseSetTimes(DayOfState(), -45.9, 18.4, 0, true, HorizonOf(NavigationState)).Rise));
}

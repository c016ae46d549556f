// The lunar distance window opened from the Calculation menu, a simulated sight of
// the Swiss Ephemeris (tests/data/lunar_reference.csv) typed in as a navigator would
// (to the tenth of a minute), and the UT and cleared distance it shows.

#include <QComboBox>
#include <QTreeWidget>
#include <memory>

#include "lunar/frmLunar.h"
#include "shell/MDIFormMain.h"
#include "support/csv.h"
#include "support/gui_support.h"
#include "support/nav_fixture.h"
#include "ui/mConvertion.h"

namespace {

// Degrees as the digits a masked "ddd-mm.m" / "dd-mm.m" box takes.
QString MaskDigits(double deg, int width) {
    double tenths = std::round(deg * 600.0);
    const int d = static_cast<int>(tenths / 600.0);
    const int t = static_cast<int>(tenths - d * 600.0);
    return QString::number(d).rightJustified(width, QLatin1Char('0')) + QString::number(t).rightJustified(3, QLatin1Char('0'));
}

QString OnlyDigits(QString s) { return s.remove(QRegularExpression(QStringLiteral("[^0-9]"))); }

}  // namespace

TEST(LunarWindow, ClearsATypedReferenceSightToItsTimeAndDistance) {
    testsupport::LoadDataFiles();
    QLocale::setDefault(PointLocale());
    const auto t = testsupport::ReadCsv(std::string(VELTRANO_TEST_DATA_DIR) + "/lunar_reference.csv");
    size_t i = 0;
    while (i < t.rows.size() && t.Text(i, "ut") != "2017-01-16T05:12:55Z") ++i;  // the help's example, Antares
    ASSERT_LT(i, t.rows.size());
    const DateValue ut = DateFromParts(2017, 1, 16, 5, 12, 55);
    const NavigationStateRecord saved = NavigationState;
    NavigationState = testsupport::DrState(ut, 0.0f, t.Num(i, "lat"), t.Num(i, "lon"));
    auto& s = NavigationState;
    s.hEye = static_cast<float>(t.Num(i, "eye_m")), s.i_s = 0.0f;
    s.Temp = static_cast<float>(t.Num(i, "temp_c")), s.Pressure = static_cast<float>(t.Num(i, "pressure_mb"));
    DialogRecorder dialogs;
    {
        auto m = std::make_unique<MDIFormMain>();
        ASSERT_TRUE(m->Load());
        m->show();
        m->findChild<QAction*>(QStringLiteral("mnuLunar"))->trigger();
        auto* w = qobject_cast<frmLunar*>(m->WindowOfKey(QStringLiteral("Lunar")));
        ASSERT_NE(w, nullptr);
        // The planner lists the day's lunars, Antares among them.
        ASSERT_GT(w->lvPlan->topLevelItemCount(), 5);
        EXPECT_FALSE(w->lvPlan->findItems(QStringLiteral("Antares"), Qt::MatchExactly).isEmpty());

        w->cboBody->setCurrentIndex(w->cboBody->findText(QString::fromStdString(t.Text(i, "body"))));
        w->cboMoonLimb->setCurrentIndex(t.Text(i, "moon_limb") == "far" ? 1 : 0);
        TypeInto(w->txtDistance, MaskDigits(t.Num(i, "ds_deg"), 3));
        TypeInto(w->txtDate, OnlyDigits(FormatShortDate(std::floor(ut))));
        TypeInto(w->txtTime, QStringLiteral("051255"));
        TypeInto(w->txtHsMoon, MaskDigits(t.Num(i, "hs_moon_deg"), 2));
        TypeInto(w->txtHs, MaskDigits(t.Num(i, "hs_deg"), 2));
        QTest::mouseClick(w->cmdCalculate, Qt::LeftButton);
        EXPECT_TRUE(dialogs.messages.empty());

        // What the user reads: "Cleared distance 86 05.56'" and "UT of the sight: 2017-01-16 05:12:55".
        const QString shown = w->lblResult->text();
        const QRegularExpressionMatch d =
            QRegularExpression(QStringLiteral("Cleared distance (\\d+) (\\d+\\.\\d+)'")).match(shown);
        const QRegularExpressionMatch u =
            QRegularExpression(QStringLiteral("UT of the sight: 2017-01-16 05:(\\d\\d):(\\d\\d)")).match(shown);
        ASSERT_TRUE(d.hasMatch() && u.hasMatch()) << shown.toStdString();
        const double cleared = d.captured(1).toDouble() + d.captured(2).toDouble() / 60.0;
        EXPECT_NEAR((cleared - t.Num(i, "geo_deg")) * 60.0, 0.0, 0.1);  // typed to 0.1': rounding included
        EXPECT_NEAR(u.captured(1).toInt() * 60 + u.captured(2).toInt(), 12 * 60 + 55, 10);
        EXPECT_TRUE(shown.contains(QStringLiteral("s per 0.1' of distance")));

        // A distance that is not one is refused through the one message box.
        TypeInto(w->txtDistance, QStringLiteral("0007000"));
        QTest::mouseClick(w->cmdCalculate, Qt::LeftButton);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Lunar distance"));
    }
    NavigationState = saved;
}

// The sight plan, noon sight and Polaris windows driven from the main window's
// menu and toolbar as a user would, with the working data of the help document's
// worked examples (help/VeltranoHelp.html, sections 11-13): what the windows show,
// and the plan carried into the position window.

#include <QComboBox>
#include <QRadioButton>
#include <QTreeWidget>
#include <memory>

#include "shell/MDIFormMain.h"
#include "support/gui_support.h"
#include "ui/mConvertion.h"
#include "fix/frmPosition.h"
#include "map/mDrawmap.h"
#include "planning/frmNoon.h"
#include "planning/frmPolaris.h"
#include "planning/frmSightPlan.h"
#include "support/nav_fixture.h"

namespace {

// The help's working data: 6 December 2026, 08:00 zone time -2, DR 45-00.0N
// 030-00.0W, course 270 at 20 knots, 10 C, 1010 mB, eye 15 m, no index error.
NavigationStateRecord HelpState(DateValue local = DateFromParts(2026, 12, 6, 8, 0), double lat = 45.0,
                                double lon = -30.0, float speed = 20.0f) {
    NavigationStateRecord s = testsupport::DrState(local, -2.0f, lat, lon, 270.0f, speed);
    s.Temp = 10.0f, s.Pressure = 1010.0f, s.hEye = 15.0f, s.i_s = 0.0f;
    return s;
}

const QString& HelpText() {
    static const QString help = [] {
        QFile f(QStringLiteral(VELTRANO_TEST_DATA_DIR "/../../help/VeltranoHelp.html"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }();
    return help;
}

// The help shows what the window shows.
void ExpectInHelp(const QString& text) {
    const QString& help = HelpText();
    QString html = text.toHtmlEscaped();
    html.replace(QChar(0x00B0), QStringLiteral("&deg;"));
    EXPECT_TRUE(help.contains(html)) << "not in the help: " << html.toStdString();
}

// A row of a table as the help prints it: the step, then its value from column 29.
QString HelpRow(const char* step, const char* value) {
    return QString::fromLatin1(step).leftJustified(28) + QString::fromLatin1(value);
}

QString Cell(QTreeWidget* v, const QString& key) {
    for (int i = 0; i < v->topLevelItemCount(); ++i)
        if (v->topLevelItem(i)->data(0, Qt::UserRole).toString() == key) return v->topLevelItem(i)->text(1);
    return QStringLiteral("(no row ") + key + QStringLiteral(")");
}

class PlanningWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::LoadDataFiles(); }
    void SetUp() override {
        QLocale::setDefault(PointLocale());
        saved_ = NavigationState;
        NavigationState = HelpState();
        m = std::make_unique<MDIFormMain>();
        ASSERT_TRUE(m->Load());
        m->show();
    }
    void TearDown() override {
        m.reset();
        NavigationState = saved_;
    }
    template <class W>
    W* Open(const char* menuItem) {
        QAction* item = m->findChild<QAction*>(QLatin1String(menuItem));
        EXPECT_NE(item, nullptr) << menuItem;
        if (item) item->trigger();
        for (ChildWindow* w : m->Children())
            if (auto* x = qobject_cast<W*>(w)) return x;
        return nullptr;
    }
    std::unique_ptr<MDIFormMain> m;
    NavigationStateRecord saved_;
};

}  // namespace

TEST_F(PlanningWindows, EveningPlanMarkedOnTheMapAndFilledIntoThePositionLines) {
    auto* w = Open<frmSightPlan>("mnuSightPlan");
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w->optEvening, Qt::LeftButton);
    // The help's table: civil and nautical twilight in zone time and UT, the observing time.
    const QString twilight = w->lblTwilight->text();
    const QString expected[] = {
        QStringLiteral("Civil twilight 17:10:32 zone (19:10:32 UT)\nNautical twilight 17:47:25 zone (19:47:25 UT)\n"
                       "Observe at 17:29:00 zone (19:29:00 UT) on 12/06/2026\nDR then: 45-00.0N 034-28.2W"),
        QStringLiteral("Best three: Polaris, Alpheratz, Altair - Zn spread 114\u00B0/117\u00B0/130\u00B0, all above "
                       "42\u00B0, mag 0.8 to 2.1"),
        QStringLiteral("Best four: Polaris, Hamal, Enif, Vega - Zn spread 93\u00B0/98\u00B0/89\u00B0/80\u00B0, all "
                       "above 38\u00B0, mag 0.0 to 2.4")};
    const QLabel* shown[] = {w->lblTwilight, w->lblBest3, w->lblBest4};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(shown[i]->text().toStdString(), expected[i].toStdString());
        ExpectInHelp(expected[i]);
    }
    // The help's table is the window's: each row it lists, as it prints it.
    for (int i = 0; i < w->lvBodies->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = w->lvBodies->topLevelItem(i);
        if (!HelpText().contains(QLatin1Char('\n') + row->text(0).leftJustified(12))) continue;
        QString line = row->text(0).leftJustified(12) + row->text(1).trimmed().rightJustified(7) + QStringLiteral("  ") +
                       row->text(2) + QStringLiteral("  ") + row->text(3) + QStringLiteral("  ") +
                       row->text(4).trimmed().rightJustified(7);
        if (!row->text(5).isEmpty()) line += QStringLiteral("    ") + row->text(5);
        ExpectInHelp(line + QLatin1Char('\n'));
    }
    // A row for every candidate (their altitude limits: test_planning).
    ASSERT_EQ(w->lvBodies->topLevelItemCount(), static_cast<int>(w->Candidates().size()));

    // Marked on the position window's map: one ringed mark per body of the best four.
    QTest::mouseClick(w->cmdMark, Qt::LeftButton);
    auto* p = qobject_cast<frmPosition*>(m->WindowOfKey(QStringLiteral("Position")));
    ASSERT_NE(p, nullptr);
    const std::vector<PlannedSight> sights = w->ChosenSights();
    ASSERT_EQ(sights.size(), 4u);
    EXPECT_TRUE(p->isVisible() && p->PlannedCodes().size() == 4);
    int ringed = 0;
    for (const auto* marks : {&p->Label1, &p->Label2})
        for (MapMarkLabel* mark : *marks) ringed += mark->property("planned").toBool() ? 1 : 0;
    EXPECT_EQ(ringed, 4);

    // Filled into the lines; the fix of the preset altitudes is the DR itself, as the
    // position window reduces them with the same code the plan used.
    QTest::mouseClick(w->cmdFill, Qt::LeftButton);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(p->Combo1[i]->currentData().toInt(), sights[i].Code);
        EXPECT_EQ(p->Text1[i]->text(), FormatTimeHMS(sights[i].Ut));
        EXPECT_TRUE(p->Text1[i]->text().endsWith(QStringLiteral(":00"))) << p->Text1[i]->text().toStdString();
    }
    // Lines typed since: Fill asks; No keeps them and fills only the empty ones.
    p->ShowSights(SightLines{});
    TypeInto(p->Text2[1], QStringLiteral("3000"));
    {
        DialogRecorder no(MsgResult::No);
        QTest::mouseClick(w->cmdFill, Qt::LeftButton);
        ASSERT_EQ(no.messages.size(), 1u);
        EXPECT_EQ(no.messages[0].buttons, MsgButtons::YesNo);
    }
    EXPECT_TRUE(p->Text2[1]->text() == QStringLiteral("30-00.0") && p->Combo1[1]->currentData().toInt() == kNoBody);
    const size_t into[3] = {0, 2, 3};
    for (size_t k = 0; k < 3; ++k) EXPECT_EQ(p->Combo1[into[k]]->currentData().toInt(), sights[k].Code);
    {
        DialogRecorder yes(MsgResult::Yes);
        QTest::mouseClick(w->cmdFill, Qt::LeftButton);
        ASSERT_EQ(yes.messages.size(), 1u);
    }
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(p->Combo1[i]->currentData().toInt(), sights[i].Code);
    QTest::mouseClick(p->Command2, Qt::LeftButton);
    EXPECT_TRUE(LastFix.Refusal.empty());
    EXPECT_LT(testsupport::NmBetween(LastFix.FixLat, LastFix.FixLon, 45.0, -30.0), 0.1);
}

TEST_F(PlanningWindows, NoonTimeAndLatitudeFromTheToolbar) {
    DialogRecorder dialogs;
    m->ButtonByKey(QStringLiteral("Noon"))->trigger();
    auto* w = qobject_cast<frmNoon*>(m->WindowOfKey(QStringLiteral("Noon")));
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->lblNoon->text().contains(QStringLiteral(": 11:58:32 zone (13:58:32 UT)\n")) &&
                w->lblNoon->text().contains(QStringLiteral("Longitude at noon (DR): 031-52.4W"))) << w->lblNoon->text().toStdString();
    ExpectInHelp(QStringLiteral("11:58:32 zone (13:58:32 UT)"));
    TypeInto(w->txtHs, QStringLiteral("22209"));
    EXPECT_EQ(w->txtHs->text(), QStringLiteral("22-20.9"));
    QTest::mouseClick(w->cmdLatitude, Qt::LeftButton);
    EXPECT_TRUE(w->lblResult->text().startsWith(QStringLiteral("Latitude at noon: 45-00.0N")))
        << w->lblResult->text().toStdString();
    QStringList steps;
    for (const char* key : {"Dip", "Semidiameter", "Dec", "Lat"}) steps << Cell(w->lvSteps, QLatin1String(key));
    EXPECT_EQ(steps.join('|'), QStringLiteral("-6.8'|+16.2'|22-31.9S|45-00.0N"));
    ExpectInHelp(HelpRow("Dec", "22-31.9S"));
    ExpectInHelp(QStringLiteral("Latitude at noon: 45-00.0N"));
    // An altitude above 90 degrees is refused with a message, and nothing is shown.
    TypeInto(w->txtHs, QStringLiteral("95000"));
    QTest::mouseClick(w->cmdLatitude, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("95-00.0")));
    EXPECT_EQ(w->lvSteps->topLevelItemCount(), 0);
}

TEST_F(PlanningWindows, PolarisLatitudeAndTheSouthernHemisphere) {
    NavigationState = HelpState(DateFromParts(2026, 12, 6, 19, 30), 45.0, -30.35, 0.0f);
    auto* w = Open<frmPolaris>("mnuPolaris");
    ASSERT_NE(w, nullptr);
    TypeInto(w->txtTime, QStringLiteral("213000"));
    TypeInto(w->txtHs, QStringLiteral("45484"));
    QTest::mouseClick(w->cmdLatitude, Qt::LeftButton);
    EXPECT_TRUE(w->lblResult->text().startsWith(QStringLiteral("Latitude by Polaris: 45-12.0N")))
        << w->lblResult->text().toStdString();
    EXPECT_EQ(Cell(w->lvSteps, QStringLiteral("Ho")) + '|' + Cell(w->lvSteps, QStringLiteral("Total correction Lat - Ho")),
              QStringLiteral(" 45 40.6|-28.7'"));
    ExpectInHelp(HelpRow("Total correction Lat - Ho", "-28.7'"));
    ExpectInHelp(QStringLiteral("Latitude by Polaris: 45-12.0N"));
    NavigationState.Lat = -10.0;
    w->Update();
    EXPECT_TRUE(w->lblResult->text().contains(QStringLiteral("southern hemisphere"))) << w->lblResult->text().toStdString();
    EXPECT_EQ(w->lvSteps->topLevelItemCount(), 0);
}

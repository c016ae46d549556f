// The sight log in the program, driven as a user would: fixes calculated in the position window
// listed newest first; the date filter, the note, "Reopen", "Delete" and "Export CSV...".
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QTreeWidget>

#include "shell/MDIFormMain.h"
#include "shell/frmGeneral.h"
#include "support/gui_support.h"
#include "ui/mConvertion.h"
#include "fix/frmPosition.h"
#include "log/frmSightLog.h"
#include "map/frmDetails.h"
#include "log/mSightLogQt.h"
#include "support/csv.h"
#include "support/log_fixture.h"
#include "support/nav_fixture.h"

namespace {

// Case 0 of tests/data/fix_sights.csv: Mirfak and Jupiter at 2023-09-09 06:02:37 UT, zone -7.
NavigationStateRecord CaseState() {
    NavigationStateRecord s = testsupport::DrState(DateFromParts(2023, 9, 9, 6, 2, 37) - 7.0 / 24.0, -7.0f,
                                                   -7.389798678, 34.242351807, 11.0f, 6.0f);
    s.hEye = 5.0f;
    s.i_s = -1.5f;
    return s;
}

SightLines CaseLines(bool both = true) {
    return both ? SightLines{{1017, -4, kNoBody, kNoBody}, {"06:02:37", "06:02:37"}, {"11-54.0", "17-30.7"}, {false, true}}
                : SightLines{{1017, kNoBody, kNoBody, kNoBody}, {"06:02:37"}, {"11-54.0"}, {}};
}

// A stored fix at a zone date and time (zone +3), with n sights.
LoggedFix StoredFix(DateValue zone, int n) {
    LoggedFix f = testsupport::SampleFix(zone - 3.0 / 24.0, n);
    f.Note = "fog, then clear";
    ProgramSightLog(nullptr)->Record(f);
    return f;
}

class SightLogWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::LoadDataFiles(); }
    void SetUp() override {
        QLocale::setDefault(PointLocale());
        // The tests' own data folder, never the user's.
        ASSERT_TRUE(SightLogPath().startsWith(QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME"))));
        CloseProgramSightLog();
        for (const char* suffix : {"", "-wal", "-shm"}) QFile::remove(SightLogPath() + QLatin1String(suffix));
        NavigationState = KnownState();
        LastFix = FixResult{};
        m = std::make_unique<MDIFormMain>();
        ASSERT_TRUE(m->Load());
        m->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m.get()));
    }
    void TearDown() override {
        m.reset();
        CloseProgramSightLog();
    }
    frmSightLog* OpenLog(bool byMenu) {
        if (byMenu)
            m->findChild<QAction*>(QStringLiteral("mnuSightLog"))->trigger();
        else
            m->ButtonByKey(QStringLiteral("SightLog"))->trigger();
        auto* w = qobject_cast<frmSightLog*>(m->FindChild(QStringLiteral("frmSightLog")));
        EXPECT_TRUE(w && w->isVisible());
        return w;
    }
    static void ClickRow(QTreeView* list, int row) {
        const QModelIndex cell = list->model()->index(row, 0);
        ASSERT_TRUE(cell.isValid());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(cell).center());
    }
    static QStringList Column(QAbstractItemView* list, int column) {
        QStringList out;
        for (int i = 0; i < list->model()->rowCount(); ++i) out << list->model()->index(i, column).data().toString();
        return out;
    }
    static int Rows(QAbstractItemView* list) { return list->model()->rowCount(); }
    // "Export CSV..." into the test's folder, read back.
    testsupport::CsvTable Export(frmSightLog* log) {
        const QString file = dir.filePath(QStringLiteral("out.csv"));
        const auto old = frmSightLog::SetSaveFileChooser([&](QWidget*, const QString&) { return file; });
        QTest::mouseClick(log->cmdExport, Qt::LeftButton);
        frmSightLog::SetSaveFileChooser(old);
        return testsupport::ReadCsv(file.toStdString());
    }
    std::unique_ptr<MDIFormMain> m;
    QTemporaryDir dir;
};

}  // namespace

// Newest first, filtered by zone date, exported to a CSV that reads back to the same
// numbers (every fix, or the one selected), and deleted after asking.
TEST_F(SightLogWindow, NewestFirstFilteredExportedAndDeletedAfterAsking) {
    const LoggedFix f3 = StoredFix(DateFromParts(2026, 12, 3, 8, 0), 1);
    const LoggedFix f5 = StoredFix(DateFromParts(2026, 12, 5, 20, 0), 2);
    const LoggedFix f1 = StoredFix(DateFromParts(2026, 12, 1, 12, 0), 4);
    frmSightLog* log = OpenLog(false);
    ASSERT_NE(log, nullptr);
    const QString d1 = FormatShortDate(DateFromParts(2026, 12, 1)), d3 = FormatShortDate(DateFromParts(2026, 12, 3)),
                  d5 = FormatShortDate(DateFromParts(2026, 12, 5));
    EXPECT_EQ(Column(log->lstFixes, 0), (QStringList{d5, d3, d1}));
    EXPECT_EQ(Column(log->lstFixes, 5), (QStringList{QStringLiteral("2: Sun, Mirfak"), QStringLiteral("1: Sun"),
                                                     QStringLiteral("4: Sun, Mirfak, Moon, Jupiter")}));
    QTest::mouseClick(log->chkFilter, Qt::LeftButton);
    log->dateFrom->setDate(QDate(2026, 12, 2));
    log->dateTo->setDate(QDate(2026, 12, 4));
    EXPECT_EQ(Column(log->lstFixes, 0), QStringList{d3});
    log->dateTo->setDate(QDate(2026, 12, 5));  // the last day counts whole
    EXPECT_EQ(Column(log->lstFixes, 0), (QStringList{d5, d3}));
    QTest::mouseClick(log->chkFilter, Qt::LeftButton);
    EXPECT_EQ(Rows(log->lstFixes), 3);

    // Nothing selected: every fix exported, one row per sight, newest fix first.
    testsupport::CsvTable t = Export(log);
    ASSERT_EQ(t.rows.size(), 7u);
    for (size_t r = 0; r < 7; ++r) {
        const LoggedFix& f = r < 2 ? f5 : r < 3 ? f3 : f1;
        const LoggedSight& s = f.Sights[r < 2 ? r : r < 3 ? 0 : r - 3];
        EXPECT_EQ(std::make_tuple(t.Num(r, "fix_id"), t.Num(r, "fix_lat"), t.Num(r, "ellipse_alpha"),
                                  static_cast<float>(t.Num(r, "speed_kn")), t.Num(r, "line"), t.Num(r, "zn")),
                  std::make_tuple(double(f.Id), f.FixLat, f.EllipseAlpha, f.Working.Speed, double(s.Line), s.Zn)) << r;
        const QString hc = FormatAngleDegMin(s.Hc, 2, false, false).replace(QLatin1Char(' '), QLatin1Char('-'));
        EXPECT_EQ((std::vector<std::string>{t.Text(r, "fix_lon_text"), t.Text(r, "note"), t.Text(r, "body"), t.Text(r, "hc_text")}),
                  (std::vector<std::string>{FormatLatLon(f.FixLon, false).toStdString(), f.Note, s.BodyName, hc.toStdString()}));
    }
    EXPECT_EQ(t.Text(0, "zone_time"), "2026-12-05 20:00:00");
    EXPECT_EQ(t.Text(0, "ut"), "2026-12-05 17:00:00");
    // The selection only.
    ClickRow(log->lstFixes, 2);
    t = Export(log);
    ASSERT_EQ(t.rows.size(), 4u);
    EXPECT_EQ(t.Num(3, "fix_id"), f1.Id);

    ClickRow(log->lstFixes, 1);
    {
        DialogRecorder no(MsgResult::No);
        QTest::mouseClick(log->cmdDelete, Qt::LeftButton);
        EXPECT_TRUE(no.messages.size() == 1 && no.messages[0].buttons == MsgButtons::YesNoDefaultNo);  // Enter keeps the fix
    }
    EXPECT_EQ(Rows(log->lstFixes), 3);
    DialogRecorder yes;
    QTest::mouseClick(log->cmdDelete, Qt::LeftButton);
    EXPECT_EQ(Column(log->lstFixes, 0), (QStringList{d5, d1}));
    EXPECT_EQ(ProgramSightLog(nullptr)->ListAll().size(), 2u);
    EXPECT_EQ(Rows(log->lstSights), 0);
}

// " 11 54.0" or "-00 03.5" (FormatAngleDegMin) to arc minutes.
double Arcmin(const QString& text) {
    const QString t = text.trimmed();
    const bool negative = t.startsWith(QLatin1Char('-'));
    const QStringList parts = t.mid(negative ? 1 : 0).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const double v = parts.value(0).toDouble() * 60.0 + parts.value(1).toDouble();
    return negative ? -v : v;
}

// A fix calculated in the position window keeps its numbers after the working data change, in the
// details, the log and its CSV; later fixes join on top; a note is kept; "Reopen" fills both windows.
TEST_F(SightLogWindow, ACalculatedFixIsListedKeepsItsNumbersAndIsReopened) {
    DialogRecorder dialogs;
    NavigationState = CaseState();
    m->ButtonByKey(QStringLiteral("Position"))->trigger();
    auto* p = qobject_cast<frmPosition*>(m->FindChild(QStringLiteral("frmPosition")));
    ASSERT_NE(p, nullptr);
    p->ShowSights(CaseLines(false));
    QTest::mouseClick(p->Command2, Qt::LeftButton);  // refused: one line
    ASSERT_EQ(dialogs.messages.size(), 1u);
    p->ShowSights(CaseLines());
    QTest::mouseClick(p->Command2, Qt::LeftButton);  // "Iterate" is ticked: the DR is 7 nm out
    ASSERT_EQ(dialogs.messages.size(), 1u) << dialogs.messages.back().text.toStdString();
    const FixResult fix = LastFix;
    const NavigationStateRecord logged = NavigationState;
    ASSERT_GT(fix.Passes, 1);
    // Another eye, air, index correction and course, applied.
    NavigationStateRecord& n = NavigationState;
    std::tie(n.hEye, n.Temp, n.Pressure, n.i_s, n.Course) = std::make_tuple(30.0f, -20.0f, 1040.0f, 3.0f, 200.0f);
    m->WorkingDataChanged();
    QTest::mouseClick(p->Command4, Qt::LeftButton);
    auto* d = qobject_cast<frmDetails*>(m->FindChild(QStringLiteral("frmDetails")));
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->Label1->text().contains(QStringLiteral("H = 5 m, i+s = -1.5 min"))) << d->Label1->text().toStdString();
    auto cell = [d](const char* row, int c) { return d->Row(QLatin1String(row))->text(c); };
    for (int c : {1, 2}) {
        const size_t i = static_cast<size_t>(c - 1);
        EXPECT_EQ(cell("Dip", c) + cell("i_s", c), QStringLiteral("-03.9-01.5"));
        // Down the column: the corrections as applied add up to Ho, and Ho - Hc is the intercept shown.
        double sum = Arcmin(cell("H", c));
        for (const char* row : {"Refr", "TP", "SemiD", "px"}) sum += cell(row, c).toDouble();  // "-": no limb, 0
        EXPECT_NEAR(sum, Arcmin(cell("Ho", c)), 0.25) << c;
        EXPECT_NEAR(Arcmin(cell("Ho", c)) - Arcmin(cell("Hc", c)), cell("dN", c).toDouble(), 0.15) << c;
        EXPECT_NEAR(cell("dN", c).toDouble(), fix.Intercept[i], 0.05);
        EXPECT_NEAR(cell("Res", c).toDouble(), fix.Residual[i], 0.05);
    }

    // The log (from the menu) and its CSV hold the same numbers, and how the fix was made.
    frmSightLog* log = OpenLog(true);
    ASSERT_NE(log, nullptr);
    ASSERT_EQ(Rows(log->lstFixes), 1);
    auto text = [log](int row, int column) { return log->lstFixes->model()->index(row, column).data().toString(); };
    EXPECT_EQ(text(0, 0), FormatShortDate(logged.LocalDate));
    EXPECT_EQ(text(0, 1), QStringLiteral("23:02"));
    EXPECT_EQ(text(0, 2), FormatShortDate(DateFromParts(2023, 9, 9)) + QStringLiteral(" 06:02"));
    EXPECT_EQ(text(0, 3), FormatLatLon(fix.FixLat, true) + QLatin1Char(' ') + FormatLatLon(fix.FixLon, false));
    EXPECT_EQ(text(0, 5), QStringLiteral("2: Alpha Persei (Mirfak), Jupiter"));
    ClickRow(log->lstFixes, 0);
    EXPECT_TRUE(log->lblPasses->text().startsWith(QStringLiteral("Iterated in %1 passes").arg(fix.Passes)));
    EXPECT_EQ(Column(log->lstSights, 1), (QStringList{QStringLiteral("Alpha Persei (Mirfak)"), QStringLiteral("Jupiter")}));
    EXPECT_EQ(log->lstSights->topLevelItem(1)->text(4), QString());  // a planet has no limb
    EXPECT_EQ(log->lstSights->topLevelItem(0)->text(7), cell("dN", 1) + QLatin1Char('\''));
    const testsupport::CsvTable t = Export(log);
    ASSERT_EQ(t.rows.size(), 2u);
    for (size_t r = 0; r < 2; ++r) {
        EXPECT_EQ(std::make_tuple(t.Num(r, "passes"), t.Text(r, "limb"), t.Num(r, "intercept_min"), t.Num(r, "residual_min")),
                  std::make_tuple(double(fix.Passes), std::string(), fix.Intercept[r], fix.Residual[r]));  // no limb: a star, a planet
        double ho = t.Num(r, "hs") * 60.0 + t.Num(r, "index_correction_min");
        for (const char* k : {"dip_min", "refraction_min", "tp_min", "semidiameter_min", "parallax_min"}) ho += t.Num(r, k);
        EXPECT_NEAR(ho, t.Num(r, "ho") * 60.0, 1e-6);
        EXPECT_NEAR((t.Num(r, "ho") - t.Num(r, "hc")) * 60.0, t.Num(r, "intercept_min"), 1e-9);
    }

    // A fix calculated while the log is open joins the list at once, on top.
    NavigationState.LocalDate += 1.0 / 1440.0;
    QTest::mouseClick(p->Command2, Qt::LeftButton);
    ASSERT_EQ(Rows(log->lstFixes), 2);
    EXPECT_EQ(Column(log->lstFixes, 1), (QStringList{QStringLiteral("23:03"), QStringLiteral("23:02")}));
    // A note of any length is kept whole with the selected fix.
    ClickRow(log->lstFixes, 1);
    log->txtNote->setText(QString(40000, QLatin1Char('n')));
    QTest::keyClicks(log->txtNote, QStringLiteral("x"));
    QTest::keyClick(log->txtNote, Qt::Key_Return);
    EXPECT_EQ(text(1, 6).size(), 40001);

    // Reopen: asked first; No changes nothing, Yes fills both windows.
    NavigationState = KnownState();
    p->ShowSights(SightLines{});
    {
        DialogRecorder no(MsgResult::No);
        QTest::mouseClick(log->cmdReopen, Qt::LeftButton);
        EXPECT_TRUE(no.messages.size() == 1 && no.messages[0].buttons == MsgButtons::YesNo);
        EXPECT_EQ(NavigationState.Lat, KnownState().Lat);
    }
    QTest::mouseClick(log->cmdReopen, Qt::LeftButton);
    EXPECT_TRUE(NavigationState.LocalDate == logged.LocalDate && NavigationState.Lat == logged.Lat &&
                NavigationState.hEye == logged.hEye);
    auto* g = qobject_cast<frmGeneral*>(m->FindChild(QStringLiteral("frmGeneral")));
    ASSERT_TRUE(g && g->isVisible() && p->isVisible());
    EXPECT_FALSE(p->Check2[1]->isEnabled());
    EXPECT_EQ((QStringList{p->Combo1[0]->currentData().toString(), p->Combo1[1]->currentData().toString(),
                           QString::number(p->Combo1[2]->currentIndex()), p->Text1[0]->text(), p->Text2[1]->text(),
                           g->Text1[1]->text(), g->Text1[7]->text(), g->Text1[10]->text()}),
              (QStringList{"1017", "-4", "0", "06:02:37", "17-30.7", FormatLatLon(logged.Lat, true), "05.0", "23:02"}));
}

// The session window driven as a user would: the help's six-star session opened
// from its file (tests/data/session_example.csv, from PyEphem by
// help/make_session_example.py, the fourth sight 5' out), calculated, the blunder
// flagged and left out with its "Use" tick; Identify, Mark and the series plot.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QImage>
#include <QListWidget>
#include <QTableWidget>
#include <memory>

#include "fix/frmSession.h"
#include "log/frmSightLog.h"
#include "log/mSightLogQt.h"
#include "map/frmDetails.h"
#include "shell/MDIFormMain.h"
#include "shell/frmGeneral.h"
#include "support/csv.h"
#include "support/gui_support.h"
#include "support/nav_fixture.h"
#include "ui/mConvertion.h"
#include "ui/mPublicVarsQt.h"

namespace {

constexpr double kTrueLat = 45.0 + 7.0 / 60.0, kTrueLon = -(30.0 + 10.0 / 60.0);
// PyEphem's refraction against the program's and the 0.1' readings, plus the 0.05'
// of the position text.
constexpr double kTolFixNm = 0.3;

class SessionWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::LoadDataFiles(); }
    void SetUp() override {
        QLocale::setDefault(PointLocale());
        saved_ = NavigationState;
        NavigationState = testsupport::DrState(DateFromParts(2026, 12, 6, 19, 50, 0) - 2.0 / 24.0, -2.0f, 45.0, -30.0,
                                               0.0f, 0.0f);
        w = std::make_unique<frmSession>();
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        ASSERT_TRUE(w->OpenFile(QString::fromStdString(testsupport::TestData("session_example.csv"))));
    }
    void TearDown() override {
        w.reset();
        NavigationState = saved_;
    }
    QString Cell(int row, int column) const { return w->tblSights->item(row, column)->text(); }
    // The position a summary line shows after `after`.
    double MissNm(const QString& summary, const QString& after) const {
        const int at = summary.indexOf(after);
        EXPECT_GE(at, 0) << after.toStdString() << " in " << summary.toStdString();
        const QStringList words = summary.mid(at + after.size()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const double lat = ParsePositionText(words.value(0).trimmed(), true);
        const double lon = ParsePositionText(words.value(1).section(QLatin1Char('\n'), 0, 0).trimmed(), false);
        return testsupport::NmBetween(lat, lon, kTrueLat, kTrueLon);
    }

    // Pixels of the lines plot drawn in red (a line that does not fit).
    int RedPixels() const {
        const QImage img = w->plotLines->grab().toImage();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                n += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            }
        return n;
    }

    std::unique_ptr<frmSession> w;
    NavigationStateRecord saved_;
};

}  // namespace

TEST_F(SessionWindow, BlunderIsFlaggedAndTheNavigatorLeavesItOut) {
    EXPECT_EQ(w->tblSights->rowCount(), frmSession::kStartRows);
    QTest::mouseClick(w->cmdCalculate, Qt::LeftButton);
    const QString summary = w->lblSummary->text();
    EXPECT_TRUE(summary.contains(QStringLiteral("sight 4 (Altair) does not fit the others"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("95% region from the residuals: a = ")));
    EXPECT_EQ(Cell(3, frmSession::colFlag), QStringLiteral("does not fit"));
    for (int r : {0, 1, 2, 4, 5}) EXPECT_EQ(Cell(r, frmSession::colFlag), QString()) << r;
    EXPECT_LT(MissNm(summary, QStringLiteral("Fix without it: ")), kTolFixNm);
    EXPECT_GT(MissNm(summary, QStringLiteral("Fix: ")), 1.0);  // the blunder moves the fix
    EXPECT_GT(RedPixels(), 20);                                 // Altair's line drawn in red

    // The navigator unticks it: five sights, nothing stands out, the fix on the truth.
    w->tblSights->item(3, frmSession::colUse)->setCheckState(Qt::Unchecked);
    QTest::mouseClick(w->cmdCalculate, Qt::LeftButton);
    const QString again = w->lblSummary->text();
    EXPECT_TRUE(again.contains(QStringLiteral("(5 sights in 5 lines")));
    EXPECT_TRUE(again.contains(QStringLiteral("No sight stands out.")));
    EXPECT_LT(MissNm(again, QStringLiteral("Fix: ")), kTolFixNm);
    EXPECT_EQ(Cell(3, frmSession::colResidual), QString());  // left out
    EXPECT_FALSE(Cell(3, frmSession::colHc).isEmpty());       // still reduced
    EXPECT_EQ(RedPixels(), 0);

    // The plot shows the chosen sight's series.
    w->tblSights->setCurrentCell(4, frmSession::colHs);
    EXPECT_TRUE(w->plotSeries->Title().contains(QStringLiteral("Mirfak")));
    EXPECT_EQ(w->plotSeries->PointCount(), 1);
}

TEST_F(SessionWindow, IdentifyMarkAndMoreRows) {
    // Vega's row without its body, with a compass bearing of 283: Vega first.
    qobject_cast<QComboBox*>(w->tblSights->cellWidget(0, frmSession::colBody))->setCurrentIndex(0);
    w->tblSights->item(0, frmSession::colBearing)->setText(QStringLiteral("283"));
    QTest::mouseClick(qobject_cast<QPushButton*>(w->tblSights->cellWidget(0, frmSession::colIdentify)), Qt::LeftButton);
    ASSERT_GE(w->lstIdentify->count(), 1);
    EXPECT_TRUE(w->lstIdentify->item(0)->text().startsWith(QStringLiteral("Vega "))) << w->lstIdentify->item(0)->text().toStdString();
    QTest::mouseClick(w->cmdTakeIdentified, Qt::LeftButton);
    EXPECT_EQ(qobject_cast<QComboBox*>(w->tblSights->cellWidget(0, frmSession::colBody))->currentText(),
              QStringLiteral("Vega"));

    QTest::mouseClick(w->cmdAdd, Qt::LeftButton);
    EXPECT_EQ(w->tblSights->rowCount(), frmSession::kStartRows + 1);
}

// Through the frame, as the navigator works: the clock error typed in General Info
// is what Mark takes off the computer's clock; Details shows every sight of the
// session with the blunder flagged and both ellipses' summary; the session, recorded
// in the log, reopens in the session window with all its sights.
TEST_F(SessionWindow, ThroughTheFrameDetailsLogAndClock) {
    w.reset();
    CloseProgramSightLog();
    for (const char* suffix : {"", "-wal", "-shm"}) QFile::remove(SightLogPath() + QLatin1String(suffix));
    MDIFormMain m;
    ASSERT_TRUE(m.Load());
    m.show();
    auto open = [&m](const char* key, const char* window) {
        m.ButtonByKey(QLatin1String(key))->trigger();
        return m.FindChild(QLatin1String(window));
    };
    auto* general = qobject_cast<frmGeneral*>(open("General", "frmGeneral"));
    ASSERT_NE(general, nullptr);
    general->txtClockError->selectAll();
    QTest::keyClicks(general->txtClockError, QStringLiteral("+0030.0"));
    QTest::mouseClick(general->Command1, Qt::LeftButton);
    EXPECT_EQ(NavigationState.ClockError, 30.0);

    auto* s = qobject_cast<frmSession*>(open("Session", "frmSession"));
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->lblConditions->text().contains(QStringLiteral("clock +30.0 s fast")));
    QTest::mouseClick(qobject_cast<QPushButton*>(s->tblSights->cellWidget(7, frmSession::colMark)), Qt::LeftButton);
    EXPECT_EQ(s->tblSights->item(7, frmSession::colUT)->text(), QStringLiteral("2026-03-01 07:59:30"));
    ASSERT_TRUE(s->OpenFile(QString::fromStdString(testsupport::TestData("session_example.csv"))));
    EXPECT_FALSE(s->cmdDetails->isEnabled());
    QTest::mouseClick(s->cmdCalculate, Qt::LeftButton);
    QTest::mouseClick(s->cmdDetails, Qt::LeftButton);
    auto* d = qobject_cast<frmDetails*>(m.FindChild(QStringLiteral("frmDetails")));
    ASSERT_TRUE(d && d->isVisible() && d->ShowsSession());
    ASSERT_EQ(d->ListView1->columnCount(), 7);  // "Data:" and the six sights
    EXPECT_EQ(d->ListView1->headerItem()->text(4), QStringLiteral("4. Altair"));
    EXPECT_FALSE(d->Row(QStringLiteral("Flag"))->isHidden());
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(d->Row(QStringLiteral("Flag"))->text(c), c == 4 ? QStringLiteral("does not fit") : QString()) << c;
    // The intercept from the DR is the session table's, and the summary is the session window's.
    EXPECT_EQ(d->Row(QStringLiteral("dN"))->text(4).toDouble(),
              s->tblSights->item(3, frmSession::colIntercept)->text().chopped(1).toDouble());
    EXPECT_EQ(d->Label2->text(), s->lblSummary->text());
    EXPECT_TRUE(d->Label1->text().startsWith(QStringLiteral("Session fix of ")));
    EXPECT_FALSE(d->cmdPrint->isEnabled());

    // Reopened from the log: every sight back in its row, the window's other rows emptied.
    s->tblSights->setRowCount(0);
    auto* log = qobject_cast<frmSightLog*>(open("SightLog", "frmSightLog"));
    ASSERT_NE(log, nullptr);
    ASSERT_EQ(log->lstFixes->model()->rowCount(), 1);
    QTest::mouseClick(log->lstFixes->viewport(), Qt::LeftButton, {},
                      log->lstFixes->visualRect(log->lstFixes->model()->index(0, 0)).center());
    DialogRecorder yes(MsgResult::Yes);
    QTest::mouseClick(log->cmdReopen, Qt::LeftButton);
    ASSERT_EQ(s->tblSights->rowCount(), frmSession::kStartRows);
    std::vector<SessionSight> back;
    std::vector<int> rows;
    QString why;
    ASSERT_TRUE(s->ReadSights(back, rows, why)) << why.toStdString();
    ASSERT_EQ(back.size(), 6u);
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(s->tblSights->item(3, frmSession::colHs)->text(), QStringLiteral("39-01.9"));
    CloseProgramSightLog();
}

// The ephemerides and annual events windows, driven offscreen as a user would.

#include <QComboBox>
#include <QDateEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QProgressBar>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>

#include "almanac/frmAnnual.h"
#include "almanac/frmEphemerides.h"
#include "almanac/frmPrintPages.h"
#include "ui/mSavePath.h"
#include "support/gui_support.h"
#include "support/csv.h"
#include "support/nav_fixture.h"

namespace {

// Data files loaded, default working data with only the date set, no clock, no settings
// (gui_main.cpp), English month names, and no message box expected.
class Almanac : public testsupport::NavFixture {
protected:
    void SetDate(DateValue local, float tz = 0.0f) { NavigationState = testsupport::DrState(local, tz, 0.0, 0.0); }
    void TearDown() override {
        for (const RecordedMessage& m : dialogs_.messages) ADD_FAILURE() << "message box: " << m.text.toStdString();
        NavFixture::TearDown();
    }
    LocaleScope english_{PointLocale()};
    DialogRecorder dialogs_;
};

QString Cell(QTreeWidget* lv, int row, int col) { return lv->topLevelItem(row)->text(col); }

// ---------------------------------------------------------------- ephemerides

// Arc minutes of an angle field "sDDD MM.m" (sign or letter, degrees, minutes); NaN if unreadable.
double Arcmin(const std::string& s) {
    double deg = 0.0, min = 0.0;
    return s.size() >= 7 && std::sscanf(s.c_str() + 1, "%lf %lf", &deg, &min) == 2 ? deg * 60.0 + min : NAN;
}

// A field against the expected one: the same text, or (a value rounded on the other side
// of a last digit, within the ephemeris' accuracy) the same layout and sign 0.1' away.
bool FieldMatches(const std::string& got, const std::string& want, int& lastDigitOff) {
    if (got == want) return true;
    if (got.size() != want.size() || got.empty() || got[0] != want[0]) return false;
    const double d = std::fabs(Arcmin(got) - Arcmin(want));
    if (!(std::fmin(d, std::fabs(d - 21600.0)) <= 0.1 + 1e-9)) return false;  // 0/360 degrees
    ++lastDigitOff;
    return true;
}

TEST_F(Almanac, EphemeridesPageOfTheLocalDateAgainstTheExpectedPageAndRecalculate) {
    SetDate(DateFromParts(2024, 1, 11, 9, 30));
    frmEphemerides w;
    EXPECT_EQ(w.windowTitle(), "Planetary data: Ephemerides for Thursday, January 11, 2024");
    QTreeWidget* lv = w.lvEphemer;
    ASSERT_EQ(lv->columnCount(), 13);
    ASSERT_EQ(lv->topLevelItemCount(), 24);
    // The page against the page formatted from the Swiss Ephemeris' values (tests/data/README.md).
    std::ifstream in(testsupport::TestData("almanac_page_2024-01-11.txt"));
    ASSERT_TRUE(in.good());
    std::string line;
    std::getline(in, line);  // the column headers
    QStringList headers;
    for (int c = 0; c < 8; ++c) headers << w.lvEphemer->headerItem()->text(c);
    EXPECT_EQ(headers.join('|').toStdString(), line);
    int row = 0, fields = 0, lastDigitOff = 0;
    for (; std::getline(in, line); ++row) {
        ASSERT_LT(row, 24);
        std::replace(line.begin(), line.end(), '|', ',');
        const auto want = testsupport::SplitCsvLine(line);
        ASSERT_EQ(want.size(), 8u);
        EXPECT_EQ(Cell(w.lvEphemer, row, 0).toStdString(), want[0]);
        const std::string aries = Cell(w.lvEphemer, row, 1).toStdString();
        EXPECT_TRUE(FieldMatches(aries, want[1], lastDigitOff)) << "row " << row << " ARIES: " << aries << " vs " << want[1];
        ++fields;
        for (int c = 2; c < 8; ++c) {
            const size_t slash = want[c].find('/');
            ASSERT_NE(slash, std::string::npos);
            const std::string gha = want[c].substr(0, slash), dec = want[c].substr(slash + 1);
            // hour angle, at least one space, declination
            const std::string got = Cell(w.lvEphemer, row, c).toStdString();
            ASSERT_GT(got.size(), gha.size() + dec.size()) << got;
            const std::string gotGha = got.substr(0, gha.size()), gotDec = got.substr(got.size() - dec.size());
            EXPECT_EQ(got.substr(gha.size(), got.size() - gha.size() - dec.size()).find_first_not_of(' '), std::string::npos) << got;
            EXPECT_TRUE(FieldMatches(gotGha, gha, lastDigitOff)) << "row " << row << " col " << c << ": " << gotGha << " vs " << gha;
            EXPECT_TRUE(FieldMatches(gotDec, dec, lastDigitOff)) << "row " << row << " col " << c << ": " << gotDec << " vs " << dec;
            fields += 2;
        }
    }
    EXPECT_EQ(row, 24);
    // Only values within the ephemeris' error of a rounding boundary may round the other way.
    EXPECT_LT(lastDigitOff * 10, fields);
    // Just after local midnight ten hours east of Greenwich (UT 2024-01-10 14:30): the same page.
    SetDate(DateFromParts(2024, 1, 11, 0, 30), 10.0f);
    frmEphemerides east;
    for (int c = 0; c < 8; ++c) EXPECT_EQ(Cell(east.lvEphemer, 0, c), Cell(lv, 0, c));
    // Recalculate shows the working data's new date; a zero declination is north.
    SetDate(DateFromParts(2030, 6, 1, 9, 30));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_EQ(w.windowTitle(), "Planetary data: Ephemerides for Saturday, June 1, 2030");
    EXPECT_EQ(w.ProgressBar1->value(), 0);  // the bar has run and is back at zero
    EXPECT_TRUE(frmEphemerides::DecText(0.0) == "N 0 00.0" && frmEphemerides::DecText(-0.5 / 60.0) == "S 0 00.5" &&
                frmEphemerides::GhaText(5.5) == "   5 30.0");
}

TEST_F(Almanac, EphemeridesExportWritesTheNumbersAndTextsTheWindowShows) {
    SetDate(DateFromParts(2031, 7, 4, 12, 0));
    frmEphemerides w;
    EXPECT_EQ(w.lvEphemer->headerItem()->text(10), "MOON HP");
    const QString path = QString::fromStdString(testing::TempDir()) + "/page.csv";
    const auto ask = frmEphemerides::AskExportPath;
    frmEphemerides::AskExportPath = [&](QWidget*) { return path; };
    QTest::mouseClick(w.cmdExport, Qt::LeftButton);
    frmEphemerides::AskExportPath = ask;
    const testsupport::CsvTable csv = testsupport::ReadCsv(path.toStdString());
    QFile::remove(path);
    ASSERT_EQ(csv.rows.size(), 24u);
    for (size_t r = 0; r < 24; ++r) {
        const int row = static_cast<int>(r);
        EXPECT_EQ(csv.Text(r, "date_ut"), "2031-07-04");
        EXPECT_EQ(QString::fromStdString(csv.Text(r, "time_ut")), QStringLiteral("%1:00").arg(r, 2, 10, QLatin1Char('0')));
        // Each number, formatted as the window formats it, is the window's text.
        EXPECT_EQ(frmEphemerides::GhaText(csv.Num(r, "aries_gha")), Cell(w.lvEphemer, row, 1));
        const char* bodies[6] = {"venus", "mars", "jupiter", "saturn", "sun", "moon"};
        for (int b = 0; b < 6; ++b) {
            const QString cell = Cell(w.lvEphemer, row, 2 + b);
            EXPECT_TRUE(cell.startsWith(frmEphemerides::GhaText(csv.Num(r, std::string(bodies[b]) + "_gha")))) << cell.toStdString();
            EXPECT_TRUE(cell.endsWith(frmEphemerides::DecText(csv.Num(r, std::string(bodies[b]) + "_dec")))) << cell.toStdString();
            EXPECT_EQ(QString::fromStdString(csv.Text(r, QString(bodies[b]).toUpper().toStdString())), cell);
        }
        const char* minutes[5] = {"moon_v_arcmin", "moon_d_arcmin", "moon_hp_arcmin", "sun_sd_arcmin", "moon_sd_arcmin"};
        for (int k = 0; k < 5; ++k)
            EXPECT_NEAR(csv.Num(r, minutes[k]), Cell(w.lvEphemer, row, 8 + k).toDouble(), 0.05 + 1e-9) << minutes[k];
    }
    EXPECT_EQ(WithSuffix(QStringLiteral("/tmp/page"), QStringLiteral("csv")) + '|' +
                  WithSuffix(QStringLiteral("/tmp/page.CSV"), QStringLiteral("csv")),
              QStringLiteral("/tmp/page.csv|/tmp/page.CSV"));
    // The dialog opens among the user's files, not in the program's folder.
    const QFileInfo suggested(DocumentsPath(QStringLiteral("a.csv")));
    EXPECT_TRUE(suggested.isAbsolute() && suggested.absolutePath().startsWith(QDir::homePath()))
        << suggested.absolutePath().toStdString();
}

TEST_F(Almanac, PrintPagesWritesThePdfOnAWorkerAndCancels) {
    SetDate(DateFromParts(2024, 6, 20, 22, 0));
    frmPrintPages d;
    EXPECT_TRUE(d.dtFrom->date() == QDate(2024, 6, 20) && d.dtTo->date() == QDate(2024, 6, 22));
    d.dtTo->setDate(QDate(2024, 6, 27));  // three spreads
    const QString path = QString::fromStdString(testing::TempDir()) + "/pages.pdf";
    QFile::remove(path);
    const auto ask = frmPrintPages::AskPdfPath;
    frmPrintPages::AskPdfPath = [&](QWidget*) { return path; };
    QSignalSpy finished(&d, &frmPrintPages::RunFinished);
    QTest::mouseClick(d.cmdPdf, Qt::LeftButton);
    // The window answers while the pages are made: Cancel is live, the range is locked.
    EXPECT_TRUE(d.Running() && d.cmdCancel->isEnabled() && !d.cmdPdf->isEnabled());
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_TRUE(finished.at(0).at(0).toBool() && d.pbPages->value() == 3) << d.pbPages->value();
    QProcess info;
    info.start("pdfinfo", {path});
    ASSERT_TRUE(info.waitForFinished(30000));
    // The title page and three spreads.
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+7\\n")));

    // A year, cancelled at once: the file written before is left as it was.
    const std::string six = testsupport::ReadAll(path.toStdString());
    ASSERT_FALSE(six.empty());
    d.dtTo->setDate(QDate(2025, 6, 20));
    QTest::mouseClick(d.cmdPdf, Qt::LeftButton);
    QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
    ASSERT_TRUE(finished.wait(60000));
    frmPrintPages::AskPdfPath = ask;
    EXPECT_TRUE(!finished.at(1).at(0).toBool() && d.lblStatus->text() == "Cancelled." && d.cmdPdf->isEnabled());
    EXPECT_TRUE(testsupport::ReadAll(path.toStdString()) == six);
    QFile::remove(path);
}

// ---------------------------------------------------------------- annual events

TEST_F(Almanac, AnnualEventsInUniversalTimeTheUsersLanguageAndTheYearList) {
    SetDate(DateFromParts(2024, 5, 5, 10, 0));
    frmAnnual w;
    ASSERT_EQ(w.Combo1->count(), 201);
    EXPECT_TRUE(w.Combo1->itemText(0) == "1900" && w.Combo1->itemText(200) == "2100" && w.Combo1->currentText() == "2024");
    // Published: 2024 January 11 new moon 11:57 UT, June solstice June 20 20:51 UT.
    ASSERT_EQ(w.ListView1->topLevelItemCount(), 12);
    EXPECT_EQ(Cell(w.ListView1, 0, 1), "11 11:57");
    const QString summer = w.Label2[0]->text();
    EXPECT_TRUE(QRegularExpression("^June 20,  20:5[01]$").match(summer).hasMatch()) << summer.toStdString();
    for (QLabel* l : w.Label2) EXPECT_FALSE(l->text().isEmpty());
    // Ten hours east and in German: the same universal times, the months in German.
    NavigationState.TZ = 10.0f;
    {
        LocaleScope german(CommaLocale());
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        EXPECT_TRUE(Cell(w.ListView1, 0, 1) == "11 11:57" && Cell(w.ListView1, 0, 0) == "Januar" && Cell(w.ListView1, 2, 0) == "März");
        EXPECT_EQ(w.Label2[0]->text(), QString(summer).replace("June", "Juni"));
    }
    // The year before, by key: the full moons of 2023 August, 1st 18:31 and 31st 01:35 UT.
    w.show();
    w.Combo1->setFocus();
    QTest::keyClick(w.Combo1, Qt::Key_Up);
    EXPECT_EQ(w.Combo1->currentText(), "2023");
    const QString aug = Cell(w.ListView1, 7, 3);
    EXPECT_TRUE(QRegularExpression("^01 18:[23]\\d & 31 01:3\\d$").match(aug).hasMatch()) << aug.toStdString();
    // A year outside the list shows the nearer end.
    SetDate(DateFromParts(1850, 7, 1));
    frmAnnual early;
    EXPECT_EQ(early.Combo1->currentText(), "1900");
    EXPECT_TRUE(early.Label2[2]->text().startsWith("March 21,")) << early.Label2[2]->text().toStdString();
    SetDate(DateFromParts(2150, 7, 1));
    frmAnnual late;
    EXPECT_TRUE(late.Combo1->currentText() == "2100" && !late.Label2[0]->text().isEmpty());
}

}  // namespace

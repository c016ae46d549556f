// The printed work form read back with pdftotext: the working data, each line's workings and the
// fix as the form's numbers give them; the GHA and declination from the whole hour add up.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include "map/mWorkFormPrint.h"
#include "support/csv.h"
#include "support/nav_fixture.h"
#include "ui/mConvertion.h"

namespace {

constexpr double kTolArcmin = 1e-6;  // the form's sums against the reduction's own angles

std::string PdfText(const QString& pdf) {
    const std::string file = pdf.toStdString(), cmd = "pdftotext -layout '" + file + "' '" + file + ".txt'";
    return std::system(cmd.c_str()) == 0 ? testsupport::ReadAll(file + ".txt") : std::string();
}

using WorkFormPdf = testsupport::NavFixture;

}  // namespace

TEST_F(WorkFormPdf, OnePagePerFixWithEveryLinesWorkings) {
    int argc = 1;
    char name[] = "test_workform", *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    NavigationStateRecord working = testsupport::DrState(DateFromParts(2024, 1, 15, 2, 0, 0), 2.0f, 40.0, -10.0, 45.0f, 12.0f);
    working.Temp = -5.0f;
    working.Pressure = 1025.0f;
    working.i_s = -1.2f;
    const SightLines lines{{0, 2491, -8, kNoBody}, {"23:20:00", "23:30:00", "23:50:00"}, {"10-12.0", "33-10.0", "40-20.0"}, {true, true}};
    const FixResult fix = CalcPosition(lines, working);
    const WorkForm form = MakeWorkForm(fix);
    for (const WorkFormLine& L : form.lines) {
        if (!L.InUse) continue;
        const double gha = (L.IsStar ? L.R.GhaAries : L.R.Gha);
        EXPECT_NEAR(std::remainder(L.ghaHour + L.increment + L.vCorr / 60.0 - gha, 360.0) * 60.0, 0.0, kTolArcmin);
        EXPECT_NEAR((L.decHour + L.dCorr / 60.0 - L.R.Dec) * 60.0, 0.0, kTolArcmin);
        EXPECT_EQ(L.minutes * 60 + L.seconds, std::lround((L.Time - L.hour) * 86400.0));
    }

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("form.pdf"));
    QString error;
    ASSERT_TRUE(WriteWorkFormPdf(pdf, {form, form}, &error)) << error.toStdString();
    const std::string text = PdfText(pdf);
    ASSERT_FALSE(text.empty()) << "pdftotext gave nothing";
    size_t pages = 0;
    for (size_t at = 0; (at = text.find("SIGHT REDUCTION", at)) != std::string::npos; ++at) ++pages;
    EXPECT_EQ(pages, 2u);
    for (const char* s : {"Air -5.0 °C, 1025.0 mb", "Index correction -1.2'", "sextant altitude", "Refraction",
                          "Additional (air)", "Semidiameter", "Parallax", "Increment", "v correction", "d correction",
                          "Intercept", "azimuth", "Sirius", "Sun", "Moon", "lower", "upper", "Error ellipse"})
        EXPECT_NE(text.find(s), std::string::npos) << s;
    // The fix's position and each line's Ho and Zn as the form prints them.
    EXPECT_NE(text.find((FormatLatLon(fix.FixLat, true) + " " + FormatLatLon(fix.FixLon, false)).toStdString()), std::string::npos);
    for (const WorkFormLine& L : form.lines) {
        if (!L.InUse) continue;
        char zn[16];
        std::snprintf(zn, sizeof zn, "%05.1f°", Norm360(L.R.Az));
        EXPECT_NE(text.find(zn), std::string::npos) << zn;
        const std::string ho = FormatAngleDegMin(L.R.Ho, 2, true, false).trimmed().replace(' ', QStringLiteral("°")).toStdString() + "'";
        EXPECT_NE(text.find(ho), std::string::npos) << ho;
    }
    // A folder in the way: the reason, and nothing written.
    EXPECT_FALSE(WriteWorkFormPdf(dir.path(), {form}, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot write"))) << error.toStdString();
}

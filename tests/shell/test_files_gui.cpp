// Every file the program writes: a writer that fails or is cancelled leaves the old file
// as it was and says why; a help document replaced by a folder shows "Help not found".
#include <gtest/gtest.h>

#include <QSettings>
#include <QTextBrowser>

#include "almanac/frmEphemerides.h"
#include "almanac/mDailyPagesPrint.h"
#include "shell/frmGeneral.h"
#include "shell/frmHelp.h"
#include "support/csv.h"
#include "support/gui_support.h"
#include "support/nav_fixture.h"

namespace {

class FileFaults : public testsupport::NavFixture {};

}  // namespace

TEST_F(FileFaults, AWriterThatFailsOrIsCancelledLeavesTheOldFileAndSaysWhy) {
    NavigationState = KnownState();
    const std::atomic<bool> cancelled{true};
    auto pages = [](const QString& dir, const std::atomic<bool>* cancel) {
        QString error;
        EXPECT_FALSE(WriteDailyPagesPdf(dir + "/out.pdf", DateFromParts(2024, 1, 1), DateFromParts(2024, 1, cancel ? 9 : 1),
                                        cancel, {}, &error));
        return error;
    };
    const struct {
        const char* what;
        const char* target;                           // in a fresh folder
        bool targetIsFolder;                          // else a file holding "old"
        std::function<QString(const QString&)> write;  // given the folder; what the user is told
        const char* told;
    } cases[] = {
        {"daily pages cancelled", "out.pdf", false, [&](const QString& dir) { return pages(dir, &cancelled); }, ""},
        {"daily pages onto a folder", "out.pdf", true, [&](const QString& dir) { return pages(dir, nullptr); }, "Cannot write"},
        {"hourly page onto a folder", "page.csv", true,
         [](const QString& dir) {
             DialogRecorder boxes;
             frmEphemerides w;
             EXPECT_FALSE(w.ExportCsv(dir + "/page.csv"));
             return boxes.messages.empty() ? QString() : boxes.messages.back().text;
         },
         "Cannot write"},
        {"settings replaced by a folder", "Veltrano/Veltrano.ini", true,
         [](const QString& dir) {
             QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir);
             DialogRecorder boxes;
             frmGeneral w;
             w.Command2->click();  // Save Info
             return boxes.messages.empty() ? QString() : boxes.messages.back().text;
         },
         "a folder stands in the place of"},
    };
    const QString settingsFile = QSettings(QSettings::IniFormat, QSettings::UserScope, "x", "y").fileName();
    const QString settingsHome = QFileInfo(QFileInfo(settingsFile).path()).path();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString target = dir.filePath(QLatin1String(c.target));
        if (c.targetIsFolder)
            ASSERT_TRUE(QDir().mkpath(target));
        else
            std::ofstream(target.toStdString()) << "old";
        const QString told = c.write(dir.path());
        EXPECT_TRUE(told.contains(QLatin1String(c.told))) << told.toStdString();
        EXPECT_TRUE(c.targetIsFolder ? QFileInfo(target).isDir() : testsupport::ReadAll(target.toStdString()) == "old");
        // Nothing unfinished left beside it.
        EXPECT_EQ(QDir(QFileInfo(target).path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
    }
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsHome);
}

TEST(HelpFile, AFolderInItsPlaceShowsHelpNotFound) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VeltranoHelp.html"));
    ASSERT_TRUE(QDir().mkpath(path));
    frmHelp help(path);
    help.ShowSection(QStringLiteral("position"));
    EXPECT_TRUE(help.Browser->toPlainText().contains(QLatin1String("Help not found")));
}

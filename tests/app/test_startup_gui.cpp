// Start-up: the data files load once, a missing one is reported and ends the
// start, and a good start shows the main window with the settings loaded.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <tuple>

#include "app/MDIFormMain.h"
#include "app/frmSplash.h"
#include "app/mPublicVarsQt.h"
#include "core/mFiles.h"
#include "gui_support.h"

namespace {

// A program folder holding only the data files named.
class ProgramFolderScope {
public:
    explicit ProgramFolderScope(std::initializer_list<const char*> files) : old_(ProgramFolder()) {
        QDir(dir_.path()).mkdir(QStringLiteral("Data"));
        for (const char* f : files)
            QFile::copy(QStringLiteral(VELTRANO_DATA_DIR "/") + QLatin1String(f),
                        dir_.path() + QStringLiteral("/Data/") + QLatin1String(f));
        SetProgramFolder(dir_.path().toStdString());
    }
    ~ProgramFolderScope() { SetProgramFolder(old_); }

private:
    QTemporaryDir dir_;
    std::string old_;
};

}  // namespace

TEST(StartUp, AMissingOrCorruptDataFileIsReportedAndTheStartEnds) {
    // {the one file present, a file written over with garbage, the file the message names}
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"planet.bin", nullptr, "star.bin"}, {"star.bin", nullptr, "planet.bin"}, {"star.bin", "planet.bin", "planet.bin"}};
    for (const auto& [present, corrupt, named] : cases) {
        ProgramFolderScope folder({present});
        if (corrupt) {
            QFile bad(QString::fromStdString(DataFilePath(corrupt)));
            ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
            bad.write("not a data file");
        }
        NavigationState = NavigationStateRecord{};
        SplashDone = false;
        DialogRecorder rec;
        EXPECT_EQ(StartUp(0), nullptr);
        EXPECT_EQ(MainForm(), nullptr);
        ASSERT_EQ(rec.messages.size(), 1u);
        EXPECT_TRUE(rec.messages[0].text.contains(QLatin1String(named))) << rec.messages[0].text.toStdString();
        EXPECT_EQ(rec.messages[0].icon, MsgIcon::Critical);
        EXPECT_FALSE(NavigationState.StateLoaded);
        EXPECT_FALSE(SplashDone);
    }
}

TEST(StartUp, AGoodStartLoadsOnceAndShowsTheMainWindow) {
    ProgramFolderScope folder({"planet.bin", "star.bin"});
    ClearSettings();
    NavigationState = NavigationStateRecord{};
    SplashDone = false;
    DialogRecorder rec;
    MDIFormMain* m = StartUp(0);
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_TRUE(m->isVisible());
    EXPECT_TRUE(SplashDone);
    EXPECT_TRUE(NavigationState.StateLoaded);
    EXPECT_EQ(NavigationState.LocalDate, ClockNow());  // the tests' fixed clock
    EXPECT_EQ(NavigationState.Speed, 15.0f);  // the settings' default
    // The preloaded windows stay hidden until opened.
    for (ChildWindow* w : m->Children()) EXPECT_FALSE(w->parentWidget()->isVisible()) << w->objectName().toStdString();
    delete m;
    EXPECT_EQ(MainForm(), nullptr);
}

TEST(StartUp, TheHelpDocumentLiesBesideTheProgramInTheBuildTree) {
    // The build copies help/VeltranoHelp.html to Help/ beside the program, as
    // the installation does.
    QFile help(QStringLiteral(VELTRANO_DATA_DIR "/../Help/VeltranoHelp.html"));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(help.readAll());
    for (const char* part : {"Universal Time", "three star sights", "General information", "Compass error"})
        EXPECT_TRUE(text.contains(QLatin1String(part), Qt::CaseInsensitive)) << part;
}

// Start-up: a missing, unreadable or damaged data file is reported and ends the start; a
// good one shows the main window, the settings loaded, the zone time from UTC and the zone.
#include <gtest/gtest.h>


#include "shell/MDIFormMain.h"
#include "shell/StartUp.h"
#include "support/gui_support.h"

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

// Changes the bytes of a data file in the program folder.
void Rewrite(const char* name, const std::function<void(QByteArray&)>& change) {
    QFile f(QString::fromStdString(DataFilePath(name)));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    f.close();
    change(bytes);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

void PutDouble(QByteArray& b, qsizetype at, double v) { std::memcpy(b.data() + at, &v, sizeof v); }

// planet.bin: the first term of Mercury's L series (amplitude, phase, frequency).
constexpr qsizetype kFirstTerm = 92;
// star.bin: the right ascension of the first star, after its name.
qsizetype FirstStarRa(const QByteArray& b) { return 15 + (static_cast<uchar>(b[13]) | static_cast<uchar>(b[14]) << 8); }

}  // namespace

TEST(StartUp, AMissingUnreadableOrDamagedDataFileIsReportedAndTheStartEnds) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        std::initializer_list<const char*> present;
        std::function<void()> damage;
        const char* named;  // the file the message names, and what it says of it
        const char* says;
    };
    const Case cases[] = {
        {"star.bin missing", {"planet.bin"}, [] {}, "star.bin", "missing"},
        {"planet.bin missing", {"star.bin"}, [] {}, "planet.bin", "missing"},
        {"planet.bin garbage", {"star.bin", "planet.bin"},
         [] { Rewrite("planet.bin", [](QByteArray& b) { b = "not a data file"; }); }, "planet.bin", "block 1"},
        {"planet.bin a folder", {"star.bin"}, [] { QDir().mkpath(QString::fromStdString(DataFilePath("planet.bin"))); },
         "planet.bin", "folder"},
        {"planet.bin NaN amplitude", {"star.bin", "planet.bin"},
         [nan] { Rewrite("planet.bin", [nan](QByteArray& b) { PutDouble(b, kFirstTerm, nan); }); }, "planet.bin",
         "amplitude of nan"},
        {"planet.bin absurd frequency", {"star.bin", "planet.bin"},
         [] { Rewrite("planet.bin", [](QByteArray& b) { PutDouble(b, kFirstTerm + 16, 1e308); }); }, "planet.bin",
         "frequency of 1e+308"},
        {"star.bin random", {"star.bin", "planet.bin"},
         [] {
             Rewrite("star.bin", [](QByteArray& b) {
                 std::uint32_t x = 12345;  // the same bytes on every run
                 for (char& c : b) c = static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
             });
         },
         "star.bin", "star.bin: "},
        {"star.bin NaN right ascension", {"star.bin", "planet.bin"},
         [nan] { Rewrite("star.bin", [nan](QByteArray& b) { PutDouble(b, FirstStarRa(b), nan); }); }, "star.bin",
         "star record 1 has a right ascension of nan"},
        {"moon.bin missing", {"star.bin", "planet.bin"}, [] {}, "moon.bin", "missing"},
        {"moon.bin garbage", {"star.bin", "planet.bin", "moon.bin"},
         [] { Rewrite("moon.bin", [](QByteArray& b) { b = "not a data file"; }); }, "moon.bin", "not a Moon file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFolderScope folder(c.present);
        c.damage();
        NavigationState = NavigationStateRecord{};
        SplashDone = false;
        DialogRecorder rec;
        EXPECT_TRUE(StartUp(0) == nullptr && MainForm() == nullptr);
        ASSERT_EQ(rec.messages.size(), 1u);
        const QString& text = rec.messages[0].text;
        EXPECT_TRUE(text.contains(QLatin1String(c.named)) && text.contains(QLatin1String(c.says))) << text.toStdString();
        EXPECT_EQ(rec.messages[0].icon, MsgIcon::Critical);
        EXPECT_FALSE(NavigationState.StateLoaded || SplashDone);
    }
}

TEST(StartUp, AGoodStartLoadsOnceAndShowsTheMainWindow) {
    ProgramFolderScope folder({"planet.bin", "star.bin", "moon.bin"});
    ClearSettings();
    PutSettings({{"General/TZ", QStringLiteral("-2")}});
    NavigationState = NavigationStateRecord{};
    SplashDone = false;
    DialogRecorder rec;
    MDIFormMain* m = StartUp(0);
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(rec.messages.empty() && m->isVisible() && SplashDone && NavigationState.StateLoaded);
    // Zone time: the computer's UTC (the tests' fixed clock) plus the saved zone.
    EXPECT_EQ(NavigationState.LocalDate, ClockNow() - 2.0 / 24.0);
    EXPECT_EQ(NavigationState.TZ, -2.0f);
    EXPECT_EQ(NavigationState.Speed, 15.0f);  // the settings' default
    // The preloaded windows stay hidden until opened.
    for (ChildWindow* w : m->Children()) EXPECT_FALSE(w->parentWidget()->isVisible()) << w->objectName().toStdString();
    delete m;
    EXPECT_EQ(MainForm(), nullptr);
}

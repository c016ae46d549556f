// The main window: menu, toolbar, one instance per window, the help file, the
// About box, the proportional layout and the twips.
#include <gtest/gtest.h>

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <memory>

#include "app/MDIFormMain.h"
#include "app/frmGeneral.h"
#include "app/frmSplash.h"
#include "app/mLayout.h"
#include "gui_support.h"

namespace {

std::unique_ptr<MDIFormMain> MakeMain() {
    NavigationState = KnownState();  // loaded: no data file is read
    auto m = std::make_unique<MDIFormMain>();
    EXPECT_TRUE(m->Load());
    m->show();
    return m;
}

QAction* Item(MDIFormMain* m, const char* name) { return m->findChild<QAction*>(QLatin1String(name)); }

int VisibleSubWindows(MDIFormMain* m) {
    int n = 0;
    for (QMdiSubWindow* s : m->Area()->subWindowList())
        if (s->isVisible()) ++n;
    return n;
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.append(url); }
};

}  // namespace

TEST(MainWindow, ToolbarButtonsInOrder) {
    auto m = MakeMain();
    EXPECT_EQ(m->windowTitle(), QStringLiteral("Veltrano"));
    const QList<QAction*> actions = m->Toolbar1()->actions();
    ASSERT_EQ(actions.size(), 12);
    struct Expect {
        const char* caption;
        const char* key;
        const char* tooltip;
    };
    const Expect expected[12] = {
        {"General info", "General", "General Info"},
        {nullptr, nullptr, nullptr},
        {"Rise/Set", "RiseSet", "Planetary data: Rise/Set/Transit"},
        {"Ephemerides", "Ephemerides", "Planetary ephemerides"},
        {"Annual pages", "Annual", "Annual Pages"},
        {nullptr, nullptr, nullptr},
        {"Fix position", "Position", "Calculate position"},
        {"Details", "Details", "Detailed position"},
        {nullptr, nullptr, nullptr},
        {"Compass", "Compass", "Compass correction"},
        {nullptr, nullptr, nullptr},
        {"Help", "Help", "Help"},
    };
    for (int i = 0; i < 12; ++i) {
        if (!expected[i].key) {
            EXPECT_TRUE(actions[i]->isSeparator()) << i;
            continue;
        }
        EXPECT_EQ(actions[i]->text(), QLatin1String(expected[i].caption)) << i;
        EXPECT_EQ(actions[i]->data().toString(), QLatin1String(expected[i].key)) << i;
        EXPECT_EQ(actions[i]->toolTip(), QLatin1String(expected[i].tooltip)) << i;
        EXPECT_FALSE(actions[i]->icon().isNull()) << i;
        EXPECT_EQ(m->ButtonByKey(QLatin1String(expected[i].key)), actions[i]);
    }
}

TEST(MainWindow, MenuItemsCaptionsAndShortcuts) {
    auto m = MakeMain();
    const std::pair<const char*, const char*> items[] = {
        {"mnuRiseSet", "&Rise/Set/Transit"}, {"mnuPlanet", "&Planetary data"}, {"mnuAnnual", "&Annual pages"},
        {"mnuPosition", "&Position"},       {"mnuCompass", "&Compass Error"},  {"mnuGeneral", "&GeneralInfo"},
        {"mnuHepTopics", "&Help topics"},   {"mnuAbout", "&About"},
    };
    for (const auto& [name, caption] : items) {
        QAction* a = Item(m.get(), name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->text(), QLatin1String(caption)) << name;
    }
    const std::pair<const char*, const char*> menus[] = {
        {"mnuEphemerides", "&Ephemerides"}, {"mnuDaily", "&Daily pages"}, {"mnuCalc", "&Calculation"},
        {"mnuHelp", "&Help"}};
    for (const auto& [name, caption] : menus) {
        QMenu* menu = m->findChild<QMenu*>(QLatin1String(name));
        ASSERT_NE(menu, nullptr) << name;
        EXPECT_EQ(menu->title(), QLatin1String(caption)) << name;
    }
    EXPECT_EQ(Item(m.get(), "mnuHepTopics")->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(Item(m.get(), "mnuAbout")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F1));
}

TEST(MainWindow, MenuAndToolbarOpenTheSameSingleInstance) {
    auto m = MakeMain();
    Item(m.get(), "mnuGeneral")->trigger();
    ChildWindow* first = m->FindChild(QStringLiteral("frmGeneral"));
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(FindOpenWindow(QStringLiteral("frmGeneral")), first);
    auto* sub = qobject_cast<QMdiSubWindow*>(first->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(m->Area()->activeSubWindow(), sub);
    EXPECT_FALSE(sub->windowIcon().isNull());
    EXPECT_EQ(sub->windowTitle(), QStringLiteral("General Info"));

    m->ButtonByKey(QStringLiteral("General"))->trigger();
    EXPECT_EQ(m->FindChild(QStringLiteral("frmGeneral")), first);
    EXPECT_EQ(m->Area()->subWindowList().size(), 1);
    EXPECT_EQ(VisibleSubWindows(m.get()), 1);
}

TEST(MainWindow, AClosedWindowOpensAgainLoadedAfresh) {
    auto m = MakeMain();
    m->ButtonByKey(QStringLiteral("General"))->trigger();
    QPointer<ChildWindow> first = m->FindChild(QStringLiteral("frmGeneral"));
    ASSERT_TRUE(first);
    auto* general = static_cast<frmGeneral*>(first.data());
    general->Text1[3]->setText(QStringLiteral("999.9"));  // an edit never applied
    first->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(m->FindChild(QStringLiteral("frmGeneral")), nullptr);

    Item(m.get(), "mnuGeneral")->trigger();
    auto* again = static_cast<frmGeneral*>(m->FindChild(QStringLiteral("frmGeneral")));
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(again->Text1[3]->text(), QStringLiteral("045.0"));
}

TEST(MainWindow, AWindowIsCentredInTheClientArea) {
    auto m = MakeMain();
    m->resize(1200, 900);
    QCoreApplication::processEvents();
    m->ButtonByKey(QStringLiteral("General"))->trigger();
    QWidget* sub = m->FindChild(QStringLiteral("frmGeneral"))->parentWidget();
    const QSize client = m->Area()->viewport()->size();
    EXPECT_NEAR(sub->x(), (client.width() - sub->width()) / 2, 1);
    EXPECT_NEAR(sub->y(), (client.height() - sub->height()) / 2, 1);
}

TEST(MainWindow, AWindowLoadedInAdvanceIsCentredWhenFirstShown) {
    NavigationState = KnownState();
    auto m = std::make_unique<MDIFormMain>();
    ASSERT_TRUE(m->Load());
    m->resize(300, 200);  // the frame is small while the splash still shows
    ChildWindow* w = m->LoadChild(QStringLiteral("General"));
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->parentWidget()->isVisible());
    m->resize(1200, 900);
    m->show();
    QCoreApplication::processEvents();
    m->ButtonByKey(QStringLiteral("General"))->trigger();
    EXPECT_EQ(m->FindChild(QStringLiteral("frmGeneral")), w);  // the same instance
    QWidget* sub = w->parentWidget();
    EXPECT_TRUE(sub->isVisible());
    const QSize client = m->Area()->viewport()->size();
    EXPECT_NEAR(sub->x(), (client.width() - sub->width()) / 2, 1);
    EXPECT_NEAR(sub->y(), (client.height() - sub->height()) / 2, 1);
}

TEST(MainWindow, AButtonWithoutItsWindowDoesNothing) {
    // No data file is loaded here: a window whose computation then faults says so in a
    // message box, which the recorder answers.
    DialogRecorder dialogs;
    auto m = MakeMain();
    // Keys whose windows are not part of the program yet open nothing; the
    // others open exactly one window each ("Details" too, with no fix yet).
    int opened = 0;
    for (const char* key : {"Details", "RiseSet", "Ephemerides", "Annual", "Position", "Compass"}) {
        m->ButtonByKey(QLatin1String(key))->trigger();
        if (m->WindowOfKey(QLatin1String(key))) ++opened;
    }
    EXPECT_EQ(m->Area()->subWindowList().size(), opened);
}

TEST(MainWindow, HelpOpensTheHelpFileBesideTheProgram) {
    auto m = MakeMain();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    Item(m.get(), "mnuHepTopics")->trigger();
    m->ButtonByKey(QStringLiteral("Help"))->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_TRUE(catcher.urls[0].isLocalFile());
    EXPECT_TRUE(catcher.urls[0].toLocalFile().endsWith(QLatin1String("/Help/VeltranoHelp.html")));
    EXPECT_EQ(catcher.urls[0].toLocalFile(), MDIFormMain::HelpFilePath());
    EXPECT_EQ(m->Area()->subWindowList().size(), 0);
}

TEST(MainWindow, AboutBoxStaysUntilAKeyOrAClick) {
    auto m = MakeMain();
    SplashDone = true;
    Item(m.get(), "mnuAbout")->trigger();
    QPointer<frmSplash> about = m->findChild<frmSplash*>();
    ASSERT_TRUE(about);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->lblProductName->text(), QStringLiteral("Veltrano"));
    EXPECT_EQ(about->lblCompanyProduct->text(), QStringLiteral("Celestial navigation with"));
    EXPECT_EQ(about->lblWarning->text(), QStringLiteral("This is just a beta version :)"));
    EXPECT_TRUE(about->lblVersion->text().startsWith(QLatin1String("Version ")));
    EXPECT_EQ(about->lblVersion->text().count(QLatin1Char('.')), 2);
    QTest::qWait(50);
    EXPECT_TRUE(about->isVisible());
    QTest::keyClick(about.data(), Qt::Key_Space);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());
    // A click on a label closes it too.
    Item(m.get(), "mnuAbout")->trigger();
    about = m->findChild<frmSplash*>();
    ASSERT_TRUE(about);
    QTest::mouseClick(about->lblVersion, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());
    // It did not start a second main window.
    EXPECT_EQ(MainForm(), m.get());
}

TEST(Layout, TwipsFollowTheLogicalDpi) {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    EXPECT_EQ(TwipsToPixels(1440), qRound(dpi));
    EXPECT_EQ(TwipsToPixels(10920), qRound(10920 * dpi / 1440.0));  // the position window's width
    // Back from whole pixels: within half a pixel.
    EXPECT_NEAR(PixelsToTwips(TwipsToPixels(7305)), 7305, 0.5 * 1440.0 / dpi + 1);
}

TEST(Layout, ScaleWindowLayoutMovesSizesAndScalesFontsButNotTagged) {
    QWidget w;
    w.resize(200, 100);
    auto* plain = new QLabel(QStringLiteral("A"), &w);
    plain->setGeometry(10, 20, 100, 30);
    QFont f = plain->font();
    f.setPointSizeF(10.0);
    plain->setFont(f);
    auto* tagged = new QLabel(QStringLiteral("B"), &w);
    tagged->setGeometry(50, 50, 40, 20);
    tagged->setFont(f);
    tagged->setProperty("Tag", QStringLiteral("keep"));
    auto* frame = new QFrame(&w);
    frame->setGeometry(0, 0, 100, 50);
    auto* inner = new QLabel(QStringLiteral("C"), frame);
    inner->setGeometry(10, 10, 20, 10);

    const QSize remembered = ScaleWindowLayout(&w, QSize(200, 100), QSize(400, 150));
    EXPECT_EQ(remembered, QSize(400, 150));
    EXPECT_EQ(plain->geometry(), QRect(20, 30, 200, 45));
    EXPECT_DOUBLE_EQ(plain->font().pointSizeF(), 15.0);  // the smaller factor, 1.5
    EXPECT_DOUBLE_EQ(tagged->font().pointSizeF(), 10.0);
    EXPECT_EQ(tagged->geometry(), QRect(100, 75, 80, 30));
    EXPECT_EQ(inner->geometry(), QRect(20, 15, 40, 15));
}

TEST(Layout, MaximiseAndRestoreGiveBackTheSameLayout) {
    QWidget w;
    auto* label = new QLabel(QStringLiteral("A"), &w);
    label->setGeometry(13, 27, 101, 23);
    QFont f = label->font();
    f.setPointSizeF(9.0);
    label->setFont(f);
    auto* moved = new QLabel(QStringLiteral("B"), &w);
    moved->setGeometry(40, 40, 20, 10);
    const QSize normal(727, 460), maximised(1280, 712);  // unequal factors: 1.76 and 1.55
    QSize last = normal;
    for (int round = 0; round < 5; ++round) {
        last = ScaleWindowLayout(&w, last, maximised);
        last = ScaleWindowLayout(&w, last, normal);
    }
    EXPECT_EQ(label->geometry(), QRect(13, 27, 101, 23));
    EXPECT_NEAR(label->font().pointSizeF(), 9.0, 1e-9);
    // Maximised once more: the font grows by the smaller factor.
    last = ScaleWindowLayout(&w, last, maximised);
    EXPECT_NEAR(label->font().pointSizeF(), 9.0 * 712.0 / 460.0, 1e-9);
    // A control the window moves itself is scaled from where it now stands.
    moved->setGeometry(100, 100, 20, 10);
    last = ScaleWindowLayout(&w, last, normal);
    EXPECT_EQ(moved->geometry().topLeft(), QPoint(int(100 * 727.0 / 1280.0), int(100 * 460.0 / 712.0)));
}

TEST(Layout, ScalerIgnoresSizesBelowTheInitialAndScalesFromTheLastOne) {
    QWidget w;
    w.resize(200, 100);
    auto* label = new QLabel(QStringLiteral("A"), &w);
    label->setGeometry(20, 20, 100, 20);
    w.show();
    LayoutScaler scaler;
    scaler.Start(&w);
    const QSize initial = OuterSize(&w);
    w.resize(150, 80);  // below the initial size: nothing moves
    scaler.Resize(&w);
    EXPECT_EQ(label->geometry(), QRect(20, 20, 100, 20));
    w.resize(400, 200);
    scaler.Resize(&w);
    EXPECT_EQ(label->geometry(), QRect(40, 40, 200, 40));
    EXPECT_EQ(scaler.LastClientSize(), QSize(400, 200));
    w.resize(200, 100);  // back to the initial: scales from the last size
    scaler.Resize(&w);
    EXPECT_EQ(label->geometry(), QRect(20, 20, 100, 20));
    EXPECT_EQ(scaler.InitialOuterSize(), initial);
    // Minimised: nothing changes.
    w.showMinimized();
    EXPECT_EQ(ScaleWindowLayout(&w, QSize(200, 100), QSize(50, 50)), QSize(200, 100));
    EXPECT_EQ(label->geometry(), QRect(20, 20, 100, 20));
}

#include "test_mainwindow_gui.moc"

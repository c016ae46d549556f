// The main window: menu, toolbar, one instance per window, the help file, the
// About box, the proportional layout and the twips.
#include <gtest/gtest.h>

#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>

#include "shell/MDIFormMain.h"
#include "shell/frmGeneral.h"
#include "shell/frmSplash.h"
#include "ui/mLayout.h"
#include "support/gui_support.h"

namespace {

std::unique_ptr<MDIFormMain> MakeMain(bool show = true) {
    NavigationState = KnownState();  // loaded: no data file is read
    auto m = std::make_unique<MDIFormMain>();
    EXPECT_TRUE(m->Load());
    if (show) m->show();
    return m;
}

QAction* Item(MDIFormMain* m, const char* name) { return m->findChild<QAction*>(QLatin1String(name)); }

}  // namespace

TEST(MainWindow, ToolbarMenuAndShortcuts) {
    auto m = MakeMain();
    // The buttons by key in order, "|" for a separator; each with its own image.
    QStringList keys;
    for (QAction* a : m->Toolbar1()->actions()) {
        keys << (a->isSeparator() ? QStringLiteral("|") : a->data().toString());
        EXPECT_TRUE(a->isSeparator() || !a->icon().isNull()) << keys.last().toStdString();
    }
    EXPECT_EQ(keys, (QStringList{"General", "|", "RiseSet", "Ephemerides", "Annual", "|", "Position", "Details", "Session",
                                 "SightLog", "SightPlan", "Noon", "Polaris", "Lunar", "|", "Compass", "|", "Help"}));
    EXPECT_EQ(Item(m.get(), "mnuHepTopics")->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(Item(m.get(), "mnuAbout")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F1));
    // "Print daily pages…" opens its one dialog.
    for (int i = 0; i < 2; ++i) Item(m.get(), "mnuPrintPages")->trigger();
    const QList<QDialog*> dialogs = m->findChildren<QDialog*>(QStringLiteral("frmPrintPages"));
    EXPECT_TRUE(dialogs.size() == 1 && dialogs[0]->isVisible());
}

// Loaded in advance behind the splash, a window opens centred in the client area, once
// however often the menu and toolbar ask; closed, it opens afresh.
TEST(MainWindow, AWindowLoadedInAdvanceOpensCentredOnceAndAfreshAfterClosing) {
    auto m = MakeMain(false);
    m->resize(300, 200);  // the frame is small while the splash still shows
    QPointer<ChildWindow> first = m->LoadChild(QStringLiteral("General"));
    ASSERT_TRUE(first);
    auto* sub = qobject_cast<QMdiSubWindow*>(first->parentWidget());
    ASSERT_TRUE(sub && !sub->isVisible());
    m->resize(1200, 900);
    m->show();
    QCoreApplication::processEvents();
    Item(m.get(), "mnuGeneral")->trigger();
    EXPECT_TRUE(first->isVisible() && m->Area()->activeSubWindow() == sub);
    m->ButtonByKey(QStringLiteral("General"))->trigger();
    EXPECT_EQ(m->FindChild(QStringLiteral("frmGeneral")), first.data());  // the same instance
    EXPECT_EQ(m->Area()->subWindowList().size(), 1);
    const QSize client = m->Area()->viewport()->size();
    EXPECT_NEAR(sub->x(), (client.width() - sub->width()) / 2, 1);
    EXPECT_NEAR(sub->y(), (client.height() - sub->height()) / 2, 1);

    static_cast<frmGeneral*>(first.data())->Text1[3]->setText(QStringLiteral("999.9"));  // never applied
    sub->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(m->FindChild(QStringLiteral("frmGeneral")), nullptr);
    m->ButtonByKey(QStringLiteral("General"))->trigger();
    auto* again = static_cast<frmGeneral*>(m->FindChild(QStringLiteral("frmGeneral")));
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(again->Text1[3]->text(), QStringLiteral("045.0"));
}

TEST(MainWindow, AButtonActsOnlyOnceItsWindowExists) {
    DialogRecorder dialogs;  // no data file is loaded: a window whose computation faults says so
    auto m = MakeMain();
    int opened = 0;
    for (const char* key : {"Details", "RiseSet", "Ephemerides", "Annual", "Position", "Compass", "SightPlan", "Noon",
                            "Polaris"}) {
        m->ButtonByKey(QLatin1String(key))->trigger();
        if (m->WindowOfKey(QLatin1String(key))) ++opened;
    }
    EXPECT_EQ(m->Area()->subWindowList().size(), opened);
}

TEST(MainWindow, AboutBoxStaysUntilAKeyOrAClick) {
    auto m = MakeMain();
    for (bool byKey : {true, false}) {
        Item(m.get(), "mnuAbout")->trigger();
        QPointer<frmSplash> about = m->findChild<frmSplash*>();
        ASSERT_TRUE(about);
        EXPECT_TRUE(about->lblVersion->text().startsWith(QLatin1String("Version ")));
        // The published data it is built from, each source with its licence.
        for (const char* credit : {"VSOP87", "astronomia", "(MIT)", "Bright Star Catalogue", "CC0-1.0", "BSD-3-Clause"})
            EXPECT_TRUE(about->lblCredits->text().contains(QLatin1String(credit))) << credit;
        QTest::qWait(50);
        EXPECT_TRUE(about->isVisible());
        if (byKey)
            QTest::keyClick(about.data(), Qt::Key_Space);
        else
            QTest::mouseClick(about->lblVersion, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(about.isNull());
    }
    EXPECT_EQ(MainForm(), m.get());  // it did not start a second main window
}

TEST(Layout, TwipsAndScaleWindowLayoutMovesSizesAndScalesFontsButNotTaggedWithoutDrift) {
    // 1440 twips are an inch of the screen's logical dpi; back from whole pixels within half a pixel.
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    EXPECT_EQ(TwipsToPixels(10920), qRound(10920 * dpi / 1440.0));
    EXPECT_NEAR(PixelsToTwips(TwipsToPixels(7305)), 7305, 0.5 * 1440.0 / dpi + 1);
    QWidget w;
    QFont f = w.font();
    f.setPointSizeF(10.0);
    auto label = [&f](QWidget* parent, const QRect& r) {
        auto* l = new QLabel(QStringLiteral("A"), parent);
        l->setGeometry(r);
        l->setFont(f);
        return l;
    };
    QLabel *plain = label(&w, {10, 20, 100, 30}), *tagged = label(&w, {50, 50, 40, 20}), *inner = label(new QFrame(&w), {10, 10, 20, 10});
    tagged->setProperty("Tag", QStringLiteral("keep"));
    EXPECT_EQ(ScaleWindowLayout(&w, QSize(200, 100), QSize(400, 150)), QSize(400, 150));
    EXPECT_EQ((QList<QRect>{plain->geometry(), tagged->geometry(), inner->geometry()}),
              (QList<QRect>{{20, 30, 200, 45}, {100, 75, 80, 30}, {20, 15, 40, 15}}));
    EXPECT_DOUBLE_EQ(plain->font().pointSizeF(), 15.0);  // the smaller factor, 1.5
    EXPECT_DOUBLE_EQ(tagged->font().pointSizeF(), 10.0);
    // Maximised and restored five times (unequal factors, 3.2 and 4.75): the same layout, no drift.
    QSize last(400, 150);
    for (int round = 0; round < 5; ++round)
        last = ScaleWindowLayout(&w, ScaleWindowLayout(&w, last, QSize(1280, 712)), QSize(400, 150));
    EXPECT_EQ(plain->geometry(), QRect(20, 30, 200, 45));
    EXPECT_NEAR(plain->font().pointSizeF(), 15.0, 1e-9);
    // A control the window moves itself is scaled from where it now stands.
    plain->setGeometry(100, 100, 20, 10);
    ScaleWindowLayout(&w, last, QSize(200, 100));
    EXPECT_EQ(plain->geometry().topLeft(), QPoint(50, 66));
}

TEST(Layout, ScalerIgnoresSizesBelowTheInitialAndScalesFromTheLastOne) {
    QWidget w;
    w.resize(200, 100);
    auto* label = new QLabel(QStringLiteral("A"), &w);
    label->setGeometry(20, 20, 100, 20);
    w.show();
    LayoutScaler scaler;
    scaler.Start(&w);
    // {window size, label geometry after}: below the initial nothing moves; back
    // to the initial it scales from the last size.
    const std::pair<QSize, QRect> steps[] = {{QSize(150, 80), QRect(20, 20, 100, 20)},
                                             {QSize(400, 200), QRect(40, 40, 200, 40)},
                                             {QSize(200, 100), QRect(20, 20, 100, 20)}};
    for (const auto& [size, geometry] : steps) {
        w.resize(size);
        scaler.Resize(&w);
        EXPECT_EQ(label->geometry(), geometry) << size.width();
    }
    // Minimised: nothing changes.
    w.showMinimized();
    EXPECT_EQ(ScaleWindowLayout(&w, QSize(200, 100), QSize(50, 50)), QSize(200, 100));
    EXPECT_EQ(label->geometry(), QRect(20, 20, 100, 20));
}


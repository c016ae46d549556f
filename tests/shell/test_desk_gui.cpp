// The working windows at the chart table, on a 1280x800 screen: size, Tab order, mnemonics,
// tooltips, help at the window's own section, and the desk put back at the next start.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "shell/MDIFormMain.h"
#include "shell/frmGeneral.h"
#include "shell/frmHelp.h"
#include "fix/frmPosition.h"
#include "support/gui_support.h"
#include "map/frmDetails.h"
#include "map/mPlotLines.h"
#include "ui/mConvertion.h"
#include "support/nav_fixture.h"

namespace {

// Every working window: the toolbar's keys but the help.
QStringList WindowKeys(const MDIFormMain& main) {
    QStringList keys;
    for (QAction* a : main.Toolbar1()->actions()) {
        const QString key = a->data().toString();
        if (!a->isSeparator() && key != QLatin1String("Help")) keys << key;
    }
    return keys;
}

class Desk : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::LoadDataFiles(); }
    void SetUp() override {
        ClearSettings();
        NavigationState = KnownState();
        main_ = MakeMain();
    }
    void TearDown() override {
        main_.reset();
        LastFix = FixResult{};
    }
    // A main window on a 1280x800 screen.
    static std::unique_ptr<MDIFormMain> MakeMain() {
        auto m = std::make_unique<MDIFormMain>();
        EXPECT_TRUE(m->Load());
        m->setGeometry(0, 0, 1280, 800);
        m->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m.get()));
        return m;
    }
    ChildWindow* Open(const QString& key) {
        main_->Toolbar1_ButtonClick(main_->ButtonByKey(key));
        QApplication::processEvents();
        return main_->WindowOfKey(key);
    }
    static QMdiSubWindow* Frame(QWidget* w) { return qobject_cast<QMdiSubWindow*>(w->parentWidget()); }
    // A fix of four star lines, enough for the details table to fill every column.
    static void FourLineFix() {
        const DateValue t = NavigationState.LocalDate - NavigationState.TZ / 24.0;
        LastFix = FixResult{};
        LastFix.FixTime = NavigationState.LocalDate;
        LastFix.DRLat = LastFix.FixLat = NavigationState.Lat;
        LastFix.DRLon = LastFix.FixLon = NavigationState.Lon;
        LastFix.Lines.Body = {7001, 1708, 8728, 424};
        for (size_t i = 0; i < 4; ++i) {
            LastFix.LineTime[i] = t;
            LastFix.LinePos[i] = {NavigationState.Lat, NavigationState.Lon};
            LastFix.Hs[i] = LastFix.Hc[i] = 30.0;
            LastFix.Az[i] = 90.0 * static_cast<double>(i);
            LastFix.Weight[i] = 1.0;
        }
    }
    LocaleScope scope_{PointLocale()};
    std::unique_ptr<MDIFormMain> main_;
};

// The widgets Tab reaches from `first`, in order, by object name.
QStringList TabChain(QWidget* window, QWidget* first) {
    QStringList names;
    QWidget* w = first;
    do {
        if (w->isVisibleTo(window) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && window->isAncestorOf(w))
            names << w->objectName();
        w = w->nextInFocusChain();
    } while (w && w != first && names.size() < 60);
    return names;
}

// Every header section of a table shows whole in its viewport.
void ExpectAllColumnsShow(QTreeWidget* table, const char* what) {
    for (int c = 0; c < table->columnCount(); ++c) {
        const int right = table->header()->sectionViewportPosition(c) + table->header()->sectionSize(c);
        EXPECT_LE(right, table->viewport()->width()) << what << " column " << c;
    }
    QTreeWidgetItem* last = table->topLevelItem(table->topLevelItemCount() - 1);
    EXPECT_LE(table->visualItemRect(last).bottom(), table->viewport()->height()) << what << " last row";
}

}  // namespace

// Each working window: whole on the screen with every column showing, Alt+letters never
// twice beside the menu bar's, tooltips everywhere, no smaller than its controls.
TEST_F(Desk, EveryWindowOpensWholeWithUniqueMnemonicsTooltipsAndRoomForItsControls) {
    FourLineFix();
    auto letterOf = [](const QString& text) {
        const qsizetype i = text.indexOf(QLatin1Char('&'));
        return i >= 0 && i + 1 < text.size() ? text.at(i + 1).toUpper() : QChar();
    };
    QString menu;
    for (QAction* a : main_->menuBar()->actions()) menu += letterOf(a->text());
    EXPECT_EQ(menu, QStringLiteral("ECGWH"));
    const QStringList keys = WindowKeys(*main_);
    ASSERT_EQ(keys.size(), 13);
    for (const QString& keyText : keys) {
        const std::string key = keyText.toStdString();
        ChildWindow* w = Open(keyText);
        ASSERT_NE(w, nullptr) << key;
        QMdiSubWindow* sub = Frame(w);
        // On the 1280x800 screen: the window whole inside the client area.
        EXPECT_TRUE(main_->Area()->viewport()->rect().contains(sub->geometry())) << key;
        if (auto* page = w->findChild<QTreeWidget*>(QStringLiteral("lvEphemer"))) ExpectAllColumnsShow(page, key.c_str());
        if (auto* d = qobject_cast<frmDetails*>(w)) {
            EXPECT_EQ(d->ListView1->columnCount(), 5);
            ExpectAllColumnsShow(d->ListView1, key.c_str());
        }
        QString seen = menu;
        for (QWidget* c : w->findChildren<QWidget*>()) {
            const QString name = c->objectName();
            QString text;  // the caption that can carry an Alt+letter
            if (auto* b = qobject_cast<QAbstractButton*>(c)) text = b->text();
            if (auto* g = qobject_cast<QGroupBox*>(c)) text = g->title();
            if (auto* l = qobject_cast<QLabel*>(c); l && l->buddy()) text = l->text();
            const QChar letter = letterOf(text);
            if (!letter.isNull()) {
                EXPECT_FALSE(seen.contains(letter)) << key << ": " << text.toStdString();
                seen += letter;
            }
            // The captions of the rise and set table, boxes and buttons (not tool buttons) say what they hold.
            const bool inBox = qobject_cast<QComboBox*>(c->parentWidget()) || qobject_cast<QAbstractSpinBox*>(c->parentWidget());
            if ((qobject_cast<QAbstractButton*>(c) && c->isVisibleTo(w) && !qobject_cast<QToolButton*>(c)) ||
                (qobject_cast<QLineEdit*>(c) && !inBox) || qobject_cast<QComboBox*>(c) || qobject_cast<QAbstractSpinBox*>(c) ||
                (name.startsWith(QLatin1String("lblRS_Def_")) && name != "lblRS_Def_5" && name != "lblRS_Def_8")) {
                EXPECT_FALSE(c->toolTip().isEmpty()) << key << " " << name.toStdString();
            }
        }
        for (QTreeWidget* t : w->findChildren<QTreeWidget*>()) {
            for (int c = 0; c < t->columnCount(); ++c)
                EXPECT_FALSE(t->headerItem()->toolTip(c).isEmpty()) << key << " column " << c;
            // Row headers: the caption of every details row that has one.
            for (int r = 0; qobject_cast<frmDetails*>(w) && r < t->topLevelItemCount(); ++r)
                EXPECT_TRUE(t->topLevelItem(r)->text(0).isEmpty() || !t->topLevelItem(r)->toolTip(0).isEmpty()) << key << " row " << r;
        }
        // Dragged as small as can be: every control keeps its room inside the window.
        sub->resize(40, 40);
        QApplication::processEvents();
        EXPECT_TRUE(w->width() >= w->minimumWidth() && w->height() >= w->minimumHeight()) << key;
        for (QWidget* c : w->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!c->isVisibleTo(w) || c->width() < 2) continue;
            EXPECT_TRUE(w->rect().contains(c->geometry())) << key << " " << c->objectName().toStdString();
            EXPECT_GE(c->font().pointSizeF(), MinimumFontPointSize() - 1e-9) << key << " " << c->objectName().toStdString();
        }
    }
}

TEST_F(Desk, TabFollowsTheScreen) {
    auto* general = static_cast<frmGeneral*>(Open("General"));
    EXPECT_EQ(TabChain(general, general->Text1[0]),
              QStringList({"Text1_0", "Text1_10", "Text1_9", "Text1_1", "Text1_2", "Text1_3", "Text1_4", "Text1_5",
                           "Text1_6", "Text1_7", "Text1_8", "txtClockError", "Command1", "Command2"}));
    auto* position = static_cast<frmPosition*>(Open("Position"));
    QStringList expected;
    for (int i = 0; i < 4; ++i)
        expected << QStringLiteral("Combo1_%1").arg(i) << QStringLiteral("Text1_%1").arg(i)
                 << QStringLiteral("Text2_%1").arg(i) << QStringLiteral("Check2_%1").arg(i);
    // The chosen map option stands for its group.
    expected << "Command1" << "Command2" << "Command4" << "Option1_0" << "Check1" << "Text3" << "chkIterate" << "cmdGpx" << "cmdMoreSights";
    QStringList chain = TabChain(position, position->Combo1[0]);
    chain.removeAll(QStringLiteral("Option1_1"));
    chain.removeAll(QStringLiteral("Option1_2"));
    EXPECT_EQ(chain, expected);
}

TEST_F(Desk, ABadDeskGeometryFallsBackToTheDefault) {
    // A geometry that cannot be read, a window far off the client area: the default placement.
    main_->close();
    PutSettings({{"Desk/MainGeometry", QByteArray("not a geometry")}, {"Desk/MainState", QByteArray("\x01\x02")},
                 {"Desk/Window_Compass", QRect(5000, -300, 400, 200)}, {"Desk/OpenWindows", QStringList({"Compass", "Nonsense"})}});
    main_ = MakeMain();
    const QRect before = main_->geometry();
    main_->RestoreDesk();
    EXPECT_EQ(main_->geometry(), before);
    ChildWindow* compass = main_->WindowOfKey(QStringLiteral("Compass"));
    ASSERT_NE(compass, nullptr);
    const QSize client = main_->Area()->viewport()->size();
    EXPECT_NEAR(Frame(compass)->x(), (client.width() - Frame(compass)->width()) / 2, 1);
    EXPECT_EQ(main_->Area()->subWindowList().size(), 1);
}

// F1 in every window opens the help at that window's own section, one that the
// document has; the help says when a find has no match or no browser can start.
TEST_F(Desk, EveryWindowsF1OpensItsOwnSection) {
    FourLineFix();
    QFile file(MDIFormMain::HelpFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QStringList sections;
    for (const QString& key : WindowKeys(*main_)) {
        ChildWindow* w = Open(key);
        QWidget* focus = w->nextInFocusChain();
        while (focus != w && !(focus->focusPolicy() & Qt::TabFocus && focus->isEnabled() && w->isAncestorOf(focus)))
            focus = focus->nextInFocusChain();
        main_->activateWindow();  // back from the help window, as a click on the window does
        EXPECT_TRUE(QTest::qWaitForWindowActive(main_.get()));
        focus->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(focus, Qt::Key_F1);
        frmHelp* help = main_->HelpWindow();
        ASSERT_NE(help, nullptr) << key.toStdString();
        const QString section = help->Browser->source().fragment();
        EXPECT_NE(section, QStringLiteral("start")) << key.toStdString();
        EXPECT_TRUE(html.contains(QStringLiteral("id=\"%1\"").arg(section))) << key.toStdString();
        EXPECT_FALSE(sections.contains(section)) << key.toStdString() << " shares " << section.toStdString() ;
        sections << section;
        EXPECT_TRUE((key != QLatin1String("Position") && key != QLatin1String("General")) || section == key.toLower());
    }
    // One help window, shown; Back and Forward walk the sections seen; the toolbar's Help reuses it.
    frmHelp* help = main_->HelpWindow();
    EXPECT_TRUE(help->isVisible());
    ASSERT_TRUE(help->cmdBack->isEnabled());
    QTest::mouseClick(help->cmdBack, Qt::LeftButton);
    EXPECT_EQ(help->Browser->source().fragment(), sections[sections.size() - 2]);
    EXPECT_TRUE(help->cmdForward->isEnabled());
    main_->ButtonByKey(QStringLiteral("Help"))->trigger();
    EXPECT_EQ(main_->HelpWindow(), help);
    help->txtFind->setText(QStringLiteral("worked example"));
    EXPECT_TRUE(help->FindNext());
    EXPECT_EQ(help->Browser->textCursor().selectedText().toLower(), QStringLiteral("worked example"));
    EXPECT_TRUE(help->lblExternal->text().contains(QUrl::fromLocalFile(MDIFormMain::HelpFilePath()).toString()));
    help->txtFind->setText(QStringLiteral("no such words here"));
    EXPECT_FALSE(help->FindNext());
    EXPECT_EQ(help->lblFindStatus->text(), QStringLiteral("Not found"));
    help->txtFind->setText(QStringLiteral("Polaris"));
    EXPECT_TRUE(help->FindNext());
    EXPECT_EQ(help->lblFindStatus->text(), QString());
    const auto open = frmHelp::OpenExternally;
    frmHelp::OpenExternally = [](const QUrl&) { return false; };  // no launcher
    DialogRecorder rec;
    emit help->lblExternal->linkActivated(QUrl::fromLocalFile(MDIFormMain::HelpFilePath()).toString());
    frmHelp::OpenExternally = open;
    EXPECT_TRUE(rec.messages.size() == 1 && rec.messages[0].text.startsWith(QStringLiteral("No desktop browser")));
}

// Every window open at exit comes back, inside a main window now smaller, the top
// one on top; the Window menu lists them, cascades and tiles them.
TEST_F(Desk, EveryWindowComesBackInsideASmallerMainWindow) {
    const QStringList keys = WindowKeys(*main_);
    for (const QString& key : keys) Open(key);
    QMenu* window = main_->findChild<QMenu*>(QStringLiteral("mnuWindow"));
    ASSERT_NE(window, nullptr);
    emit window->aboutToShow();
    for (const QString& key : keys)
        EXPECT_NE(window->findChild<QAction*>("mnuWindow_" + main_->WindowOfKey(key)->objectName()), nullptr) << key.toStdString();
    window->findChild<QAction*>(QStringLiteral("mnuCascade"))->trigger();
    QPoint last(-1, -1);
    for (QMdiSubWindow* sub : main_->Area()->subWindowList()) {
        EXPECT_TRUE(main_->Area()->viewport()->rect().contains(sub->pos())) << sub->objectName().toStdString();
        EXPECT_NE(sub->pos(), last);  // one behind the other, each title bar showing
        last = sub->pos();
    }
    window->findChild<QAction*>(QStringLiteral("mnuTile"))->trigger();
    for (const QString& key : keys)
        EXPECT_TRUE(main_->Area()->viewport()->rect().contains(Frame(main_->WindowOfKey(key))->pos()))
            << key.toStdString();
    window->findChild<QAction*>(QStringLiteral("mnuWindow_frmGeneral"))->trigger();
    EXPECT_EQ(main_->Area()->activeSubWindow(), Frame(main_->WindowOfKey(QStringLiteral("General"))));
    for (const QString& key : keys) {
        QMdiSubWindow* sub = Frame(main_->WindowOfKey(key));
        sub->move(main_->Area()->viewport()->width() - sub->width(), 10);
    }
    // A window closed stays closed; the one on top comes back where it was, still on top.
    Frame(main_->WindowOfKey(QStringLiteral("Position")))->close();
    QMdiSubWindow* compass = Frame(main_->WindowOfKey(QStringLiteral("Compass")));
    compass->move(30, 40);
    main_->Area()->setActiveSubWindow(compass);

    main_->close();  // keeps the desk
    main_ = MakeMain();
    PutSettings({{"Desk/MainGeometry", QVariant()}});  // the main window as it now is, smaller
    main_->setGeometry(0, 0, 1100, 720);
    QApplication::processEvents();
    main_->RestoreDesk();
    QApplication::processEvents();
    const QRect client = main_->Area()->viewport()->rect();
    for (const QString& key : keys) {
        ChildWindow* w = main_->WindowOfKey(key);
        if (key == QLatin1String("Position")) {
            EXPECT_EQ(w, nullptr);
            continue;
        }
        ASSERT_NE(w, nullptr) << key.toStdString();
        const QRect g = Frame(w)->geometry();  // inside, but for a window wider than the client area
        EXPECT_TRUE(Frame(w)->isVisible() && g.left() >= 0 && g.top() >= 0 &&
                    (g.right() <= client.right() || Frame(w)->minimumWidth() > client.width())) << key.toStdString();
    }
    EXPECT_EQ(Frame(main_->WindowOfKey(QStringLiteral("Compass")))->x(), 30);  // where it was across; raised if it no longer fits below
    EXPECT_EQ(main_->Area()->activeSubWindow(), Frame(main_->WindowOfKey(QStringLiteral("Compass"))));
}

// The status bar and every open window of results follow new working data.
TEST_F(Desk, SaveInfoAppliesAndTheStatusBarAndEveryOpenWindowOfResultsFollow) {
    DialogRecorder rec;
    MDIFormMain* m = main_.get();
    EXPECT_EQ(m->StatusLabel()->text(),
              QStringLiteral("Zone time 12/06/2026 14:35 (zone +3)    UT 12/06/2026 11:35    DR 43-07.2N 131-54.0E    "
                             "Course 045.0\u00B0    Speed 12.5 kn"));
    for (const char* key : {"RiseSet", "Position", "Ephemerides", "Compass", "Annual", "General"}) Open(QLatin1String(key));
    auto* general = qobject_cast<frmGeneral*>(m->WindowOfKey(QStringLiteral("General")));
    ASSERT_NE(general, nullptr);
    // A new year and zone -02, kept by Save Info.
    general->Text1[0]->setText(QStringLiteral("01/15/27"));
    TypeInto(general->Text1[9], QStringLiteral("-02"));
    QTest::mouseClick(general->Command2, Qt::LeftButton);
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_EQ(NavigationState.TZ, -2.0f);  // what Save Info writes: test_general_gui
    EXPECT_TRUE(m->StatusLabel()->text().startsWith(QStringLiteral("Zone time 01/15/2027 14:35 (zone -2)    UT 01/15/2027 16:35")))
        << m->StatusLabel()->text().toStdString();
    for (const auto& [key, label] : {std::pair{"RiseSet", "lblRS_Def_5"}, {"Position", "lblGenInfo"}, {"Compass", "Label1"}})
        EXPECT_TRUE(m->WindowOfKey(key)->findChild<QLabel*>(label)->text().contains(QStringLiteral("TimeZone = -2"))) << key;
    EXPECT_TRUE(m->WindowOfKey(QStringLiteral("Ephemerides"))->windowTitle().contains(FormatLongDate(NavigationState.LocalDate)));
    EXPECT_EQ(m->WindowOfKey(QStringLiteral("Annual"))->findChild<QComboBox*>(QStringLiteral("Combo1"))->currentText(),
              QStringLiteral("2027"));
}

// A four-line fix arriving in a details window put against the right edge with one line: the
// window grows for the new columns and stays whole, the plot and its zoom buttons in view.
TEST_F(Desk, AFourLineFixInAnOpenDetailsKeepsThePlotInView) {
    for (const bool first : {false, true}) {
        // Opened before any fix, or with a one-line fix, where the window was put.
        FourLineFix();
        LastFix.Lines.Body = {7001, kNoBody, kNoBody, kNoBody};
        for (size_t i = 1; i < 4; ++i) LastFix.Weight[i] = 0.0;
        if (first) LastFix.FixTime = 0.0;
        auto* d = qobject_cast<frmDetails*>(Open("Details"));
        ASSERT_NE(d, nullptr);
        const QRect client = main_->Area()->viewport()->rect();
        Frame(d)->move(client.width() - Frame(d)->width(), client.height() - Frame(d)->height());
        FourLineFix();
        LastFix.Lines.Body = {8728, 2491, 6134, 5340};  // long names: Fomalhaut, Sirius, Antares, Arcturus
        d = qobject_cast<frmDetails*>(Open("Details"));
        ASSERT_EQ(d->ListView1->columnCount(), 5);
        EXPECT_TRUE(client.contains(Frame(d)->geometry()));
        for (QWidget* c : {static_cast<QWidget*>(d->Picture1), static_cast<QWidget*>(d->cmdZoomIn),
                           static_cast<QWidget*>(d->cmdZoomOut)}) {
            const QRect inArea(c->mapTo(main_->Area()->viewport(), QPoint(0, 0)), c->size());
            EXPECT_TRUE(client.contains(inArea)) << c->objectName().toStdString();
        }
        Frame(d)->close();
        QApplication::processEvents();
    }
}

#include "shell/MDIFormMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QToolBar>
#include <algorithm>
#include <memory>

#include "almanac/frmPrintPages.h"
#include "shell/WindowFactories.h"
#include "shell/frmGeneral.h"
#include "shell/frmHelp.h"
#include "planning/frmSightPlan.h"
#include "log/frmSightLog.h"
#include "log/mSessionLog.h"
#include "log/mSightLogQt.h"
#include "shell/frmSplash.h"
#include "ui/mConvertion.h"
#include "fix/frmPosition.h"
#include "fix/frmSession.h"
#include "fix/mLastFix.h"
#include "map/frmDetails.h"
#include "ui/mImages.h"
#include "ui/mLayout.h"
#include "ui/mDialogs.h"
#include "ui/mPublicVarsQt.h"
#include "core/mFault.h"


namespace {

MDIFormMain* g_main = nullptr;

struct ButtonSpec {
    const char* caption;
    const char* key;
    const char* tooltip;
};
// The toolbar, in order; an empty key is a separator.
constexpr ButtonSpec kButtons[] = {
    {"General info", "General", "General Info"},
    {"", "", ""},
    {"Rise/Set", "RiseSet", "Planetary data: Rise/Set/Transit"},
    {"Ephemerides", "Ephemerides", "Planetary ephemerides"},
    {"Annual pages", "Annual", "Annual Pages"},
    {"", "", ""},
    {"Fix position", "Position", "Calculate position"},
    {"Details", "Details", "Detailed position"},
    {"Session", "Session", "Twilight session: any number of sights"},
    {"Sight log", "SightLog", "Sight log: the recorded fixes"},
    {"Sight plan", "SightPlan", "Twilight sight plan"},
    {"Noon", "Noon", "Noon sight"},
    {"Polaris", "Polaris", "Latitude by Polaris"},
    {"Lunar", "Lunar", "Lunar distance: time and longitude from the Moon"},
    {"", "", ""},
    {"Compass", "Compass", "Compass correction"},
    {"", "", ""},
    {"Help", "Help", "Help"},
};

// The keys of the windows the desk remembers: every working window of the
// toolbar (the details window comes back showing the last fix of the new run, or
// that there is none yet).
constexpr const char* kDeskKeys[] = {"General",  "RiseSet", "Ephemerides", "Annual",    "Position", "Details",
                                     "SightLog", "SightPlan", "Noon",      "Polaris",  "Compass", "Lunar",
                                     "Session"};

// A window wholly inside the client area: shrunk to it when larger (never below
// its minimum), then moved in, so its title bar and close button show.
void KeepInside(QMdiSubWindow* sub, const QSize& client) {
    if (client.width() < 100 || client.height() < 100) return;
    QRect g = sub->geometry();
    g.setSize(g.size().boundedTo(client).expandedTo(sub->minimumSize()));
    g.moveLeft(std::max(0, std::min(g.left(), client.width() - g.width())));
    g.moveTop(std::max(0, std::min(g.top(), client.height() - g.height())));
    sub->setGeometry(g);
}

QSettings* DeskSettings() {
    auto* s = new QSettings(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Veltrano"),
                            QStringLiteral("Veltrano"));
    s->beginGroup(QStringLiteral("Desk"));
    return s;
}

// The frame an MDI subwindow draws round its window: borders and title bar.
QSize SubWindowFrame(const QMdiSubWindow* sub) {
    QStyleOptionTitleBar option;
    option.initFrom(sub);
    const int title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, sub);
    const int border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
    return QSize(2 * border, title + border);
}

}  // namespace

MDIFormMain* MainForm() { return g_main; }

MDIFormMain::MDIFormMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MDIFormMain"));
    g_main = this;
    setWindowTitle(QStringLiteral("Veltrano"));
    setWindowIcon(ProgramIcon());
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    mdiArea_->setBackground(QColor(128, 128, 128));
    setCentralWidget(mdiArea_);
    BuildToolbar();
    BuildMenu();
    lblWorkingData_ = new QLabel(this);
    lblWorkingData_->setObjectName(QStringLiteral("lblWorkingData"));
    lblWorkingData_->setToolTip(QStringLiteral("The working data: zone date and time with the zone (hours east of "
                                               "Greenwich), UT, dead-reckoning position, course (degrees true) "
                                               "and speed (knots). General info changes it."));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(lblWorkingData_, 1);
}

MDIFormMain::~MDIFormMain() {
    if (g_main == this) g_main = nullptr;
}

void MDIFormMain::BuildToolbar() {
    toolbar_ = addToolBar(QStringLiteral("Toolbar1"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(32, 32));
    for (const ButtonSpec& b : kButtons) {
        const QString key = QLatin1String(b.key);
        if (key.isEmpty()) {
            toolbar_->addSeparator();
            continue;
        }
        QAction* a = toolbar_->addAction(ButtonImage(key), QLatin1String(b.caption));
        a->setObjectName(QStringLiteral("Toolbar1_") + key);
        a->setData(key);
        a->setToolTip(QLatin1String(b.tooltip));
        connect(a, &QAction::triggered, this, [this, a] { Toolbar1_ButtonClick(a); });
        buttons_.insert(key, a);
    }
}

QAction* MDIFormMain::MenuItem(QMenu* menu, const char* name, const QString& caption, const QString& key) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    connect(item, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(ButtonByKey(key)); });
    return item;
}

void MDIFormMain::BuildMenu() {
    QMenuBar* bar = menuBar();
    QMenu* mnuEphemerides = bar->addMenu(QStringLiteral("&Ephemerides"));
    mnuEphemerides->setObjectName(QStringLiteral("mnuEphemerides"));
    QMenu* mnuDaily = mnuEphemerides->addMenu(QStringLiteral("&Daily pages"));
    mnuDaily->setObjectName(QStringLiteral("mnuDaily"));
    MenuItem(mnuDaily, "mnuRiseSet", QStringLiteral("&Rise/Set/Transit"), QStringLiteral("RiseSet"));
    MenuItem(mnuDaily, "mnuPlanet", QStringLiteral("&Planetary data"), QStringLiteral("Ephemerides"));
    MenuItem(mnuEphemerides, "mnuAnnual", QStringLiteral("&Annual pages"), QStringLiteral("Annual"));
    mnuEphemerides->addSeparator();
    QAction* mnuPrintPages = mnuEphemerides->addAction(QStringLiteral("P&rint daily pages…"));
    mnuPrintPages->setObjectName(QStringLiteral("mnuPrintPages"));
    connect(mnuPrintPages, &QAction::triggered, this, [this] {
        // One dialog; it is deleted when closed (after any run has ended).
        if (!printPages_) {
            printPages_ = new frmPrintPages(this);
            printPages_->setAttribute(Qt::WA_DeleteOnClose);
        }
        printPages_->show();
        printPages_->raise();
        printPages_->activateWindow();
    });

    QMenu* mnuCalc = bar->addMenu(QStringLiteral("&Calculation"));
    mnuCalc->setObjectName(QStringLiteral("mnuCalc"));
    MenuItem(mnuCalc, "mnuPosition", QStringLiteral("&Position"), QStringLiteral("Position"));
    MenuItem(mnuCalc, "mnuSession", QStringLiteral("&Twilight session"), QStringLiteral("Session"));
    MenuItem(mnuCalc, "mnuCompass", QStringLiteral("&Compass Error"), QStringLiteral("Compass"));
    MenuItem(mnuCalc, "mnuSightLog", QStringLiteral("&Sight log"), QStringLiteral("SightLog"));
    mnuCalc->addSeparator();
    MenuItem(mnuCalc, "mnuSightPlan", QStringLiteral("Sight p&lan"), QStringLiteral("SightPlan"));
    MenuItem(mnuCalc, "mnuNoon", QStringLiteral("&Noon sight"), QStringLiteral("Noon"));
    MenuItem(mnuCalc, "mnuPolaris", QStringLiteral("Latitude by P&olaris"), QStringLiteral("Polaris"));
    MenuItem(mnuCalc, "mnuLunar", QStringLiteral("L&unar distance"), QStringLiteral("Lunar"));

    // A top-level item that acts at once.
    QAction* mnuGeneral = bar->addAction(QStringLiteral("&GeneralInfo"));
    mnuGeneral->setObjectName(QStringLiteral("mnuGeneral"));
    connect(mnuGeneral, &QAction::triggered, this,
            [this] { Toolbar1_ButtonClick(ButtonByKey(QStringLiteral("General"))); });

    // The open windows: arranged, or one brought to the front.
    QMenu* mnuWindow = bar->addMenu(QStringLiteral("&Window"));
    mnuWindow->setObjectName(QStringLiteral("mnuWindow"));
    connect(mnuWindow, &QMenu::aboutToShow, this, [this, mnuWindow] { FillWindowMenu(mnuWindow); });
    FillWindowMenu(mnuWindow);

    QMenu* mnuHelp = bar->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    QAction* topics = MenuItem(mnuHelp, "mnuHepTopics", QStringLiteral("&Help topics"), QStringLiteral("Help"));
    topics->setShortcut(QKeySequence(Qt::Key_F1));
    topics->setShortcutContext(Qt::ApplicationShortcut);
    QAction* about = mnuHelp->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    about->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    about->setShortcutContext(Qt::ApplicationShortcut);
    connect(about, &QAction::triggered, this, [this] { ShowAbout(); });
}

void MDIFormMain::FillWindowMenu(QMenu* menu) {
    menu->clear();
    QAction* cascade = menu->addAction(QStringLiteral("&Cascade"));
    cascade->setObjectName(QStringLiteral("mnuCascade"));
    connect(cascade, &QAction::triggered, mdiArea_, &QMdiArea::cascadeSubWindows);
    QAction* tile = menu->addAction(QStringLiteral("&Tile"));
    tile->setObjectName(QStringLiteral("mnuTile"));
    connect(tile, &QAction::triggered, mdiArea_, &QMdiArea::tileSubWindows);
    int n = 0;
    for (QMdiSubWindow* sub : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isVisible() || !sub->widget()) continue;
        if (n == 0) menu->addSeparator();
        ++n;
        const QString caption = sub->widget()->windowTitle();
        QAction* item = menu->addAction(n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(caption) : caption);
        item->setObjectName(QStringLiteral("mnuWindow_") + sub->widget()->objectName());
        item->setCheckable(true);
        item->setChecked(sub == mdiArea_->activeSubWindow());
        QPointer<QMdiSubWindow> target(sub);
        connect(item, &QAction::triggered, this, [this, target] {
            if (!target) return;
            if (target->isMinimized()) target->showNormal();
            mdiArea_->setActiveSubWindow(target);
        });
    }
    cascade->setEnabled(n > 0);
    tile->setEnabled(n > 0);
}

QAction* MDIFormMain::ButtonByKey(const QString& key) const { return buttons_.value(key, nullptr); }

bool MDIFormMain::Load() {
    if (!LoadSharedState()) return false;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->availableGeometry());
    // The frame keeps the screen's size: no maximise button.
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    firstResize_ = true;
    setWindowTitle(QStringLiteral("Veltrano"));
    UpdateStatusBar();
    return true;
}

QString MDIFormMain::WorkingDataText() {
    const NavigationStateRecord& n = NavigationState;
    const DateValue ut = n.LocalDate - static_cast<double>(n.TZ) / 24.0;
    const QString zone = (n.TZ >= 0.0f ? QStringLiteral("+") : QString()) + NumberText(n.TZ);
    return QStringLiteral("Zone time %1 %2 (zone %3)    UT %4 %5    DR %6 %7    Course %8\u00B0    Speed %9 kn")
        .arg(FormatShortDate(n.LocalDate), FormatShortTime(n.LocalDate), zone, FormatShortDate(ut),
             FormatShortTime(ut), FormatLatLon(n.Lat, true), FormatLatLon(n.Lon, false),
             FormatNumber(n.Course, QStringLiteral("000.0")), FormatNumber(n.Speed, QStringLiteral("00.0")));
}

void MDIFormMain::UpdateStatusBar() {
    if (lblWorkingData_) lblWorkingData_->setText(WorkingDataText());
}


void MDIFormMain::DetailsRequested() {
    if (!LastFixIsSession && LastFix.FixTime == 0.0) {
        // Nothing to show: only the labels of an open details window change.
        if (auto* d = qobject_cast<frmDetails*>(FindChild(QStringLiteral("frmDetails"))))
            d->Report(LastFix);
        return;
    }
    Toolbar1_ButtonClick(ButtonByKey(QStringLiteral("Details")));
}

void MDIFormMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!firstResize_) return;
    firstResize_ = false;
    // The windows the splash loaded in advance stay hidden until opened.
    for (const char* name : {"frmRiseSet", "frmPosition"}) {
        if (ChildWindow* w = FindChild(QLatin1String(name))) {
            if (QWidget* frame = w->parentWidget()) frame->hide();
        }
    }
}

ChildWindow* MDIFormMain::WindowOfKey(const QString& key) const { return windows_.value(key).data(); }

void MDIFormMain::Register(const QString& key, ChildWindow* window) {
    windows_.insert(key, window);
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    if (!sub) {
        sub = mdiArea_->addSubWindow(window);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setObjectName(window->objectName() + QStringLiteral("_frame"));
        const QSize design = window->DesignSizeTwips();
        if (design.isValid() && !design.isEmpty())
            sub->resize(TwipsToPixels(design));
        else
            sub->adjustSize();
        // Room for all the window computes, as far as the client area allows.
        const QSize frame = SubWindowFrame(sub);
        const QSize content = window->ContentSize().expandedTo(window->minimumSize());
        if (content.isValid() && !content.isEmpty()) {
            const QSize client = mdiArea_->viewport() ? mdiArea_->viewport()->size() : mdiArea_->size();
            QSize outer = sub->size().expandedTo(content + frame);
            if (client.width() > 100 && client.height() > 100) outer = outer.boundedTo(client);
            sub->resize(outer);
        }
        // A window of fixed size cannot be maximised.
        if (window->minimumSize() == window->maximumSize() ||
            (window->layout() && window->layout()->sizeConstraint() == QLayout::SetFixedSize))
            sub->setWindowFlag(Qt::WindowMaximizeButtonHint, false);
        CentreInClientArea(sub, mdiArea_);
        sub->hide();
        window->Placed();
    }
    if (QAction* button = ButtonByKey(key)) {
        sub->setWindowIcon(button->icon());
        window->setWindowIcon(button->icon());
    }
}

ChildWindow* MDIFormMain::LoadChild(const QString& key) {
    if (ChildWindow* w = windows_.value(key)) return w;
    ChildWindow* w = CreateChildWindow(key, nullptr);
    if (!w) return nullptr;
    Register(key, w);
    Connect(w);
    return w;
}

ChildWindow* MDIFormMain::OpenWindow(const QString& key) {
    Toolbar1_ButtonClick(ButtonByKey(key));
    return WindowOfKey(key);
}

void MDIFormMain::Connect(ChildWindow* window) {
    if (auto* general = qobject_cast<frmGeneral*>(window)) {
        // Apply or Save Info: the open windows recompute and the status bar follows.
        connect(general, &frmGeneral::workingDataChanged, this, &MDIFormMain::WorkingDataChanged);
    } else if (auto* position = qobject_cast<frmPosition*>(window)) {
        connect(position, &frmPosition::detailsRequested, this, &MDIFormMain::DetailsRequested);
        // Every calculated fix goes into the sight log; an open log window lists it.
        connect(position, &frmPosition::fixCalculated, this, [this, position](const FixResult& fix) {
            if (RecordFixInLog(position, fix))
                if (ChildWindow* log = WindowOfKey(QStringLiteral("SightLog"))) log->Update();
        });
        // "More sights...": the session window takes the four lines on the work's UT date.
        connect(position, &frmPosition::moreSightsRequested, this, [this, position] {
            const SightLines lines = position->CurrentLines();
            if (auto* session = qobject_cast<frmSession*>(OpenWindow(QStringLiteral("Session"))))
                session->TakeLines(lines, NavigationState.LocalDate - NavigationState.TZ / 24.0);
        });
    } else if (auto* session = qobject_cast<frmSession*>(window)) {
        connect(session, &frmSession::detailsRequested, this, &MDIFormMain::DetailsRequested);
        connect(session, &frmSession::sessionCalculated, this, [this, session] {
            if (RecordSessionInLog(session, NavigationState, session->Result()))
                if (ChildWindow* log = WindowOfKey(QStringLiteral("SightLog"))) log->Update();
        });
    } else if (auto* plan = qobject_cast<frmSightPlan*>(window)) {
        // The plan's bodies ringed on the position window's map, or put into its lines.
        connect(plan, &frmSightPlan::markRequested, this, [this](const QVector<int>& codes, double ut) {
            if (auto* p = qobject_cast<frmPosition*>(OpenWindow(QStringLiteral("Position"))))
                p->MarkPlannedBodies(codes, ut);
        });
        connect(plan, &frmSightPlan::linesRequested, this,
                [this](const QVector<int>& codes, const QVector<double>& times, const QVector<double>& altitudes) {
                    if (auto* p = qobject_cast<frmPosition*>(OpenWindow(QStringLiteral("Position"))))
                        p->FillLines(codes, times, altitudes);
                });
    } else if (auto* log = qobject_cast<frmSightLog*>(window)) {
        // A reopened fix: its working data and sights in the general information and position windows.
        connect(log, &frmSightLog::fixReopened, this, [this](const LoggedFix& fix) {
            const bool loaded = NavigationState.StateLoaded;
            NavigationState = fix.Working;
            NavigationState.StateLoaded = loaded;
            if (auto* general = qobject_cast<frmGeneral*>(OpenWindow(QStringLiteral("General"))))
                general->FillBoxes();
            WorkingDataChanged();  // the open windows and the status bar
            try {
                if (IsLoggedSession(fix)) {
                    if (auto* session = qobject_cast<frmSession*>(OpenWindow(QStringLiteral("Session"))))
                        session->ShowSights(SessionSightsOf(fix));
                } else if (auto* position = qobject_cast<frmPosition*>(OpenWindow(QStringLiteral("Position")))) {
                    position->ShowSights(SightLinesOf(fix));
                }
            } catch (const ArithmeticFault& fault) {
                ShowMessage(this, QStringLiteral("Calculation error"), QString::fromStdString(fault.what()),
                            MsgIcon::Exclamation);
            }
        });
    }
}

void MDIFormMain::WorkingDataChanged() {
    // Every open window that shows results of the working data; the annual
    // events follow only a change of year (frmAnnual::Update).
    for (const char* key : {"Position", "RiseSet", "Ephemerides", "Compass", "Annual", "SightPlan", "Noon", "Polaris", "Lunar"}) {
        ChildWindow* w = WindowOfKey(QLatin1String(key));
        if (!w) continue;
        try {
            w->Update();
        } catch (const ArithmeticFault& fault) {
            ShowMessage(w, QStringLiteral("Calculation error"), QString::fromStdString(fault.what()),
                        MsgIcon::Exclamation);
        }
    }
    UpdateStatusBar();
}

ChildWindow* MDIFormMain::FindChild(const QString& windowName) const {
    for (const QPointer<ChildWindow>& w : windows_)
        if (w && w->objectName() == windowName) return w.data();
    return nullptr;
}

QList<ChildWindow*> MDIFormMain::Children() const {
    QList<ChildWindow*> out;
    for (const QPointer<ChildWindow>& w : windows_)
        if (w) out.append(w.data());
    return out;
}

void MDIFormMain::Toolbar1_ButtonClick(QAction* button) {
    if (!button) return;
    const QString key = button->data().toString();
    if (key == QLatin1String("Help")) {
        OpenHelp();
        return;
    }
    ChildWindow* w = nullptr;
    if (key == QLatin1String("Details")) {
        ChildWindow* existing = windows_.value(key);
        try {
            w = BuildDetailsWindow(existing, nullptr);
        } catch (const ArithmeticFault& fault) {
            // The report recomputes the corrections of the last fix's lines.
            ShowMessage(this, QStringLiteral("Calculation error"), QString::fromStdString(fault.what()),
                        MsgIcon::Exclamation);
            return;
        }
        if (!w) return;
        if (existing && existing != w) {
            if (QWidget* frame = existing->parentWidget()) frame->close();
        }
        Register(key, w);
    } else {
        w = LoadChild(key);
    }
    if (!w) return;
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    if (!sub) return;
    sub->setWindowIcon(button->icon());
    w->setWindowIcon(button->icon());
    // A window loaded in advance behind the splash is centred when first shown,
    // in the client area as it is now.
    if (!sub->property("shownOnce").toBool()) {
        CentreInClientArea(sub, mdiArea_);
        sub->setProperty("shownOnce", true);
    }
    w->show();
    sub->show();
    sub->raise();
    mdiArea_->setActiveSubWindow(sub);
}

QString MDIFormMain::HelpFilePath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Help/VeltranoHelp.html"));
}

void MDIFormMain::OpenHelp() {
    // The section of the window the user is in: the nearest window round the
    // focus that has one (a dialog such as Print daily pages has its own), else
    // the active working window (also from the help window itself).
    QString section;
    for (QWidget* w = QApplication::focusWidget(); w && section.isEmpty(); w = w->parentWidget()) {
        const QString s = frmHelp::SectionOf(w->objectName());
        if (s != QLatin1String("start")) section = s;
    }
    if (section.isEmpty()) {
        // The current one even while another top-level window (the help) is active.
        if (QMdiSubWindow* active = mdiArea_->currentSubWindow())
            if (active->widget()) section = frmHelp::SectionOf(active->widget()->objectName());
    }
    if (section.isEmpty()) section = QStringLiteral("start");
    if (!help_) {
        help_ = new frmHelp(HelpFilePath(), this);
        help_->setAttribute(Qt::WA_DeleteOnClose);
        // Over the main window, and no larger than it.
        help_->resize(help_->size().boundedTo(size()));
        help_->move(geometry().center() - help_->rect().center());
    }
    help_->ShowSection(section);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void MDIFormMain::closeEvent(QCloseEvent* event) {
    SaveDesk();
    QMainWindow::closeEvent(event);
}

void MDIFormMain::SaveDesk() const {
    std::unique_ptr<QSettings> s(DeskSettings());
    s->setValue(QStringLiteral("MainGeometry"), saveGeometry());
    s->setValue(QStringLiteral("MainState"), saveState());
    QStringList open;
    // Bottom to top, so that the restored stack is the same.
    for (QMdiSubWindow* sub : mdiArea_->subWindowList(QMdiArea::StackingOrder)) {
        if (!sub->isVisible() || !sub->widget()) continue;
        for (const char* key : kDeskKeys) {
            if (windows_.value(QLatin1String(key)).data() != sub->widget()) continue;
            open << QLatin1String(key);
            const QRect g = sub->isMaximized() || sub->isMinimized() ? sub->normalGeometry() : sub->geometry();
            s->setValue(QStringLiteral("Window_%1").arg(QLatin1String(key)), g);
        }
    }
    s->setValue(QStringLiteral("OpenWindows"), open);
}

void MDIFormMain::RestoreDesk() {
    std::unique_ptr<QSettings> s(DeskSettings());
    const QRect before = geometry();
    const QByteArray mainGeometry = s->value(QStringLiteral("MainGeometry")).toByteArray();
    if (!mainGeometry.isEmpty() && restoreGeometry(mainGeometry)) {
        // Off every screen (a monitor since removed): back to the default place.
        bool visible = false;
        for (const QScreen* screen : QGuiApplication::screens()) {
            const QRect common = screen->availableGeometry() & frameGeometry();
            if (common.width() >= 200 && common.height() >= 100) visible = true;
        }
        if (!visible) setGeometry(before);
    }
    restoreState(s->value(QStringLiteral("MainState")).toByteArray());
    for (const QString& key : s->value(QStringLiteral("OpenWindows")).toStringList()) {
        bool known = false;
        for (const char* k : kDeskKeys) known = known || key == QLatin1String(k);
        if (!known) continue;
        Toolbar1_ButtonClick(ButtonByKey(key));
        ChildWindow* w = WindowOfKey(key);
        auto* sub = w ? qobject_cast<QMdiSubWindow*>(w->parentWidget()) : nullptr;
        if (!sub) continue;
        const QRect g = s->value(QStringLiteral("Window_%1").arg(key)).toRect();
        const QRect client = mdiArea_->viewport()->rect();
        // Its title bar on the client area, and a size the window can take (the
        // frame keeps it at least at its minimum).
        const bool fits = g.isValid() && g.width() >= 40 && g.height() >= 30 &&
                          g.width() <= 4 * client.width() + 2000 && g.height() <= 4 * client.height() + 2000 &&
                          g.top() >= 0 && g.top() < client.height() - 20 && g.right() > 40 &&
                          g.left() < client.width() - 40;
        if (fits) sub->setGeometry(g);
        KeepInside(sub, client.size());
    }
}

void MDIFormMain::ShowAbout() {
    auto* about = new frmSplash(this, true);
    about->show();
    about->raise();
    about->activateWindow();  // so that a key closes it
    about->setFocus(Qt::OtherFocusReason);
}

frmHelp* MDIFormMain::HelpWindow() const { return help_.data(); }

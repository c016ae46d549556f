// The main frame window: the multiple-document area that holds the working
// windows, one instance of each, opened from the menu and the toolbar.
#pragma once
#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include "ui/ChildWindow.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class frmHelp;
class frmPrintPages;

class MDIFormMain : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIFormMain(QWidget* parent = nullptr);
    ~MDIFormMain() override;

    // The window's load: LoadSharedState, then the window covers the screen and
    // is captioned "Veltrano". False when a data file could not be loaded (the
    // message has been shown); the program then ends.
    bool Load();

    // The toolbar's click: opens the window of the button's key ("General",
    // "RiseSet", ...), creating and loading it on first use, shows it, brings
    // it to the front and gives it the button's image as its icon; "Details"
    // rebuilds the details window first; "Help" opens the help file. Every menu
    // item that names a button calls this with that button.
    void Toolbar1_ButtonClick(QAction* button);
    // The toolbar button of a key, or nullptr.
    QAction* ButtonByKey(const QString& key) const;

    // The window of a key, created and put in the frame (hidden) on first use,
    // without showing it; nullptr when the key has no window.
    ChildWindow* LoadChild(const QString& key);
    // The open window of a toolbar key, or nullptr.
    ChildWindow* WindowOfKey(const QString& key) const;
    // The open window with this window name ("frmPosition"), or nullptr.
    ChildWindow* FindChild(const QString& windowName) const;
    // Every open child window.
    QList<ChildWindow*> Children() const;

    QMdiArea* Area() const { return mdiArea_; }
    QToolBar* Toolbar1() const { return toolbar_; }

    // The help file: the program's folder + "/Help/VeltranoHelp.html".
    static QString HelpFilePath();
    // The help window, opened at the section of the working window that has the
    // focus (the active one), or at the start for the empty frame. F1, the Help
    // menu and the toolbar button.
    void OpenHelp();
    frmHelp* HelpWindow() const;

    // The working data at a glance, as the status bar shows it: zone date and
    // time with the zone, UT, DR position, course and speed.
    static QString WorkingDataText();
    QLabel* StatusLabel() const { return lblWorkingData_; }

    // The working data changed (Apply or Save Info in the general information
    // window): the open windows that show results of it recompute, and the
    // status bar follows.
    void WorkingDataChanged();

    // The desk: the main window's geometry and state, which working windows are
    // open and where, kept in the settings (group "Desk") when the main window
    // closes and put back at the next start. A geometry that cannot be read or
    // lies off the screen falls back to the default placement.
    void SaveDesk() const;
    void RestoreDesk();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildToolbar();
    void BuildMenu();
    QAction* MenuItem(QMenu* menu, const char* name, const QString& caption, const QString& key);
    void ShowAbout();
    // The Window menu: Cascade, Tile and the open windows, the active one ticked.
    void FillWindowMenu(QMenu* menu);
    void Register(const QString& key, ChildWindow* window);
    // Connects a new window's signals to the windows and services that must hear them.
    void Connect(ChildWindow* window);
    // Opens the window of a toolbar key as its button does.
    ChildWindow* OpenWindow(const QString& key);
    void DetailsRequested();
    void UpdateStatusBar();

    QMdiArea* mdiArea_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QLabel* lblWorkingData_ = nullptr;
    QHash<QString, QAction*> buttons_;
    QHash<QString, QPointer<ChildWindow>> windows_;
    QPointer<frmHelp> help_;
    bool firstResize_ = false;
    QPointer<frmPrintPages> printPages_;
};

// The main window of the process (nullptr when there is none).
MDIFormMain* MainForm();


// The splash window: the first window of the process, and later the About box.
#pragma once
#include <QElapsedTimer>
#include <QWidget>

class QFrame;
class QLabel;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    // With SplashDone false it is the start-up splash (a top-level window);
    // with SplashDone true it is the About box, shown over `parent`, which any
    // click on it or any key closes.
    explicit frmSplash(QWidget* parent = nullptr);

    QFrame* Frame1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblCompanyProduct = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblWarning = nullptr;
    // The About box only: where the published data the program is built from
    // comes from, with each source's licence.
    QLabel* lblCredits = nullptr;

    // Milliseconds since the window was made.
    qint64 Elapsed() const { return clock_.elapsed(); }

protected:
    bool eventFilter(QObject* obj, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QElapsedTimer clock_;
    bool about_ = false;
};

class MDIFormMain;
// The start-up: shows the splash, makes and loads the main window (which loads
// the data files and the settings), preloads the rise/set and position windows
// hidden, waits until `splashMs` milliseconds have passed since the splash
// appeared (handling events), shows the main window, sets SplashDone and closes
// the splash. Returns the main window, or nullptr when loading failed (the
// message has been shown; the caller ends the program).
MDIFormMain* StartUp(int splashMs = 3000);

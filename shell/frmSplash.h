// The splash window: the first window of the process, and later the About box.
#pragma once
#include <QElapsedTimer>
#include <QWidget>

class QFrame;
class QLabel;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    // The start-up splash (a top-level window), or with `about` the About box,
    // shown over `parent`, which any click on it or any key closes.
    explicit frmSplash(QWidget* parent = nullptr, bool about = false);

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

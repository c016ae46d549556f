// The base of every working window of the program (frmGeneral, frmPosition,
// frmRiseSet, frmEphemerides, frmAnnual, frmCompas, frmDetails). The main window
// holds each in its multiple-document area, one instance per kind, and finds the
// open ones by their object name, which each window sets to its class name
// ("frmPosition").
#pragma once
#include <QSize>
#include <QWidget>

class ChildWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChildWindow(QWidget* parent = nullptr);

    // Recomputes the window's contents from NavigationState; called after the
    // working data changed. The default does nothing.
    virtual void Update() {}

    // The outer size (frame included) the window opens with, in twips (1/1440
    // inch), as a window's own description gives it ("10920 by 7305 twips").
    // An empty size (the default) lets the main window use the size hint.
    void SetDesignSizeTwips(int widthTwips, int heightTwips) { designTwips_ = QSize(widthTwips, heightTwips); }
    QSize DesignSizeTwips() const { return designTwips_; }

    // Called once by the main window after it has put the window in its frame,
    // sized it and centred it. A window that scales its layout when resized
    // starts its LayoutScaler (mLayout.h) here. The default does nothing.
    virtual void Placed() {}

    // The client size at which the window shows everything it computes without
    // scrolling (all columns and rows of its tables). The main window opens it at
    // least this large, as far as its client area allows. Empty: the design size
    // is enough.
    virtual QSize ContentSize() const { return {}; }

private:
    QSize designTwips_;
};

// Window geometry: twips to pixels, centring a child in the main window's client
// area, and the proportional layout of a resized window.
#pragma once
#include <QFont>
#include <QSize>

class QMdiArea;
class QWidget;

// The desktop's small font size in points (its smallest readable font, at most
// 85% of its general font): no text of the program is drawn smaller.
double MinimumFontPointSize();
// `base` a tenth smaller, for notes and secondary texts, never below the
// desktop's small font size.
QFont SmallFont(const QFont& base);

// A twip is 1/1440 inch: 15 twips make a pixel at 96 dots per inch, scaled by the
// primary screen's logical dpi (96 when there is no screen).
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);
QSize TwipsToPixels(QSize twips);

// Places `window` (an MDI subwindow, or any child) centred in the client area of
// `area` keeping its size: left = (client width - outer width) / 2, the same for
// the top; never left of or above the client area's corner.
void CentreInClientArea(QWidget* window, QMdiArea* area);

// Rescales every control of `window` from the client size oldSize to newSize:
// left and width by xs = new width / old width, top and height by ys = new
// height / old height (whole pixels, truncated), and each control's font by the
// smaller factor, except a control whose "Tag" property is a non-empty text,
// which keeps its font size; no font goes below MinimumFontPointSize(). The factors are taken from the window's reference
// size (the old size of its first scaling), so that a round trip (maximise,
// restore) gives back the same places and fonts instead of creeping; a control
// the window moved or re-sized itself since the last scaling is scaled from
// where it stands. Controls are the child widgets of the window and,
// inside plain containers (frames, group boxes, plain widgets), their children;
// the inner parts of compound widgets are left to them. A minimised window is
// not touched. Returns the size to remember as the window's last client size
// (newSize, or oldSize when nothing was done). An empty old size does nothing.
QSize ScaleWindowLayout(QWidget* window, QSize oldSize, QSize newSize);

// The resize rule of a child window that scales its layout: Start() at the end
// of loading remembers the outer (frame) size as the minimum and the client size
// as the reference; Resize() scales the layout from the reference to the new
// client size when the outer size is at least the initial one in both
// directions, and remembers it. Smaller sizes change nothing.
class LayoutScaler {
public:
    void Start(QWidget* window);
    // clientSize: the reference size to scale to (a window may subtract a strip
    // it keeps for itself, as the position window does).
    void Resize(QWidget* window, QSize clientSize);
    void Resize(QWidget* window);
    bool Started() const { return started_; }
    QSize InitialOuterSize() const { return initialOuter_; }
    QSize LastClientSize() const { return lastClient_; }

private:
    bool started_ = false;
    QSize initialOuter_;
    QSize lastClient_;
};

// The outer size of a child window: that of its MDI subwindow frame when it has
// one, else its own frame size.
QSize OuterSize(const QWidget* window);

#include "app/mLayout.h"

#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QVariant>
#include <cmath>
#include <vector>

namespace {

constexpr double kTwipsPerInch = 1440.0;

double LogicalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0.0 ? dpi : 96.0;
}

// A container whose children are controls of the window (not the inner parts of
// a compound widget such as a list view or a spin box).
bool IsPlainContainer(const QWidget* w) {
    const QMetaObject* mo = w->metaObject();
    return mo == &QWidget::staticMetaObject || mo == &QFrame::staticMetaObject ||
           mo == &QGroupBox::staticMetaObject;
}

void CollectControls(QWidget* parent, std::vector<QWidget*>& out) {
    for (QObject* o : parent->children()) {
        QWidget* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow()) continue;
        out.push_back(w);
        if (IsPlainContainer(w)) CollectControls(w, out);
    }
}

}  // namespace

int TwipsToPixels(int twips) { return static_cast<int>(std::lround(twips * LogicalDpi() / kTwipsPerInch)); }
int PixelsToTwips(int pixels) { return static_cast<int>(std::lround(pixels * kTwipsPerInch / LogicalDpi())); }
QSize TwipsToPixels(QSize twips) { return QSize(TwipsToPixels(twips.width()), TwipsToPixels(twips.height())); }

void CentreInClientArea(QWidget* window, QMdiArea* area) {
    if (!window || !area) return;
    const QSize client = area->viewport() ? area->viewport()->size() : area->size();
    const QSize outer = window->frameGeometry().size();
    const int left = std::max(0, (client.width() - outer.width()) / 2);
    const int top = std::max(0, (client.height() - outer.height()) / 2);
    window->move(left, top);
}

QSize OuterSize(const QWidget* window) {
    if (!window) return {};
    if (auto* sub = qobject_cast<const QMdiSubWindow*>(window->parentWidget())) return sub->size();
    return window->frameGeometry().size();
}

QSize ScaleWindowLayout(QWidget* window, QSize oldSize, QSize newSize) {
    if (!window) return oldSize;
    const QWidget* frame = window->parentWidget() ? window->parentWidget() : window;
    if (window->isMinimized() || frame->isMinimized()) return oldSize;
    if (oldSize.width() <= 0 || oldSize.height() <= 0 || newSize.width() <= 0 || newSize.height() <= 0)
        return oldSize;
    const double xs = double(newSize.width()) / oldSize.width();
    const double ys = double(newSize.height()) / oldSize.height();
    const double f = ys < xs ? ys : xs;

    window->setUpdatesEnabled(false);
    std::vector<QWidget*> controls;
    CollectControls(window, controls);
    // Read every font first: a child that inherits its container's font must be
    // scaled once, not once through the container and again on its own.
    std::vector<QFont> fonts;
    fonts.reserve(controls.size());
    for (QWidget* w : controls) fonts.push_back(w->font());
    for (size_t i = 0; i < controls.size(); ++i) {
        QWidget* w = controls[i];
        const QRect g = w->geometry();
        w->setGeometry(int(g.left() * xs), int(g.top() * ys), int(g.width() * xs), int(g.height() * ys));
        if (w->property("Tag").toString().isEmpty()) {
            QFont font = fonts[i];
            if (font.pointSizeF() > 0)
                font.setPointSizeF(font.pointSizeF() * f);
            else if (font.pixelSize() > 0)
                font.setPixelSize(std::max(1, int(font.pixelSize() * f)));
            w->setFont(font);
        }
    }
    window->setUpdatesEnabled(true);
    window->update();
    return newSize;
}

void LayoutScaler::Start(QWidget* window) {
    initialOuter_ = OuterSize(window);
    lastClient_ = window->size();
    started_ = true;
}

void LayoutScaler::Resize(QWidget* window, QSize clientSize) {
    if (!started_) return;
    const QSize outer = OuterSize(window);
    if (outer.width() < initialOuter_.width() || outer.height() < initialOuter_.height()) return;
    lastClient_ = ScaleWindowLayout(window, lastClient_, clientSize);
}

void LayoutScaler::Resize(QWidget* window) { Resize(window, window->size()); }

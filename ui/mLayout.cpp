#include "ui/mLayout.h"

#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QRectF>
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

double MinimumFontPointSize() {
    // A desktop without a theme of its own (Qt's generic one) gives a "smallest
    // readable" font larger than its general font: the small size is then taken
    // as a little under the general one.
    const double small = QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont).pointSizeF();
    const double general = QFontDatabase::systemFont(QFontDatabase::GeneralFont).pointSizeF();
    double size = small > 0.0 ? small : 7.0;
    if (general > 0.0) size = std::min(size, general * 0.85);
    return size;
}

QFont SmallFont(const QFont& base) {
    QFont f = base;
    if (base.pointSizeF() > 0) f.setPointSizeF(std::max(base.pointSizeF() * 0.9, MinimumFontPointSize()));
    return f;
}

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

namespace {

// Each control remembers its place and font at the window's reference size (the
// client size of the first scaling), and what scaling last gave it. Scaling
// from the reference instead of from the last size keeps a window that is
// maximised and restored at its own layout: with the smaller of the two factors
// applied step by step, the fonts would shrink a little at every round trip
// (up by min(xs, ys), down by min(1/xs, 1/ys)), and truncation to whole pixels
// would creep. A control that the window itself moved or re-sized since (or a
// new one) is taken as it stands now.
constexpr const char* kBaseSize = "veltranoLayoutBase";
constexpr const char* kBaseGeometry = "veltranoBaseGeometry";
constexpr const char* kBaseFont = "veltranoBaseFont";
constexpr const char* kLastGeometry = "veltranoLastGeometry";
constexpr const char* kLastFont = "veltranoLastFont";

double FontSize(const QFont& f) { return f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize(); }

}  // namespace

QSize ScaleWindowLayout(QWidget* window, QSize oldSize, QSize newSize) {
    if (!window) return oldSize;
    const QWidget* frame = window->parentWidget() ? window->parentWidget() : window;
    if (window->isMinimized() || frame->isMinimized()) return oldSize;
    if (oldSize.width() <= 0 || oldSize.height() <= 0 || newSize.width() <= 0 || newSize.height() <= 0)
        return oldSize;
    QSize base = window->property(kBaseSize).toSize();
    if (!base.isValid() || base.isEmpty()) {
        base = oldSize;
        window->setProperty(kBaseSize, base);
    }
    // From the reference size: to where the controls are now, and to the new size.
    const double ox = double(oldSize.width()) / base.width(), oy = double(oldSize.height()) / base.height();
    const double nx = double(newSize.width()) / base.width(), ny = double(newSize.height()) / base.height();
    const double oldF = oy < ox ? oy : ox;
    const double newF = ny < nx ? ny : nx;

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
        QRectF b = w->property(kBaseGeometry).toRectF();
        if (!w->property(kBaseGeometry).isValid() || w->property(kLastGeometry).toRect() != g)
            b = QRectF(g.left() / ox, g.top() / oy, g.width() / ox, g.height() / oy);
        const QRect placed(int(b.left() * nx), int(b.top() * ny), int(b.width() * nx), int(b.height() * ny));
        w->setGeometry(placed);
        w->setProperty(kBaseGeometry, b);
        w->setProperty(kLastGeometry, placed);
        if (w->property("Tag").toString().isEmpty()) {
            QFont font = fonts[i];
            const double now = FontSize(font);
            if (now <= 0) continue;
            double baseFont = w->property(kBaseFont).toDouble();
            if (!w->property(kBaseFont).isValid() || w->property(kLastFont).toDouble() != now)
                baseFont = now / oldF;
            const double size = baseFont * newF;
            if (font.pointSizeF() > 0)
                font.setPointSizeF(std::max(size, MinimumFontPointSize()));
            else
                font.setPixelSize(std::max(1, int(size)));
            w->setFont(font);
            w->setProperty(kBaseFont, baseFont);
            w->setProperty(kLastFont, FontSize(w->font()));
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

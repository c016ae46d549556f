#include "map/mDrawmap.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/mMath.h"
#include "map/mStarMap.h"

namespace {
// The sky's background (the system's button-text colour, black in the usual scheme).
const QColor kSkyColour(0, 0, 0);
const QColor kGridColour(255, 255, 255);
const QColor kStarColour(255, 255, 0);  // &HFFFF
const QColor kBodyColour(255, 0, 0);    // &HFF
const QString kStarCaption = QStringLiteral("*");
// The body mark: what the "Symbol" font shows for the character of the body
// caption, a circled cross, distinct from the star mark.
const QString kBodyCaption = QString(QChar(0x2297));

}  // namespace

void StyleMark(MapMarkLabel* mark, bool star) {
    QFont f = mark->font();
    f.setBold(true);
    f.setPixelSize(star ? 18 : 15);
    mark->setFont(f);
    QPalette pal = mark->palette();
    pal.setColor(QPalette::WindowText, star ? kStarColour : kBodyColour);
    mark->setPalette(pal);
    mark->setText(star ? kStarCaption : kBodyCaption);
    mark->setAlignment(Qt::AlignCenter);
    mark->setFixedSize(14, 14);
    mark->setCursor(Qt::PointingHandCursor);
}

void PlaceMark(MapMarkLabel* mark, const MapMark& m, int w, int h) {
    const ChartPoint p = ChartPosition(m.Alt, m.Az, w, h);
    mark->move(p.x - mark->width() / 2, p.y - mark->height() / 2);
    mark->setToolTip(QString::fromStdString(m.Name));
    mark->Tag = m.Tag;
    mark->show();
}

MapPicture::MapPicture(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kSkyColour);
    setPalette(pal);
}

void MapPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kSkyColour);
    if (calculating_) {
        QFont f = font();
        f.setPointSize(16);
        p.setFont(f);
        p.setPen(kStarColour);
        p.drawText(QRect(0, 0, width(), height()), Qt::AlignCenter, QStringLiteral("Calculating..."));
        return;
    }
    if (r_ <= 0) return;
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kGridColour, 1));
    for (int i = 0; i <= 4; ++i) {
        const int radius = static_cast<int>(std::nearbyint((20.0 * i + 10.0) * r_ / 90.0));
        p.drawEllipse(QPoint(cx_, cy_), radius, radius);
    }
    for (int a = 0; a < 360; a += 30)
        p.drawLine(QPointF(cx_, cy_), QPointF(cx_ + r_ * SinD(a), cy_ - r_ * CosD(a)));
    // The cardinal points, so that north up and east to the right can be read.
    QFont f = font();
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(QColor(160, 160, 160));
    p.drawText(QRect(cx_ - 10, std::max(0, cy_ - r_ - 1), 20, 14), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("N"));
    p.drawText(QRect(cx_ - 10, std::min(height() - 14, cy_ + r_ - 13), 20, 14), Qt::AlignHCenter | Qt::AlignBottom,
               QStringLiteral("S"));
    p.drawText(QRect(std::min(width() - 14, cx_ + r_ - 12), cy_ - 7, 12, 14), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("E"));
    p.drawText(QRect(std::max(0, cx_ - r_), cy_ - 7, 14, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("W"));
}

MapMarkLabel::MapMarkLabel(QWidget* parent) : QLabel(parent) {}

void MapMarkLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    emit doubleClicked(this);
}

void MapPicture::ShowCalculating() {
    calculating_ = true;
    repaint();
}

void DrawMapGrid(MapPicture* picture) {
    if (!picture) return;
    picture->calculating_ = false;
    picture->cx_ = static_cast<int>(std::nearbyint(picture->width() / 2.0));
    picture->cy_ = static_cast<int>(std::nearbyint(picture->height() / 2.0));
    picture->r_ = std::min(picture->cx_, picture->cy_);
    picture->update();
}

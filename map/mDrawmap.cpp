#include "map/mDrawmap.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QCheckBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

#include "fix/frmPosition.h"
#include "core/mMath.h"
#include "fix/mCalcPosition.h"
#include "ui/mConvertion.h"
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

// Member n of a mark array, created (loaded) when n > 0 is not there yet.
MapMarkLabel* Member(std::vector<MapMarkLabel*>& marks, size_t n, const QString& base, bool star,
                     frmPosition* window) {
    while (marks.size() <= n) {
        auto* m = new MapMarkLabel(window->Picture1);
        m->setObjectName(base + QString::number(marks.size()));
        QObject::connect(m, &MapMarkLabel::doubleClicked, window,
                         [window](MapMarkLabel* mark) { window->MarkDoubleClicked(mark); });
        marks.push_back(m);
    }
    MapMarkLabel* m = marks[n];
    StyleMark(m, star);
    return m;
}

void Unload(std::vector<MapMarkLabel*>& marks) {
    while (marks.size() > 1) {
        delete marks.back();
        marks.pop_back();
    }
    marks[0]->hide();
}

void Place(MapMarkLabel* mark, const MapMark& m, int w, int h) {
    const ChartPoint p = ChartPosition(m.Alt, m.Az, w, h);
    mark->move(p.x - mark->width() / 2, p.y - mark->height() / 2);
    // A planet's and the Moon's magnitude under the name.
    QString tip = QString::fromStdString(m.Name);
    if (std::isfinite(m.Magnitude))
        tip += QStringLiteral("\nMagnitude ") + FormatNumber(m.Magnitude, QStringLiteral("+0.0;-0.0"));
    mark->setToolTip(tip);
    mark->Tag = m.Tag;
    mark->show();
}

}  // namespace

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

void DrawMapGrid(MapPicture* picture) {
    if (!picture) return;
    picture->calculating_ = false;
    picture->cx_ = static_cast<int>(std::nearbyint(picture->width() / 2.0));
    picture->cy_ = static_cast<int>(std::nearbyint(picture->height() / 2.0));
    picture->r_ = std::min(picture->cx_, picture->cy_);
    picture->update();
}

void DrawStarMap(DateValue ut, double lat, double lon, frmPosition* window) {
    if (!window) return;
    // 1. Templates.
    StyleMark(window->Label1[0], true);
    StyleMark(window->Label2[0], false);
    window->Label1[0]->hide();
    window->Label2[0]->hide();

    // 2. The lists: remember each line's body, start again from the empty item.
    BodyCode remembered[4];
    for (int j = 0; j < 4; ++j) {
        QComboBox* c = window->Combo1[static_cast<size_t>(j)];
        const QSignalBlocker block(c);
        remembered[j] = c->currentIndex() >= 0 ? c->currentData().toInt() : kNoBody;
        c->clear();
        c->addItem(QString(), kNoBody);
        c->setCurrentIndex(0);
    }

    // 3. Unload the marks of the last drawing.
    Unload(window->Label1);
    Unload(window->Label2);
    window->StarMarkCount = 0;
    window->BodyMarkCount = 0;

    // 4. "Calculating..." shows while the places are computed.
    MapPicture* picture = window->Picture1;
    picture->calculating_ = true;
    picture->repaint();

    // 5.-7. The marks.
    const int w = picture->width(), h = picture->height();
    const double jd = JulianDay(ut, false, false);
    StarChoice choice = StarChoice::Magnitude;
    if (window->Option1[0]->isChecked()) choice = StarChoice::NavStars;
    else if (window->Option1[1]->isChecked()) choice = StarChoice::MaeStars;
    // The window refuses a limit that is not a number before it draws.
    double limit = 0.0;
    if (!ParseNumberText(window->Text3->text(), limit)) limit = -HUGE_VAL;

    std::vector<MapMark> all = StarMarks(jd, lat, lon, choice, limit);
    const size_t starCount = all.size();
    if (window->Check1->isChecked()) {
        std::vector<MapMark> bodies = BodyMarks(jd, lat, lon);
        all.insert(all.end(), bodies.begin(), bodies.end());
    }
    for (size_t i = 0; i < all.size(); ++i) {
        const MapMark& m = all[i];
        const bool star = i < starCount;
        const size_t n = star ? i : i - starCount;
        MapMarkLabel* mark = star ? Member(window->Label1, n, QStringLiteral("Label1_"), true, window)
                                  : Member(window->Label2, n, QStringLiteral("Label2_"), false, window);
        Place(mark, m, w, h);
        const QString text = star ? QString::fromStdString(m.Name)
                                  : QStringLiteral("Planet: ") + QString::fromStdString(m.Name);
        for (int j = 0; j < 4; ++j) {
            QComboBox* c = window->Combo1[static_cast<size_t>(j)];
            const QSignalBlocker block(c);
            c->addItem(text, m.Code);
            if (remembered[j] == m.Code) c->setCurrentIndex(c->count() - 1);
        }
    }
    window->StarMarkCount = static_cast<int>(starCount);
    window->BodyMarkCount = static_cast<int>(all.size() - starCount);

    // A line whose body is no longer on the map keeps it, marked, after the map's items.
    for (int j = 0; j < 4; ++j) {
        QComboBox* c = window->Combo1[static_cast<size_t>(j)];
        if (!LineInUse(remembered[j]) || c->currentIndex() > 0) continue;
        const std::string name = BodyListText(remembered[j]);
        if (name.empty()) continue;
        const QSignalBlocker block(c);
        c->addItem(QString::fromStdString(name) + QString::fromLatin1(kNotOnMap), remembered[j]);
        c->setCurrentIndex(c->count() - 1);
    }

    // 8. The grid, which also clears "Calculating...".
    DrawMapGrid(picture);
}

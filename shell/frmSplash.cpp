#include "shell/frmSplash.h"
#include "ui/mLayout.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/mImages.h"

#ifndef VELTRANO_VERSION
#define VELTRANO_VERSION "0.0.0"
#endif

frmSplash::frmSplash(QWidget* parent, bool about)
    : QWidget(parent, about ? (Qt::Dialog | Qt::FramelessWindowHint) : (Qt::SplashScreen | Qt::FramelessWindowHint)),
      about_(about) {
    clock_.start();
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Veltrano"));
    if (about_) setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);
    outer->addWidget(Frame1);

    auto* row = new QHBoxLayout(Frame1);
    Image1 = new QLabel(Frame1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(SplashPicture(260, 220));
    row->addWidget(Image1);

    auto* text = new QVBoxLayout;
    lblCompanyProduct = new QLabel(QStringLiteral("Celestial navigation with"), Frame1);
    lblCompanyProduct->setObjectName(QStringLiteral("lblCompanyProduct"));
    QFont f = lblCompanyProduct->font();
    f.setPointSizeF(f.pointSizeF() * 1.3);
    lblCompanyProduct->setFont(f);
    lblProductName = new QLabel(QStringLiteral("Veltrano"), Frame1);
    lblProductName->setObjectName(QStringLiteral("lblProductName"));
    QFont big = lblProductName->font();
    big.setPointSizeF(big.pointSizeF() * 3.2);
    big.setBold(true);
    lblProductName->setFont(big);
    lblProductName->setStyleSheet(QStringLiteral("color: rgb(20, 40, 90);"));
    lblVersion = new QLabel(QStringLiteral("Version ") + QLatin1String(VELTRANO_VERSION), Frame1);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblWarning = new QLabel(QStringLiteral("This is just a beta version :)"), Frame1);
    lblWarning->setObjectName(QStringLiteral("lblWarning"));
    text->addStretch(1);
    text->addWidget(lblCompanyProduct);
    text->addWidget(lblProductName);
    text->addSpacing(12);
    text->addWidget(lblVersion);
    text->addStretch(1);
    text->addWidget(lblWarning);
    row->addSpacing(12);
    row->addLayout(text);
    row->addSpacing(12);

    if (about_) {
        lblCredits = new QLabel(this);
        lblCredits->setObjectName(QStringLiteral("lblCredits"));
        lblCredits->setWordWrap(true);
        lblCredits->setAutoFillBackground(true);  // the box is frameless: its own ground under the text
        lblCredits->setText(QStringLiteral(
            "<b>Published data, with thanks</b> (each keeps its own licence):<br>"
            "Planets: VSOP87 version D, Bretagnon &amp; Francou 1988 (VizieR VI/81), from the npm package "
            "astronomia 4.2.0 (MIT). Nutation (IAU 1980) and the Moon's periodic terms: J. Meeus, "
            "<i>Astronomical Algorithms</i>, tables 22.A, 47.A and 47.B, from astronomia (MIT). "
            "Delta T: U.S. Naval Observatory and IERS observed values, from astronomia (MIT); before "
            "1657 the Swiss Ephemeris (Stephenson &amp; Morrison 1984).<br>"
            "Stars: the Yale Bright Star Catalogue (VizieR V/50, public) as shipped in xplanet; positions, "
            "proper motions and parallaxes from Hipparcos (ESA SP-1200) in the Swiss Ephemeris "
            "sefstars.txt (CC0-1.0) and Stellarium (GPL-2+); star names of the IAU from Stellarium; "
            "constellation names from d3-celestial 0.7.35 (BSD-3-Clause). Cross-checks and join keys: "
            "python3-ephem (LGPL-3), astronomical-almanac and Stellarium (GPL-2+).<br>"
            "Where each figure comes from and what was mended is told in data/README.md of the sources."));
        lblCredits->setMaximumWidth(TwipsToPixels(9000));
        outer->addWidget(lblCredits);
        lblCredits->installEventFilter(this);
    }

    for (QWidget* w : {static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Image1),
                       static_cast<QWidget*>(lblProductName), static_cast<QWidget*>(lblCompanyProduct),
                       static_cast<QWidget*>(lblVersion), static_cast<QWidget*>(lblWarning)})
        w->installEventFilter(this);

    adjustSize();
    // Centred over the main window (the About box) or on the screen.
    QRect over;
    if (parent)
        over = parent->frameGeometry();
    else if (const QScreen* s = QGuiApplication::primaryScreen())
        over = s->availableGeometry();
    if (over.isValid()) move(over.center() - rect().center());
}

bool frmSplash::eventFilter(QObject* obj, QEvent* event) {
    if (about_ && event->type() == QEvent::MouseButtonPress) {
        close();
        return true;
    }
    return QWidget::eventFilter(obj, event);
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    if (about_) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmSplash::mousePressEvent(QMouseEvent* event) {
    if (about_) {
        close();
        return;
    }
    QWidget::mousePressEvent(event);
}

#include "map/frmDetails.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QTreeWidget>

#include "app/mConvertion.h"
#include "app/mLayout.h"
#include "app/mPublicVars.h"
#include "app/mPublicVarsQt.h"
#include "map/mDetailsReport.h"

namespace {

int D(int v) { return TwipsToPixels(v * 15); }
QRect DR(int x, int y, int w, int h) { return QRect(D(x), D(y), D(w), D(h)); }

constexpr int kLoadWidthTwips = 10485;
// Two summary lines more than a fix needs: a failed calculation, an intercept warning.
constexpr int kLoadHeightTwips = 6660;
constexpr int kDataColumnTwips = 800;

// The rows of the table: key (empty for a spacer row) and caption.
struct RowDef {
    const char* key;
    const char* caption;
};
constexpr RowDef kRows[] = {
    {"Time", "Time (GMT)"}, {"Date", "Date (GMT)"}, {"GHA ARIES", "GHA ARIES"}, {"TAU", "TAU"},
    {"GHA", "GHA"},         {"LON", "LON"},         {"LHA", "LHA"},             {"", ""},
    {"DEC", "DEC"},         {"", ""},               {"OC", "OC"},               {"i_s", "i+s"},
    {"Dip", "Dip"},         {"H", "H"},             {"Refr", "Refr"},           {"px", "Parallax"},
    {"TP", "Temp & Pressure"}, {"SemiD", "Semidiameter"}, {"Ho", "Ho"},         {"Hc", "Hc"},
    {"", ""},               {"dN", "dN"},           {"Az", "Azimuth"},
};

}  // namespace

frmDetails::frmDetails(QWidget* parent) : ChildWindow(parent) {
    setObjectName(QStringLiteral("frmDetails"));
    LoadSharedState();
    setWindowTitle(QStringLiteral("Calculation details"));
    SetDesignSizeTwips(kLoadWidthTwips, kLoadHeightTwips);

    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.9);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(DR(4, 2, 683, 42));
    Label1->setFont(small);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(DR(4, 44, 683, 70));
    Label2->setWordWrap(true);
    Label2->setFont(small);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette blue = Label2->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 160));
    Label2->setPalette(blue);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(DR(4, 116, 396, 266));
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAlternatingRowColors(true);
    ListView1->setFont(small);
    ListView1->setColumnCount(1);
    ListView1->setHeaderLabels({QStringLiteral("Data:")});
    ListView1->header()->setStretchLastSection(false);
    ListView1->setColumnWidth(0, TwipsToPixels(kDataColumnTwips) + 40);
    for (const RowDef& r : kRows) {
        auto* item = new QTreeWidgetItem(ListView1, QStringList{QString::fromLatin1(r.caption)});
        item->setData(0, Qt::UserRole, QString::fromLatin1(r.key));
    }
    ListView1->resizeColumnToContents(0);

    Picture1 = new PlotPicture(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(DR(406, 116, 281, 281));

    Label3 = new QLabel(QStringLiteral("Grid scale:"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(DR(4, 388, 70, 22));
    lblScale = new QLabel(QStringLiteral("1 nm."), this);
    lblScale->setObjectName(QStringLiteral("lblScale"));
    lblScale->setGeometry(DR(76, 388, 90, 22));
    cmdZoomIn = new QPushButton(QStringLiteral("+"), this);
    cmdZoomIn->setObjectName(QStringLiteral("cmdZoomIn"));
    cmdZoomIn->setGeometry(DR(330, 387, 32, 24));
    cmdZoomIn->setToolTip(QStringLiteral("Larger grid scale"));
    cmdZoomOut = new QPushButton(QStringLiteral("-"), this);
    cmdZoomOut->setObjectName(QStringLiteral("cmdZoomOut"));
    cmdZoomOut->setGeometry(DR(366, 387, 32, 24));
    cmdZoomOut->setToolTip(QStringLiteral("Smaller grid scale"));
    connect(cmdZoomIn, &QPushButton::clicked, this, [this] { ZoomIn(); });
    connect(cmdZoomOut, &QPushButton::clicked, this, [this] { ZoomOut(); });

    resize(D(kLoadWidthTwips / 15) - 8, D(kLoadHeightTwips / 15) - 34);
    lastClient_ = size();
}

void frmDetails::Placed() { lastClient_ = size(); }

QTreeWidgetItem* frmDetails::Row(const QString& key) const {
    if (key.isEmpty()) return nullptr;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = ListView1->topLevelItem(i);
        if (item->data(0, Qt::UserRole).toString() == key) return item;
    }
    return nullptr;
}

void frmDetails::ZoomIn() { Zoom(+1); }
void frmDetails::ZoomOut() { Zoom(-1); }

void frmDetails::Zoom(int step) {
    const int last = static_cast<int>(kScales.size()) - 1;
    zoomIndex_ = std::max(0, std::min(last, zoomIndex_ + step));
    const double scale = kScales[static_cast<size_t>(zoomIndex_)];
    lblScale->setText(NumberText(scale) + QStringLiteral(" nm."));
    cmdZoomIn->setEnabled(zoomIndex_ < last);
    cmdZoomOut->setEnabled(zoomIndex_ > 0);
    PlotLines(Picture1, LastFix, scale);
}

void frmDetails::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    lastClient_ = ScaleWindowLayout(this, lastClient_, size());
    PlotLines(Picture1, LastFix, kScales[static_cast<size_t>(zoomIndex_)]);
}

#include "map/frmDetails.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QFileDialog>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <string>

#include "core/mMath.h"
#include "core/mWorkingData.h"
#include "ui/mConvertion.h"
#include "ui/mLayout.h"
#include "ui/mPublicVarsQt.h"
#include "fix/mSessionReport.h"
#include "map/mDetailsReport.h"
#include "map/mPlotLines.h"
#include "map/mWorkFormPrint.h"
#include "ui/mDialogs.h"

namespace {

constexpr int kLoadWidthTwips = 10485;
// Two summary lines more than a fix needs: a failed calculation, an intercept warning.
constexpr int kLoadHeightTwips = 6660;
constexpr int kDataColumnTwips = 800;
constexpr int kPlotTwips = 4215;
// A line column before the first report: as wide as a long star name.
const char* const kTypicalLineHeader = "Alpha Lyrae (Vega)";

// The rows of the table: key (empty for a spacer row), caption, and what the row
// holds, with its unit and sign.
struct RowDef {
    const char* key;
    const char* caption;
    const char* tip;
};
constexpr RowDef kRows[] = {
    {"Time", "Time (GMT)", "UT time of the sight, hh:mm:ss"},
    {"Date", "Date (GMT)", "UT date of the sight"},
    {"GHA ARIES", "GHA ARIES", "Greenwich hour angle of Aries, degrees and minutes, westward (star lines)"},
    {"TAU", "TAU", "Sidereal hour angle of the star, 360\u00B0 - right ascension, degrees and minutes"},
    {"GHA", "GHA", "Greenwich hour angle of the body, degrees and minutes, westward"},
    {"LAT", "LAT", "Latitude the line is reduced from (the DR run to the sight time), N or S"},
    {"LON", "LON", "Longitude the line is reduced from (the DR run to the sight time), E or W"},
    {"LHA", "LHA", "Local hour angle, degrees and minutes; W: west of the meridian, E: east of it"},
    {"", "", nullptr},
    {"DEC", "DEC", "Declination of the body, N or S, degrees and minutes"},
    {"", "", nullptr},
    {"OC", "OC", "Sextant altitude as read, degrees and minutes"},
    {"i_s", "i+s", "Index correction, minutes of arc, with the sign it is applied with"},
    {"Dip", "Dip", "Dip of the horizon for the height of eye, minutes, subtracted"},
    {"H", "H", "Apparent altitude: the reading with index correction and dip, degrees and minutes"},
    {"Refr", "Refr", "Refraction at 10 C and 1010 mB, minutes, subtracted"},
    {"TP", "Temp & Pressure", "Correction of the refraction for the air's temperature and pressure, minutes"},
    {"SemiD", "Semidiameter", "Semidiameter, minutes: + lower limb, - upper limb; - for a star or planet (no limb)"},
    {"px", "Parallax", "Parallax in altitude, minutes, added (Sun, Moon and planets)"},
    {"Ho", "Ho", "Observed altitude: H with the four corrections above, degrees and minutes"},
    {"Hc", "Hc", "Computed altitude at the DR position of the sight, degrees and minutes"},
    {"", "", nullptr},
    {"dN", "Intercept", "Intercept from the DR, Ho - Hc, minutes (nautical miles), + toward the body"},
    {"Az", "Azimuth", "Azimuth of the body from the DR, degrees true, clockwise from north"},
    {"Res", "Residual", "What is left of the line at the fix (after the iteration), minutes"},
    {"Line", "Line", "The line of position of a session's sight: its series of one body within minutes"},
    {"Flag", "Flag", "\"does not fit\": the sight stands out in its series, or its line does not fit the others"},
};
// The rows only a session has.
bool SessionRow(const char* key) { return std::string(key) == "Line" || std::string(key) == "Flag"; }

}  // namespace

frmDetails::frmDetails(QWidget* parent) : ChildWindow(parent) {
    setObjectName(QStringLiteral("frmDetails"));
    LoadSharedState();
    setWindowTitle(QStringLiteral("Calculation details"));
    SetDesignSizeTwips(kLoadWidthTwips, kLoadHeightTwips);

    const QFont small = SmallFont(font());

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(small);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setFont(small);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Three lines each, so that a report does not move the table.
    for (QLabel* l : {Label1, Label2}) l->setMinimumHeight(QFontMetrics(small).lineSpacing() * 3 + 2);
    QPalette blue = Label2->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 160));
    Label2->setPalette(blue);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAlternatingRowColors(true);
    ListView1->setFont(small);
    ListView1->setColumnCount(1);
    ListView1->setHeaderLabels({QStringLiteral("Data:")});
    ListView1->headerItem()->setToolTip(0, QStringLiteral("Data: what each row holds; one column per sight line"));
    ListView1->header()->setStretchLastSection(false);
    // Columns as wide as their texts in the table's font, whatever its size.
    ListView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListView1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const RowDef& r : kRows) {
        auto* item = new QTreeWidgetItem(ListView1, QStringList{QString::fromLatin1(r.caption)});
        item->setData(0, Qt::UserRole, QString::fromLatin1(r.key));
        if (r.tip) item->setToolTip(0, QString::fromUtf8(r.caption) + QStringLiteral(": ") + QString::fromUtf8(r.tip));
        item->setHidden(SessionRow(r.key));
    }
    ListView1->setMinimumSize(TableSize(4));

    Picture1 = new PlotPicture(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setMinimumSize(TwipsToPixels(QSize(kPlotTwips, kPlotTwips)));
    Picture1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    Picture1->setToolTip(QStringLiteral("The lines of position (red) about the DR position (centre), the azimuths "
                                        "(grey), the track (blue) and the fix with its error ellipse; north up"));

    Label3 = new QLabel(QStringLiteral("Grid scale:"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    lblScale = new QLabel(QStringLiteral("1 nm."), this);
    lblScale->setObjectName(QStringLiteral("lblScale"));
    lblScale->setToolTip(QStringLiteral("Nautical miles per grid cell of the plot"));
    cmdZoomIn = new QPushButton(QStringLiteral("+"), this);
    cmdZoomIn->setObjectName(QStringLiteral("cmdZoomIn"));
    cmdZoomIn->setToolTip(QStringLiteral("Larger grid scale"));
    cmdZoomOut = new QPushButton(QStringLiteral("-"), this);
    cmdZoomOut->setObjectName(QStringLiteral("cmdZoomOut"));
    cmdZoomOut->setToolTip(QStringLiteral("Smaller grid scale"));
    for (QPushButton* b : {cmdZoomIn, cmdZoomOut}) b->setFixedWidth(b->sizeHint().height() * 3 / 2);
    connect(cmdZoomIn, &QPushButton::clicked, this, [this] { ZoomIn(); });
    connect(cmdZoomOut, &QPushButton::clicked, this, [this] { ZoomOut(); });
    cmdPrint = new QPushButton(QStringLiteral("&Print\u2026"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setToolTip(QStringLiteral("Print the work form of the fix: every line's workings, the plot and the fix"));
    cmdPdf = new QPushButton(QStringLiteral("Save as P&DF\u2026"), this);
    cmdPdf->setObjectName(QStringLiteral("cmdPdf"));
    cmdPdf->setToolTip(QStringLiteral("Save the work form of the fix as a PDF file"));
    for (QPushButton* b : {cmdPrint, cmdPdf}) b->setEnabled(false);
    connect(cmdPrint, &QPushButton::clicked, this, [this] { PrintForm(); });
    connect(cmdPdf, &QPushButton::clicked, this, [this] { SaveFormPdf(); });

    // The labels across the top; the table with the plot beside it; the grid
    // scale and the zoom buttons under the plot.
    auto* zoom = new QHBoxLayout;
    zoom->addWidget(Label3);
    zoom->addWidget(lblScale, 1);
    zoom->addWidget(cmdZoomIn);
    zoom->addWidget(cmdZoomOut);
    auto* form = new QHBoxLayout;
    form->addStretch(1);
    form->addWidget(cmdPrint);
    form->addWidget(cmdPdf);
    auto* right = new QVBoxLayout;
    right->addWidget(Picture1, 1);
    right->addLayout(zoom);
    right->addLayout(form);
    auto* middle = new QHBoxLayout;
    middle->addWidget(ListView1, 0, Qt::AlignTop);
    middle->addLayout(right, 1);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(Label1);
    outer->addWidget(Label2);
    outer->addLayout(middle, 1);
    setMinimumSize(minimumSizeHint());
    resize(ContentSize());
}

void frmDetails::Placed() {}

QSize frmDetails::TableSize(int lineColumns) const {
    const QFontMetrics fm(ListView1->font());
    const int pad = fm.horizontalAdvance(QStringLiteral("MM"));
    int width = 0;
    if (lineColumns < 0) {
        // Each column as the view sizes it to its contents, header included.
        const QAbstractItemView* view = ListView1;
        for (int c = 0; c < ListView1->columnCount(); ++c)
            width += std::max(view->sizeHintForColumn(c), ListView1->header()->sectionSizeHint(c));
    } else {
        int data = std::max(TwipsToPixels(kDataColumnTwips), ListView1->header()->sectionSizeHint(0));
        for (const RowDef& r : kRows) data = std::max(data, fm.horizontalAdvance(QLatin1String(r.caption)) + pad);
        width = data + lineColumns * (fm.horizontalAdvance(QLatin1String(kTypicalLineHeader)) + pad);
    }
    int rows = 0;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) rows += ListView1->topLevelItem(i)->isHidden() ? 0 : 1;
    const int rowHeight = std::max(ListView1->sizeHintForRow(0), fm.height() + 2);
    const int frame = 2 * ListView1->frameWidth();
    return QSize(width + frame + 2, ListView1->header()->sizeHint().height() + rows * rowHeight + frame + 2);
}

QSize frmDetails::ContentSize() const {
    const QSize table = TableSize(4).expandedTo(ListView1->minimumSize());
    const QSize plot = Picture1->minimumSize();
    const int spacing = 6;
    const int labels = Label1->minimumHeight() + Label2->minimumHeight() + spacing;
    const int zoomRow = cmdZoomIn->sizeHint().height() + spacing;
    const QMargins m = layout() ? layout()->contentsMargins() : QMargins(9, 9, 9, 9);
    return QSize(m.left() + table.width() + spacing + plot.width() + m.right(),
                 m.top() + labels + spacing + std::max(table.height(), plot.height() + zoomRow) + m.bottom());
}

void frmDetails::FitTable() {
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    // The frame round the window (title bar and borders), while the window fills it.
    const QSize frame = sub ? sub->size() - size() : QSize();
    QMdiArea* area = sub ? sub->mdiArea() : nullptr;
    const QSize client = area ? area->viewport()->size() : QSize();
    QSize table = TableSize();
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListView1->setMinimumSize(table);
    if (area) {
        // A table wider than the client area allows scrolls, so the plot keeps its room.
        const int spare = client.width() - frame.width() - minimumSizeHint().width();
        if (spare < 0) {
            table.setWidth(std::max(TwipsToPixels(kDataColumnTwips) * 2, table.width() + spare));
            ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            table.setHeight(table.height() + ListView1->horizontalScrollBar()->sizeHint().height());
            ListView1->setMinimumSize(table);
        }
    }
    setMinimumSize(minimumSizeHint());
    if (!sub) {
        resize(size().expandedTo(minimumSizeHint()));
        return;
    }
    QSize outer = sub->size().expandedTo(minimumSizeHint() + frame);
    if (area) outer = outer.boundedTo(client);
    if (outer != sub->size()) sub->resize(outer);
    if (!area) return;
    // It stays whole in the client area: moved back from the right and the
    // bottom, so the plot and its buttons stay in view.
    sub->move(std::max(0, std::min(sub->x(), client.width() - sub->width())),
              std::max(0, std::min(sub->y(), client.height() - sub->height())));
}

QTreeWidgetItem* frmDetails::Row(const QString& key) const {
    if (key.isEmpty()) return nullptr;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = ListView1->topLevelItem(i);
        if (item->data(0, Qt::UserRole).toString() == key) return item;
    }
    return nullptr;
}

int frmDetails::FittingZoomIndex(const FixResult& fix) { return FittingZoomIndex(PlotOf(fix)); }

int frmDetails::FittingZoomIndex(const LinesPlot& plot) {
    // The fix, and each line's foot point (its intercept from the DR).
    double reach = 60.0 * std::hypot(plot.FixLat - plot.DRLat, Norm180(plot.FixLon - plot.DRLon) * CosD(plot.DRLat));
    for (const LinesPlot::Line& line : plot.Lines)
        if (std::isfinite(line.Intercept)) reach = std::max(reach, std::fabs(line.Intercept));
    if (!std::isfinite(reach)) reach = 0.0;
    constexpr double kCellsShown = 2.5;  // of the three from the centre to the edge
    for (size_t i = 0; i < kScales.size(); ++i)
        if (reach <= kCellsShown * kScales[i]) return static_cast<int>(i);
    return static_cast<int>(kScales.size()) - 1;
}

void frmDetails::SetZoomIndex(int index) { Zoom(index - zoomIndex_); }

void frmDetails::FitZoomToNewFix(const LinesPlot& plot, double fixTime) {
    if (fixTime == fittedTime_ && plot.FixLat == fittedLat_ && plot.FixLon == fittedLon_) return;
    fittedTime_ = fixTime;
    fittedLat_ = plot.FixLat;
    fittedLon_ = plot.FixLon;
    SetZoomIndex(FittingZoomIndex(plot));
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
    Picture1->SetScale(scale);
}

void frmDetails::resizeEvent(QResizeEvent* event) {
    // The layout places the controls; the fonts keep their size, so no text is
    // cut or shrunk. The plot is drawn again at its new size.
    ChildWindow::resizeEvent(event);
    Picture1->update();
}

void frmDetails::Report(const FixResult& fix) {
    fix_ = fix;
    showsSession_ = false;
    for (QPushButton* b : {cmdPrint, cmdPdf}) b->setEnabled(fix.FixTime != 0.0 && !fix.Refused());
    Label1->setText(DetailsHeaderText(fix));
    Label2->setText(DetailsFixText(fix));
    if (fix.FixTime == 0.0) return;
    ShowColumns(DetailsColumns(fix), false);
    ShowPlot(PlotOf(fix), fix.FixTime);
}

void frmDetails::Report(const SessionFix& fix) {
    fix_ = FixResult{};
    showsSession_ = true;
    for (QPushButton* b : {cmdPrint, cmdPdf}) b->setEnabled(false);
    Label1->setText(DetailsHeaderText(fix));
    Label2->setText(fix.Refusal.empty() ? SessionSummaryText(fix)
                                        : QStringLiteral("No fix: ") + QString::fromStdString(fix.Refusal));
    ShowColumns(DetailsColumns(fix), true);
    ShowPlot(PlotOf(fix), fix.Conditions.FixUT);
}

void frmDetails::ShowColumns(const std::vector<DetailsColumn>& columns, bool sessionRows) {
    QTreeWidget* lv = ListView1;
    QStringList headers{QStringLiteral("Data:")};
    for (const DetailsColumn& c : columns) headers << c.Header;
    for (int r = 0; r < lv->topLevelItemCount(); ++r) {
        QTreeWidgetItem* item = lv->topLevelItem(r);
        for (int c = item->columnCount() - 1; c >= 1; --c) item->setText(c, QString());
        const QString key = item->data(0, Qt::UserRole).toString();
        item->setHidden(!sessionRows && SessionRow(key.toLatin1().constData()));
    }
    lv->setColumnCount(static_cast<int>(headers.size()));
    lv->setHeaderLabels(headers);
    for (int c = 1; c < headers.size(); ++c) {
        lv->headerItem()->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        lv->headerItem()->setToolTip(c, QStringLiteral("%1: each step of the reduction of this sight, down the rows")
                                            .arg(headers[c]));
    }
    for (size_t n = 0; n < columns.size(); ++n) {
        const int c = static_cast<int>(n) + 1;
        for (const auto& [key, text] : columns[n].Cells) {
            QTreeWidgetItem* item = Row(key);
            if (!item) continue;
            item->setText(c, text);
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
            if (key == QLatin1String("Flag")) item->setForeground(c, QColor(200, 0, 0));
        }
    }
    // Every column as wide as its widest text (the star names are long), and the
    // window wide enough for all of them.
    for (int c = 0; c < headers.size(); ++c) lv->resizeColumnToContents(c);
    FitTable();
}

void frmDetails::ShowPlot(const LinesPlot& plot, double fixTime) {
    // A new fix opens at the scale that shows the fix and every line; the same
    // fix reported again keeps the zoom the user chose.
    PlotLines(Picture1, plot, kScales[static_cast<size_t>(zoomIndex_)]);
    FitZoomToNewFix(plot, fixTime);
    show();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        sub->show();
        sub->raise();
    }
    raise();
}

std::function<QString(QWidget*, const QString&)> frmDetails::AskPdfPath;

void frmDetails::PrintForm() {
    if (fix_.FixTime == 0.0) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print the work form"));
    if (dialog.exec() != QDialog::Accepted) return;
    QString error;
    if (!DrawWorkForms(&printer, {MakeWorkForm(fix_)}, &error))
        ShowMessage(this, QStringLiteral("Work form"), error, MsgIcon::Exclamation);
}

void frmDetails::SaveFormPdf() {
    if (fix_.FixTime == 0.0) return;
    const QString suggested = QStringLiteral("workform.pdf");
    const QString path = AskPdfPath ? AskPdfPath(this, suggested)
                                    : QFileDialog::getSaveFileName(this, QStringLiteral("Save the work form"), suggested,
                                                                   QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty()) return;
    QString error;
    if (!WriteWorkFormPdf(path, {MakeWorkForm(fix_)}, &error))
        ShowMessage(this, QStringLiteral("Work form"), error, MsgIcon::Exclamation);
}

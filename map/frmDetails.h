// The calculation details window ("Calculation details"): the conditions and the
// summary of the last fix, the table of every reduction step of its lines, and a
// zoomable plot of the lines of position.
#pragma once
#include <QSize>
#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "ui/ChildWindow.h"
#include "fix/mCalcPosition.h"
#include "fix/mSessionFix.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class PlotPicture;
struct LinesPlot;
struct DetailsColumn;

class frmDetails : public ChildWindow {
    Q_OBJECT
public:
    explicit frmDetails(QWidget* parent = nullptr);

    void Placed() override;
    // Shows the fix: both labels; when FixTime is not 0 also one table column per
    // line that took part, the plot at the window's present grid scale, and the
    // window in front. Everything shown is read from the record.
    void Report(const FixResult& fix);
    // Shows a session's fix the same way: its conditions, its summary (both
    // ellipses, what does not fit and the fix without it), one column per sight
    // with the rows "Line" and "Flag", and the plot of every line with both
    // ellipses. The work form is of four lines: Print and PDF stay off.
    void Report(const SessionFix& fix);
    const FixResult& Shown() const { return fix_; }
    bool ShowsSession() const { return showsSession_; }
    // The labels, the whole table (every row, four line columns) and the plot.
    QSize ContentSize() const override;
    // The table's room for all its rows and columns (lineColumns line columns
    // beside "Data:"; the present columns when -1); the table never scrolls.
    QSize TableSize(int lineColumns = -1) const;
    // After a report: the table as wide as its columns, the window grown (within
    // the main window's client area) so that all of it shows.
    void FitTable();

    // The grid scales, nautical miles per cell, and the present one.
    static constexpr std::array<double, 9> kScales{{0.5, 1, 2, 5, 10, 50, 100, 500, 1000}};
    int ZoomIndex() const { return zoomIndex_; }
    // The smallest scale at which the fix and the foot point of every line lie
    // inside the plot (within 2.5 of its 3 half-width cells of the DR).
    static int FittingZoomIndex(const LinesPlot& plot);
    static int FittingZoomIndex(const FixResult& fix);
    // Shows the plot at this scale index, with its label and buttons.
    void SetZoomIndex(int index);
    // A fix other than the one shown last: the scale of FittingZoomIndex.
    void FitZoomToNewFix(const LinesPlot& plot, double fixTime);
    void ZoomIn();
    void ZoomOut();
    // The row of the table with this key ("Hc"), nullptr when none.
    QTreeWidgetItem* Row(const QString& key) const;

    QLabel* Label1 = nullptr;  // header
    QLabel* Label2 = nullptr;  // fix summary
    QTreeWidget* ListView1 = nullptr;
    PlotPicture* Picture1 = nullptr;
    QLabel* Label3 = nullptr;  // "Grid scale:"
    QLabel* lblScale = nullptr;
    QPushButton* cmdZoomIn = nullptr;
    QPushButton* cmdZoomOut = nullptr;
    QPushButton* cmdPrint = nullptr;  // "&Print…": the work form of the fix shown
    QPushButton* cmdPdf = nullptr;    // "Save as P&DF…"
    // Where to save the work form: (parent, suggested name) -> path, "" for cancel.
    // Replaceable so that tests answer it.
    static std::function<QString(QWidget*, const QString&)> AskPdfPath;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Zoom(int step);
    // The table's columns (none: the table cleared), the plot and the window in front.
    void ShowColumns(const std::vector<DetailsColumn>& columns, bool sessionRows);
    void ShowPlot(const LinesPlot& plot, double fixTime);
    void PrintForm();
    void SaveFormPdf();
    int zoomIndex_ = 1;
    // The fix the scale was last fitted to (time and place).
    double fittedTime_ = 0.0, fittedLat_ = 0.0, fittedLon_ = 0.0;
    FixResult fix_;
    bool showsSession_ = false;
};

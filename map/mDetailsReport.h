// The calculation details of the last fix: the header and summary texts, the
// table of every reduction step (numbers from ComputeDetailsLine) and the plot of
// the lines of position around the dead-reckoning position with the error ellipse.
#pragma once
#include <QString>
#include <string>
#include <QWidget>

#include "fix/mCalcPosition.h"

class frmDetails;

// The plot's picture box: a square grid of six cells, the track into the centre
// (the dead-reckoning position, north up), each line's azimuth (grey) and line of
// position (red), the fix with two circles and its course line (blue), and the
// error ellipse (semi-axes EllipseA and EllipseB nautical miles at the plot's
// scale, the major axis along EllipseAlpha).
class PlotPicture : public QWidget {
    Q_OBJECT
public:
    explicit PlotPicture(QWidget* parent = nullptr);
    bool HasPlot() const { return hasPlot_; }
    double Scale() const { return scale_; }
    // Pixels per nautical mile of the last plot (cell / scale).
    double PixelsPerNm() const;
    // Where the fix point was drawn (the centre is the dead-reckoning position).
    QPointF FixPoint() const;
    // Where a position is drawn.
    QPointF PointOf(double lat, double lon) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    friend void PlotLines(PlotPicture* picture, const FixResult& fix, double scale);
    FixResult fix_;
    double scale_ = 1.0;
    bool hasPlot_ = false;
};

// "Date: ... Local Time: ... Time zone: ..." / "Position: <DR>, Course = ..." /
// "Temp = ...", or "Last fix not available" when FixTime is 0.
QString DetailsHeaderText(const FixResult& fix);
// "Last fix on ... local time." / "Position: ...   C = ... - ...'" / "Ellipse of
// error: a = ...', b = ...', Alpha = ... deg" and the intercept warning, or "Last
// fix not available" when FixTime is 0. With a failure (the reason the last
// calculation gave no fix) first "The last calculation failed: <failure>", and
// the fix is "Last good fix on ...".
QString DetailsFixText(const FixResult& fix, const std::string& failure = std::string());
// "Warning: intercept over 30' in Line No. 2 (+45.3'), ...: check the sight and
// the DR position." for the lines of LargeInterceptLines; "" when there are none.
QString InterceptWarningText(const FixResult& fix);
// The run from the DR to the fix: "C = 332.6° - 05.2 nm", or "Fix at the DR
// (00.0 nm)" when the distance rounds to zero (no course to speak of).
QString CourseDistanceText(const FixResult& fix);
// "" for a one-pass fix; else "\nIterated in n passes, shifts: 59.812' 0.205' 0.000'"
// (how far each pass moved the position, nautical miles).
QString PassesText(const FixResult& fix);
// Fills the window: both labels (the failure from LastFixFailure); when FixTime
// is not 0 also one table column per line in use, the plot at the window's
// present grid scale, and shows the window in front.
void DetailsReport(const FixResult& fix, const SightLines& lines, frmDetails* window);
// Draws the plot of fix at `scale` nautical miles per grid cell.
void PlotLines(PlotPicture* picture, const FixResult& fix, double scale);

// The plot of the lines of position of a fix: a square grid of six cells around
// the dead-reckoning position (the centre, north up).
#pragma once
#include <QPointF>
#include <QWidget>
#include <vector>

#include "fix/mCalcPosition.h"
#include "fix/mSessionFix.h"

// What the plot draws, as the fix record holds it: the dead-reckoning position at
// the centre, the track, each line by its azimuth and intercept from the DR, the
// fix and its ellipses (semi-axes in nautical miles, the major axis's direction in
// degrees from north through east).
struct LinesPlot {
    struct Line {
        double Az = 0.0, Intercept = 0.0;
        bool Flagged = false;  // does not fit the others: drawn dashed
    };
    struct Ellipse {
        double A = 0.0, B = 0.0, Alpha = 0.0;
        bool Region = false;   // the 95% region from the residuals (else a one-minute sight error)
    };
    double DRLat = 0.0, DRLon = 0.0;
    double Course = 0.0;
    bool Underway = false;
    bool HasFix = false;
    double FixLat = 0.0, FixLon = 0.0;
    std::vector<Line> Lines;
    std::vector<Ellipse> Ellipses;
};
// The plot of a four-line fix (no fix when FixTime is 0) and of a session's fix
// (every sight in use, flagged where it does not fit; both ellipses).
LinesPlot PlotOf(const FixResult& fix);
LinesPlot PlotOf(const SessionFix& fix);

// The plot's picture box: a square grid of six cells, the track into the centre
// (the dead-reckoning position, north up), each line's azimuth (grey) and line of
// position (red), the fix with two circles and its course line (blue), and the
// error ellipse (dashed green) and a session's 95% region (dash-dotted purple).
// Every number comes from the fix record: the course of its working data, the
// lines from the DR, the fix and its ellipse.
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
    // The same fix drawn at another scale (nautical miles per cell).
    void SetScale(double scale);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    friend void PlotLines(PlotPicture* picture, const LinesPlot& plot, double scale);
    LinesPlot plot_;
    double scale_ = 1.0;
    bool hasPlot_ = false;
};

// Draws the plot at `scale` nautical miles per grid cell.
void PlotLines(PlotPicture* picture, const LinesPlot& plot, double scale);
inline void PlotLines(PlotPicture* picture, const FixResult& fix, double scale) { PlotLines(picture, PlotOf(fix), scale); }

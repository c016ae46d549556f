// The plot of the lines of position of a fix: a square grid of six cells around
// the dead-reckoning position (the centre, north up).
#pragma once
#include <QPointF>
#include <QWidget>

#include "fix/mCalcPosition.h"

// The plot's picture box: a square grid of six cells, the track into the centre
// (the dead-reckoning position, north up), each line's azimuth (grey) and line of
// position (red), the fix with two circles and its course line (blue), and the
// error ellipse (semi-axes EllipseA and EllipseB nautical miles at the plot's
// scale, the major axis along EllipseAlpha).
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
    friend void PlotLines(PlotPicture* picture, const FixResult& fix, double scale);
    FixResult fix_;
    double scale_ = 1.0;
    bool hasPlot_ = false;
};

// Draws the plot of fix at `scale` nautical miles per grid cell.
void PlotLines(PlotPicture* picture, const FixResult& fix, double scale);

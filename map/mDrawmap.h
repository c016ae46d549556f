// The star map of the position window: an altitude-azimuth chart of the sky
// above the ship (zenith at the centre, horizon on the rim, north up, east to the
// right) with one clickable mark per star or body above the horizon; drawing it
// also rebuilds the four body lists of the window.
#pragma once
#include <QLabel>
#include <QWidget>

#include "core/mTime.h"

#include "map/mStarMap.h"

// The picture box of the map: the chart's background, its grid (five altitude
// circles of 80, 60, 40, 20 and 0 degrees and twelve spokes every 30 degrees of
// azimuth) and, while the marks are computed, "Calculating...". The grid stays
// as drawn until the next DrawMapGrid (a resize scales the marks, not the grid).
class MapPicture : public QWidget {
    Q_OBJECT
public:
    explicit MapPicture(QWidget* parent = nullptr);
    // The grid as last drawn: centre and horizon radius, pixels (r 0: no grid).
    int GridCx() const { return cx_; }
    int GridCy() const { return cy_; }
    int GridR() const { return r_; }
    bool ShowsCalculating() const { return calculating_; }
    // "Calculating..." at once, until the next DrawMapGrid.
    void ShowCalculating();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    friend void DrawMapGrid(MapPicture* picture);
    int cx_ = 0, cy_ = 0, r_ = 0;
    bool calculating_ = false;
};

// A mark on the map: a label that says when it is double-clicked. Its Tag is the
// star's table index (star marks) or the body's display index (body marks).
class MapMarkLabel : public QLabel {
    Q_OBJECT
public:
    explicit MapMarkLabel(QWidget* parent = nullptr);
    int Tag = 0;
signals:
    void doubleClicked(MapMarkLabel* mark);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// The look of a star mark (a yellow "*") or a body mark (a red circled cross).
void StyleMark(MapMarkLabel* mark, bool star);
// Puts a mark where its altitude and azimuth fall on a picture w x h pixels, with
// its name as the tooltip and its Tag, and shows it.
void PlaceMark(MapMarkLabel* mark, const MapMark& m, int w, int h);
inline constexpr const char* kNotOnMap = " (not on the map)";
// Clears the picture and draws the grid for its present size.
void DrawMapGrid(MapPicture* picture);

// The calculation details window ("Calculation details"): the conditions and the
// summary of the last fix, the table of every reduction step of its lines, and a
// zoomable plot of the lines of position.
#pragma once
#include <QSize>
#include <QString>
#include <array>

#include "app/ChildWindow.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class PlotPicture;

class frmDetails : public ChildWindow {
    Q_OBJECT
public:
    explicit frmDetails(QWidget* parent = nullptr);

    void Placed() override;

    // The grid scales, nautical miles per cell, and the present one.
    static constexpr std::array<double, 9> kScales{{0.5, 1, 2, 5, 10, 50, 100, 500, 1000}};
    int ZoomIndex() const { return zoomIndex_; }
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

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Zoom(int step);
    int zoomIndex_ = 1;
    QSize lastClient_;
};

// The rise and set window: for the local day of LocalDate at the ship's position,
// rise, set, upper and lower transit times (zone time) and transit altitudes of
// the Sun, the seven planets and the Moon, and nautical and civil twilight. The
// whole table is filled by the approximate method; a click on a body's name or on
// the twilight frame recomputes that row or the twilight block rigorously.
#pragma once
#include <QSize>
#include <array>

#include "ui/ChildWindow.h"
#include "ui/mLayout.h"

class QGroupBox;
class QLabel;
class QPushButton;

class frmRiseSet : public ChildWindow {
    Q_OBJECT
public:
    explicit frmRiseSet(QWidget* parent = nullptr);

    // Recomputes the whole window by the approximate method; every row and the
    // twilight frame become "(Approximate)" again.
    void Update() override;
    void Placed() override;

    // Controls, object names "<name>_<index>" for the arrays ("lblRS_Name_3").
    QGroupBox* fraRS_GenInfo = nullptr;
    QGroupBox* fraTwilight = nullptr;
    std::array<QLabel*, 9> lblRS_Def{};  // 0-4 headers, 5 conditions, 6-7 twilight rows, 8 note
    std::array<QLabel*, 9> lblRS_Name{};
    std::array<QLabel*, 9> lblRS_Rise{};
    std::array<QLabel*, 9> lblRS_Set{};
    std::array<QLabel*, 9> lblRS_UTransitT{};
    std::array<QLabel*, 9> lblRS_UTransitH{};
    std::array<QLabel*, 9> lblRS_LTransitT{};
    std::array<QLabel*, 9> lblRS_LTransitH{};
    std::array<QLabel*, 4> lblRS_TwiLight{};  // nautical start, end; civil start, end
    QPushButton* Command1 = nullptr;          // "&Recalculate"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillRow(int row, bool approximate);
    void FillTwilight(bool approximate);
    QString ConditionsText() const;
    void RowClick(int row);
    void TwilightClick();
    void Place(QWidget* w, int left, int top, int width, int height);

    LayoutScaler scaler_;
};

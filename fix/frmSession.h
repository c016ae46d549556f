// The session window ("Twilight Session"): any number of sights (twelve rows to
// start, more on "Add sight", any number from a sights file), each with a "Use"
// tick; the fix by least squares with series averaged, blunders flagged with the
// fix without them, the geometric ellipse and the 95% region from the residuals;
// "Identify" for a sight of an unknown body from its altitude and a compass
// bearing; "Mark" stamps the present UT corrected by the clock error; a plot of
// the chosen sight's series (Hs - Hc against time).
#pragma once
#include <QString>
#include <QVector>
#include <string>
#include <vector>

#include "fix/mIdentify.h"
#include "fix/mSessionFix.h"
#include "ui/ChildWindow.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

// Hs - Hc of each shot of one series against its time, the series mean as a line,
// the shot that stands out in red.
class SeriesPlot : public QWidget {
    Q_OBJECT
public:
    explicit SeriesPlot(QWidget* parent = nullptr);
    // minutes: each shot's time; offsets: its intercept, arc minutes; outlier: index or -1.
    void SetSeries(const QString& title, const std::vector<double>& minutes, const std::vector<double>& intercepts,
                   double mean, int outlier);
    QString Title() const { return title_; }
    int PointCount() const { return static_cast<int>(minutes_.size()); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    std::vector<double> minutes_, intercepts_;
    double mean_ = 0.0;
    int outlier_ = -1;
};

// The lines of position of a session round its fix (north up, nautical miles): the lines
// that do not fit in red, the fix, the fix without the flagged line (a cross), the
// geometric ellipse (blue) and the 95% region from the residuals (green, dashed).
class SessionLinesPlot : public QWidget {
    Q_OBJECT
public:
    explicit SessionLinesPlot(QWidget* parent = nullptr);
    void SetFix(const SessionFix* fix);  // nullptr: nothing to draw
    double HalfWidthNm() const { return halfNm_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const SessionFix* fix_ = nullptr;
    double halfNm_ = 1.0;
};

class frmSession : public ChildWindow {
    Q_OBJECT
public:
    explicit frmSession(QWidget* parent = nullptr);

    // Columns of tblSights.
    enum Column {
        colUse, colBody, colUT, colHs, colUpper, colBearing, colIdentify, colMark,
        colHo, colHc, colZn, colIntercept, colResidual, colSeries, colFlag, kColumns
    };
    static constexpr int kStartRows = 12;

    // The conditions label from the working data.
    void Update() override;
    QSize ContentSize() const override;

    // Rows.
    int AddSight();
    void SetSight(int row, BodyCode body, DateValue ut, double hs, bool lowerLimb, bool use = true);
    // The position window's lines in use, their times on the UT date utDate, into the first empty rows.
    void TakeLines(const SightLines& lines, DateValue utDate);
    // The sights into the rows of their numbers (SightNumber), every other row
    // emptied; no fix is calculated. A reopened session.
    void ShowSights(const std::vector<SessionSight>& sights);
    // The rows from a sights file (the command line's format); false after a message.
    bool OpenFile(const QString& path);
    // The sights of the filled rows; false with why naming the row and the column.
    bool ReadSights(std::vector<SessionSight>& sights, std::vector<int>& rows, QString& why) const;

    // "&Calculate": the fix from the filled rows, shown in the table, the summary and the plot.
    void Calculate();
    const SessionFix& Result() const { return result_; }
    bool HasResult() const { return hasResult_; }
    // The summary of the last fix (what lblSummary shows).
    QString SummaryText() const;

    // "Identify" on a row: the bodies near its altitude and bearing listed in lstIdentify.
    void Identify(int row);
    // Puts the listed body k into the row that was identified.
    void TakeIdentified(int k);
    // "Mark" on a row: the present UT of the computer's clock less the clock error.
    void Mark(int row);
    // The series of a row drawn in the plot.
    void PlotSeriesOf(int row);

    QLabel* lblConditions = nullptr;
    QTableWidget* tblSights = nullptr;
    QPushButton* cmdCalculate = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdOpen = nullptr;
    QPushButton* cmdDetails = nullptr;
    QLabel* lblSummary = nullptr;
    QListWidget* lstIdentify = nullptr;
    QPushButton* cmdTakeIdentified = nullptr;
    SeriesPlot* plotSeries = nullptr;
    SessionLinesPlot* plotLines = nullptr;

signals:
    // A fix was calculated (Result() holds it): the frame records it in the sight log.
    void sessionCalculated();
    // "&Details": the details window with the last fix.
    void detailsRequested();

private:
    BodyCode BodyOfRow(int row) const;
    void SetBodyOfRow(int row, BodyCode code);
    QString Text(int row, int column) const;
    void SetText(int row, int column, const QString& text);
    void ShowResult();

    SessionFix result_;
    bool hasResult_ = false;
    std::vector<int> resultRows_;  // the table row of each sight of result_
    std::vector<IdentifyCandidate> candidates_;
    int identifyRow_ = -1;
};


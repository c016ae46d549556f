// "Print daily pages…": a date range, then the printer (Qt's print dialog) or a PDF file.
// The pages are computed and drawn on a worker thread; a progress bar and Cancel.
#pragma once
#include <QDialog>
#include <atomic>
#include <functional>
#include <memory>

#include "almanac/mDailyPagesPrint.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPrinter;
class QProgressBar;
class QPushButton;
class QThread;

class frmPrintPages : public QDialog {
    Q_OBJECT
public:
    // The range starts at the working date and covers one spread.
    explicit frmPrintPages(QWidget* parent = nullptr);
    // A run still going is cancelled and waited for.
    ~frmPrintPages() override;

    QDateEdit* dtFrom = nullptr;
    QDateEdit* dtTo = nullptr;
    QCheckBox* chkTables = nullptr;    // "With the standing &tables"
    QCheckBox* chkLunars = nullptr;    // "&Lunar distances"
    QComboBox* cboPaper = nullptr;     // the PDF's paper: "A4", "Letter"
    QPushButton* cmdPrint = nullptr;   // "&Print…"
    QPushButton* cmdPdf = nullptr;     // "Save as P&DF…"
    QPushButton* cmdCancel = nullptr;  // "Cancel": stops a run
    QPushButton* cmdClose = nullptr;   // "&Close"
    QProgressBar* pbPages = nullptr;   // spreads done of the range
    QLabel* lblStatus = nullptr;       // what the last run did

    // Asks where to write the PDF (the file dialog; a test replaces it). Empty: cancelled.
    static std::function<QString(QWidget* parent)> AskPdfPath;

    bool Running() const { return worker_ != nullptr; }

signals:
    // A run ended: ok, or the reason ("" when cancelled).
    void RunFinished(bool ok, const QString& error);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    using Job = std::function<bool(DateValue from, DateValue to, const std::atomic<bool>* cancel,
                                   const PagesProgress& progress, QString* error)>;
    void Start(Job job, const QString& what);
    void Finish(bool ok, const QString& error);
    void SetRunning(bool running);
    void StopAndWait();

    std::atomic<bool> cancel_{false};
    QThread* worker_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    QString what_;
};

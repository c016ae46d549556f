// The sight log window: the recorded fixes, newest first, with a date filter;
// the lines of the selected fix; its note; "&Reopen" (the working data and
// sights back into the general information and position windows), "&Delete"
// and "&Export CSV…".
#pragma once
#include <QString>
#include <functional>

#include "ui/ChildWindow.h"
#include "log/mSightLog.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class QTreeWidget;
class SightLogModel;

class frmSightLog : public ChildWindow {
    Q_OBJECT
public:
    explicit frmSightLog(QWidget* parent = nullptr);

    // Lists the log again (a new fix was recorded, the filter changed).
    void Update() override;
    // Wide enough for every column of the list up to the bodies (the note may scroll).
    QSize ContentSize() const override;

    // The file chooser of "Export CSV…": (parent, suggested name) -> chosen
    // path, "" for cancel. Replaceable so that tests answer it.
    using SaveFileChooser = std::function<QString(QWidget*, const QString&)>;
    static SaveFileChooser SetSaveFileChooser(SaveFileChooser chooser);

    QCheckBox* chkFilter = nullptr;   // "Only from"
    QDateEdit* dateFrom = nullptr;    // zone dates, both days included
    QDateEdit* dateTo = nullptr;
    QTreeView* lstFixes = nullptr;    // Date, Zone time, UT, Position, Ellipse, Bodies, Note
    QTreeWidget* lstSights = nullptr; // Line, Body, UT, Hs, Limb, Hc, Zn, Intercept
    QLineEdit* txtNote = nullptr;
    QLabel* lblPasses = nullptr;      // how the selected fix was made: one pass or iterated, with the shifts
    QPushButton* cmdReopen = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdExport = nullptr;

signals:
    // The user chose to replace the working data with that of a fix (f.Working). The
    // frame applies it and shows it in the general information and position windows.
    void fixReopened(const LoggedFix& fix);

private:
    void ShowSelected();
    void Reopen();
    void DeleteSelected();
    void ExportCsv();
    void KeepNote();
    std::vector<std::int64_t> SelectedIds() const;
    SightLogModel* model_ = nullptr;
    std::int64_t currentId_ = 0;
};

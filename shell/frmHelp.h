// The help window: the help document shown inside the program, with back and
// forward, find in the page, and a link that opens the whole document in the
// desktop's browser. It opens at the section of the window the user is in.
#pragma once
#include <QString>
#include <QUrl>
#include <functional>
#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QToolButton;

class frmHelp : public QWidget {
    Q_OBJECT
public:
    // A top-level window over `parent` showing the document at `path`.
    explicit frmHelp(const QString& path, QWidget* parent = nullptr);

    // Shows the section with this anchor ("position"); an empty or unknown
    // anchor shows the top of the document.
    void ShowSection(const QString& anchor);
    // The anchor of the section shown last.
    QString Section() const { return section_; }
    // Finds the next (backward: previous) occurrence of the find box's text,
    // wrapping round the document; false when the text is not in it.
    bool FindNext(bool backward = false);

    // The help section of a working window, by its window name ("frmPosition"
    // -> "position"); "start" for the main window and anything else.
    static QString SectionOf(const QString& windowName);

    QTextBrowser* Browser = nullptr;
    QToolButton* cmdBack = nullptr;
    QToolButton* cmdForward = nullptr;
    QLineEdit* txtFind = nullptr;
    QLabel* lblExternal = nullptr;  // "Open in the desktop browser"
    QLabel* lblFindStatus = nullptr;  // "Not found" after a find without a match

    // Opens the document in the desktop's browser; false when nothing could
    // (no launcher). Replaceable for tests.
    static std::function<bool(const QUrl&)> OpenExternally;

private:
    QString path_;
    QString section_;
};

#include "shell/frmHelp.h"

#include "ui/mDialogs.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

frmHelp::frmHelp(const QString& path, QWidget* parent) : QWidget(parent, Qt::Window), path_(path) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Veltrano Help"));

    cmdBack = new QToolButton(this);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdBack->setText(QStringLiteral("< &Back"));
    cmdBack->setToolTip(QStringLiteral("Back to the page shown before (Alt+Left)"));
    cmdBack->setShortcut(QKeySequence(QKeySequence::Back));
    cmdBack->setEnabled(false);
    cmdForward = new QToolButton(this);
    cmdForward->setObjectName(QStringLiteral("cmdForward"));
    cmdForward->setText(QStringLiteral("&Forward >"));
    cmdForward->setToolTip(QStringLiteral("Forward again (Alt+Right)"));
    cmdForward->setShortcut(QKeySequence(QKeySequence::Forward));
    cmdForward->setEnabled(false);
    auto* findLabel = new QLabel(QStringLiteral("F&ind:"), this);
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setClearButtonEnabled(true);
    txtFind->setToolTip(QStringLiteral("Text to find in the page: Enter finds the next, Shift+Enter the previous"));
    findLabel->setBuddy(txtFind);
    auto* cmdNext = new QToolButton(this);
    cmdNext->setObjectName(QStringLiteral("cmdFindNext"));
    cmdNext->setText(QStringLiteral("&Next"));
    cmdNext->setToolTip(QStringLiteral("Find the next occurrence (F3)"));
    lblExternal = new QLabel(this);
    lblExternal->setObjectName(QStringLiteral("lblExternal"));
    lblExternal->setText(QStringLiteral("<a href=\"%1\">Open in the desktop browser</a>")
                             .arg(QUrl::fromLocalFile(path_).toString().toHtmlEscaped()));
    lblExternal->setToolTip(QStringLiteral("The whole help document in the desktop's web browser"));
    lblExternal->setTextInteractionFlags(Qt::TextBrowserInteraction);
    lblExternal->setOpenExternalLinks(false);
    connect(lblExternal, &QLabel::linkActivated, this, [this](const QString& link) {
        if (!OpenExternally(QUrl(link)))
            ShowMessage(this, QStringLiteral("Help"),
                        QStringLiteral("No desktop browser could be started to open %1. The help stays here, in "
                                       "this window.")
                            .arg(QUrl(link).toLocalFile()),
                        MsgIcon::Information);
    });

    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenExternalLinks(true);

    auto* bar = new QHBoxLayout;
    bar->addWidget(cmdBack);
    bar->addWidget(cmdForward);
    bar->addSpacing(12);
    bar->addWidget(findLabel);
    bar->addWidget(txtFind, 1);
    bar->addWidget(cmdNext);
    lblFindStatus = new QLabel(this);
    lblFindStatus->setObjectName(QStringLiteral("lblFindStatus"));
    bar->addWidget(lblFindStatus);
    bar->addSpacing(12);
    bar->addWidget(lblExternal);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(bar);
    outer->addWidget(Browser, 1);

    connect(cmdBack, &QToolButton::clicked, Browser, &QTextBrowser::backward);
    connect(cmdForward, &QToolButton::clicked, Browser, &QTextBrowser::forward);
    connect(Browser, &QTextBrowser::backwardAvailable, cmdBack, &QToolButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, cmdForward, &QToolButton::setEnabled);
    connect(txtFind, &QLineEdit::returnPressed, this, [this] {
        FindNext(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier);
    });
    connect(cmdNext, &QToolButton::clicked, this, [this] { FindNext(); });
    auto* f3 = new QShortcut(QKeySequence(QKeySequence::FindNext), this);
    connect(f3, &QShortcut::activated, this, [this] { FindNext(); });
    auto* find = new QShortcut(QKeySequence(QKeySequence::Find), this);
    connect(find, &QShortcut::activated, this, [this] {
        txtFind->setFocus(Qt::ShortcutFocusReason);
        txtFind->selectAll();
    });

    if (QFileInfo::exists(path_)) {
        Browser->setSource(QUrl::fromLocalFile(path_));
    } else {
        Browser->setHtml(QStringLiteral("<h2>Help not found</h2><p>The help document <code>%1</code> is not "
                                        "there. Reinstalling Veltrano puts it back.</p>")
                             .arg(path_.toHtmlEscaped()));
    }
    resize(fontMetrics().averageCharWidth() * 100, fontMetrics().height() * 40);
}

QString frmHelp::SectionOf(const QString& windowName) {
    static const struct {
        const char* window;
        const char* anchor;
    } kSections[] = {{"frmGeneral", "general"},     {"frmPosition", "position"},
                     {"frmDetails", "details"},     {"frmRiseSet", "riseset"},
                     {"frmEphemerides", "ephemerides"}, {"frmAnnual", "annual"},
                     {"frmCompas", "compass"},      {"frmSightLog", "sightlog"},
                     {"frmSightPlan", "sightplan"}, {"frmNoon", "noon"},
                     {"frmPolaris", "polaris"},     {"frmPrintPages", "printpages"}};
    for (const auto& s : kSections)
        if (windowName == QLatin1String(s.window)) return QLatin1String(s.anchor);
    return QStringLiteral("start");
}

void frmHelp::ShowSection(const QString& anchor) {
    section_ = anchor;
    if (!QFileInfo::exists(path_)) return;
    QUrl url = QUrl::fromLocalFile(path_);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    if (Browser->source() == url) {
        // The same address again: the browser would not move; go to the anchor.
        if (!anchor.isEmpty()) Browser->scrollToAnchor(anchor);
        return;
    }
    Browser->setSource(url);
}

std::function<bool(const QUrl&)> frmHelp::OpenExternally = [](const QUrl& url) {
    return QDesktopServices::openUrl(url);
};

bool frmHelp::FindNext(bool backward) {
    const QString text = txtFind->text();
    lblFindStatus->clear();
    if (text.isEmpty()) return false;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (Browser->find(text, flags)) return true;
    // Round the end of the document and once more.
    QTextCursor c = Browser->textCursor();
    c.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    Browser->setTextCursor(c);
    if (Browser->find(text, flags)) return true;
    lblFindStatus->setText(QStringLiteral("Not found"));
    lblFindStatus->setToolTip(QStringLiteral("\"%1\" is nowhere in the help").arg(text));
    return false;
}

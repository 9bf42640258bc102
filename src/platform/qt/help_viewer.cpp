#include "platform/qt/help_viewer.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

#include "platform/qt/dialogs.h"

#ifndef KORVANE_HELP_DIR
#define KORVANE_HELP_DIR ""
#endif

namespace korvane::qt {

namespace {

constexpr const char* kDefaultPage = "Korvane.htm";
constexpr const char* kContentsAnchor = "MAIN_CONTENTS";

} // namespace

QUrl HelpViewer::pageUrl(const QString& pageAndAnchor) {
    const qsizetype hash = pageAndAnchor.indexOf(QLatin1Char('#'));
    QString page = hash < 0 ? pageAndAnchor : pageAndAnchor.left(hash);
    const QString anchor = hash < 0 ? QString() : pageAndAnchor.mid(hash + 1);
    // Only a plain file name of the game's resources is a page; anything else shows ours.
    if (page.isEmpty() || page.contains(QLatin1Char('/')) || page.contains(QLatin1Char('\\'))) {
        page = QString::fromLatin1(kDefaultPage);
    }
    QUrl url(QStringLiteral("qrc:/") + page);
    if (!anchor.isEmpty()) {
        url.setFragment(anchor);
    }
    return url;
}

QString HelpViewer::installedPagePath() {
    return QStringLiteral(KORVANE_HELP_DIR "/") + QString::fromLatin1(kDefaultPage);
}

HelpViewer::HelpViewer(const QString& pageAndAnchor, QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)),
      browserAction_(new QAction(QStringLiteral("Open in Browser"), this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Korvane Help"));
    resize(560, 640);

    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(true);
    browser_->document()->setDocumentMargin(10);

    auto* tools = new QToolBar(this);
    QAction* back = tools->addAction(QStringLiteral("Back"), browser_, &QTextBrowser::backward);
    QAction* forward =
        tools->addAction(QStringLiteral("Forward"), browser_, &QTextBrowser::forward);
    tools->addAction(QStringLiteral("Contents"), this, [this] {
        browser_->setSource(pageUrl(QString::fromLatin1(kDefaultPage) + QLatin1Char('#') +
                                    QString::fromLatin1(kContentsAnchor)));
    });
    tools->addSeparator();
    tools->addAction(browserAction_);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browserAction_, &QAction::triggered, this, &HelpViewer::openInDesktopBrowser);
    browserAction_->setEnabled(QFileInfo::exists(installedPagePath()));
    browserAction_->setToolTip(QStringLiteral("Open the installed help page in the web browser"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(browser_, 1);

    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Korvane Help") : title);
    });
    browser_->setSource(pageUrl(pageAndAnchor));

    // A window of reading closes the way desktop readers do.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close),
                                    QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);
    }
}

void HelpViewer::showPage(const QString& pageAndAnchor) {
    browser_->setSource(pageUrl(pageAndAnchor));
}

// The desktop's browser may drop the anchor of a file URL; it opens at the top of the page then.
void HelpViewer::openInDesktopBrowser() {
    QUrl url = QUrl::fromLocalFile(installedPagePath());
    url.setFragment(browser_->source().fragment());
    QDesktopServices::openUrl(url);
}

// One help window per game window: a second request brings the open one to the front at the
// asked page rather than stacking copies.
void openHelpViewer(QWidget* parent, const QString& pageAndAnchor) {
    HelpViewer* viewer =
        parent ? parent->findChild<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (viewer) {
        viewer->showPage(pageAndAnchor);
        viewer->showNormal();
    } else {
        viewer = new HelpViewer(pageAndAnchor, parent);
    }
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

} // namespace korvane::qt

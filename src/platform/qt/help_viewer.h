#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QAction;
class QTextBrowser;

namespace korvane::qt {

// A help window of the game's own: the help page compiled into the game, opened at an anchor,
// with its internal links, back and forward. A game window has at most one: a later request
// raises it at the asked page. Escape, Ctrl+W or the close control end it (it deletes itself).
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // pageAndAnchor names a page of the game's resources and an optional anchor after '#',
    // e.g. "Korvane.htm#MAIN_CONTENTS".
    explicit HelpViewer(const QString& pageAndAnchor, QWidget* parent = nullptr);

    // The resource URL of a page and anchor: "qrc:/Korvane.htm#MAIN_CONTENTS".
    static QUrl pageUrl(const QString& pageAndAnchor);
    // The copy of the page installed with the game, for the desktop's browser.
    static QString installedPagePath();

    // Show another page and anchor of the game's resources in this window.
    void showPage(const QString& pageAndAnchor);

    QTextBrowser* browser() const { return browser_; }
    QAction* browserAction() const { return browserAction_; }

private:
    void openInDesktopBrowser();

    QTextBrowser* browser_;
    QAction* browserAction_;
};

} // namespace korvane::qt

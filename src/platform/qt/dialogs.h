#pragma once

#include <QString>

class QWidget;

namespace korvane {
class Platform;
}

namespace korvane::qt {

// The highscores dialog on a table (0..8), reading the stored texts through the platform's
// storage, with a result just entered marked at its places (-1: none); modal.
void runHighscoreDialog(QWidget* parent, Platform& storage, int selectedTable,
                        int newMovesPlace = -1, int newTimePlace = -1);
// The about box with the logo, the version, the licence and a Close button; modal.
void runAboutDialog(QWidget* parent);
// The non-modal help window on the game's page (e.g. "Korvane.htm#MAIN_CONTENTS"): opened,
// or the open one raised.
void openHelpViewer(QWidget* parent, const QString& pageAndAnchor);

} // namespace korvane::qt

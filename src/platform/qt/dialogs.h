#pragma once

#include <QString>

class QWidget;

namespace korvane {
class Platform;
}

namespace korvane::qt {

// The highscores dialog on a table (0..8), reading the stored texts through the platform's
// storage; modal.
void runHighscoreDialog(QWidget* parent, Platform& storage, int selectedTable);
// The about box with the logo; modal.
void runAboutDialog(QWidget* parent);
// A new, non-modal help window on the game's page (e.g. "Korvane.htm#MAIN_CONTENTS").
void openHelpViewer(QWidget* parent, const QString& pageAndAnchor);

} // namespace korvane::qt

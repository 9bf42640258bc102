#pragma once

#include <QAction>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <map>
#include <memory>

#include "app/platform.h"
#include "platform/qt/distance_cache.h"
#include "platform/qt/profile_storage.h"

namespace korvane {
class PuzzleDialog;
}

namespace korvane::qt {

class PuzzleView;

// The window services on Qt. The main window hands it the dialog, the view and the command
// actions once they exist; until then the services that need them do nothing. Timers are one
// QTimer per id, delivering PuzzleDialog::OnTimer on the user-interface thread; the frame clock
// is one more precise QTimer, delivering PuzzleDialog::OnFrameTick.
class QtPlatform : public Platform {
public:
    explicit QtPlatform(QWidget* window);
    ~QtPlatform() override;

    void setDialog(PuzzleDialog* dialog) { dialog_ = dialog; }
    void setView(PuzzleView* view);
    // The action that stands for a command in the menus or on the tool bar.
    void addCommandAction(int command, QAction* action);
    QAction* commandAction(int command) const;
    bool timerRunning(int id) const;
    int timerPeriod(int id) const;
    ProfileStorage& storage() { return storage_; }
    // The frame interval: KORVANE_FRAME_MS when it holds a number of 0 or more, else 25 ms.
    static constexpr int kDefaultFrameMs = 25;
    static std::chrono::milliseconds frameInterval();
    bool frameClockRunning() const { return frameClock_.isActive(); }
    // The folder of the game's own data ($XDG_DATA_HOME/Helmfirth/Korvane) and the kept game's
    // file in it.
    static QString dataFolder();
    static QString keptGameFile();
    // Names the running copy whose game in play the kept game is ("<pid> <host> game"), so that
    // another copy started meanwhile does not resume a game still being played.
    static QString keptGameOwnerFile();
    // The session or a signal ends the program: no more boxes, what would be said goes to
    // standard error.
    void setShuttingDown(bool shuttingDown) { shuttingDown_ = shuttingDown; }

    void repaintNow() override;
    void startFrameClock() override;
    void stopFrameClock() override;
    void setTimer(int id, int periodMs) override;
    void killTimer(int id) override;
    void enableButton(int command, bool enabled) override;
    void checkMenuItem(int command, bool checked) override;
    void messageBox(const std::string& text, const std::string& caption) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    void showHighscoreDialog(int table, int newMovesPlace, int newTimePlace) override;
    StoreResult storeKeptGame(const std::string& text) override;
    std::string loadKeptGame() override;
    void dropKeptGame() override;
    void releaseKeptGame();
    static bool keptGameInPlayElsewhere();
    void logLine(const std::string& line) override;
    void showAboutBox() override;
    void startHelpViewer(const std::string& program, const std::string& commandLine) override;
    int readInt(const std::string& section, const std::string& name, int def) override;
    void writeInt(const std::string& section, const std::string& name, int value) override;
    std::string readString(const std::string& section, const std::string& name,
                           const std::string& def) override;
    void writeString(const std::string& section, const std::string& name,
                     const std::string& value) override;
    void lockHighscores() override;
    void unlockHighscores() override;
    std::string storageProblem() const override;
    std::int64_t nowSeconds() override;
    unsigned randomSeed() override;
    std::int64_t nowMilliseconds() override;
    std::int64_t utcMilliseconds() override;
    SolveHistory* solveHistory() override { return history_; }
    const DistanceTable* distanceTable(int puzzleType, int level) override;
    void setSolveHistory(SolveHistory* history) { history_ = history; }
    void closeWindow() override;

private:
    void checkSettingsWritten();

    SolveHistory* history_ = nullptr;
    // Made the first time a puzzle asks for its distances, so a game that never does costs
    // nothing; the tables handed out stay alive with the cache.
    std::unique_ptr<DistanceCache> distances_;
    std::shared_ptr<const DistanceTable> handedOut_[std::size(kTableKinds)];
    QWidget* window_;
    bool shuttingDown_ = false;
    QPointer<PuzzleView> view_;
    PuzzleDialog* dialog_ = nullptr;
    std::map<int, QPointer<QAction>> actions_;
    std::map<int, std::unique_ptr<QTimer>> timers_;
    ProfileStorage storage_;
    QTimer frameClock_;
};

} // namespace korvane::qt

#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/platform.h"
#include "app/solve_history.h"
#include "input/keyboard_cursor.h"
#include "model/game_rules.h"
#include "model/game_state.h"
#include "model/move.h"
#include "render/animation.h"
#include "render/canvas.h"

namespace korvane {

// The main window object: owns the game's state, by purpose, and carries every operation and
// handler of the game. Each member sequences the rules (pure functions in model/, render/ and
// input/) with the back buffer (Canvas) and the window services (Platform); it never sees the
// toolkit. A turn runs on the event loop, one frame per tick of the platform's frame clock;
// input that arrives meanwhile waits for it, in order.
class PuzzleDialog {
public:
    PuzzleDialog(Platform& platform, Canvas& backBuffer);

    // What the window and the tests may read.
    const Puzzle& puzzle() const { return puzzle_; }
    const GameRecord& record() const { return record_; }
    const View& view() const { return view_; }
    const Gesture& gesture() const { return gesture_; }
    const ScreenRecords& screen() const { return screen_; }
    // A turn's animation (a scramble's among them) is under way, or input waits for one.
    bool busy() const { return running_.has_value() || !pending_.empty(); }

    // Start-up and shutdown.
    bool OnInitDialog();
    void OnDestroy();
    bool OnEraseBkgnd() { return true; }

    // Frame composition. paintWindow composes the status line over the back buffer, first
    // drawing the picture afresh when the back buffer lost it (invalidatePicture).
    void paintWindow();
    void invalidatePicture() { pictureLost_ = true; }
    // The whole puzzle drawn afresh (with its screen records) and shown.
    void redraw();
    // What shows now (the running turn's frame, or the whole puzzle) drawn again and shown.
    void refreshPicture();

    // The puzzle and its turns.
    void buildPuzzle(int type, int level);
    void turnAxis1(int layer, int dir) { performTurn(Move::axisTurn(1, layer, dir)); }
    void turnAxis2(int layer, int dir) { performTurn(Move::axisTurn(2, layer, dir)); }
    void turnAxis3(int layer, int dir) { performTurn(Move::axisTurn(3, layer, dir)); }
    void turnAxis4(int layer, int dir) { performTurn(Move::axisTurn(4, layer, dir)); }
    void turnCorner(int dir, int corner) { performTurn(Move::cornerTurn(corner, dir)); }
    // A move as the player makes it: recorded, then animated; the colours move at its end.
    // A move this puzzle has no turn for does nothing.
    void performTurn(const Move& move);

    // The game. newGame and undoMove are the commands' own steps: they run when no turn does
    // (OnCommand sees to it).
    void newGame();
    void recordMove(const Move& move);
    void undoMove();
    // In practice (no clock) undo goes back move by move to the start, and redo brings the
    // undone moves back in turn until the player makes a move of their own.
    void redoMove();
    bool practising() const { return record_.clockRunning == 0 && !scrambling_; }
    const std::vector<Move>& redoMoves() const { return redo_; }
    void checkSolved();
    // Where a result went in a table's lists (-1: not in that list), and the tenth places.
    struct ResultPlaces {
        int moves = -1;
        int time = -1;
        int tenthMoves = -1;
        int tenthSeconds = -1;
    };
    ResultPlaces enterResult(int table, int moves, int seconds);
    // A timed game is under way (its scramble is over and it is not won yet).
    bool timedGame() const { return record_.clockRunning == 1 && !scrambling_; }

    // Pause: the clock stands still and the puzzle is hidden until the player goes on (a press,
    // a key or the Pause command again). The window asks for it when it is minimised or loses
    // the focus; it does nothing outside a timed game.
    bool paused() const { return paused_; }
    void OnPauseRequest();
    // The seconds the game has run, paused time not counted.
    int elapsedSeconds();

    // Quitting keeps a timed game for the next start (anything else drops the kept one); the
    // start resumes it, paused. Safe to call more than once.
    void keepGameOnQuit();
    // Something the game stores could not be written: the player hears of it once per start.
    void storageFailed(const std::string& what, const std::string& where, const std::string& why);

    // Stylus, keys and timers (logical back-buffer coordinates).
    void OnLButtonDown(int flags, int x, int y);
    void OnMouseMove(int flags, int x, int y);
    void OnLButtonUp(int flags, int x, int y);
    // Any key: ends a replay or goes on with a paused game; true when that is all it does.
    bool OnKeyDown();
    // A key by its meaning: an arrow moves the cursor sticker (with Shift: the stroke from it to
    // that neighbour; with Ctrl: a spin), + and - zoom a step, Home brings back the standard view.
    enum class Key { Up, Down, Left, Right, ZoomIn, ZoomOut, Home };
    void OnKeyDown(Key key, bool shift, bool ctrl);
    // The sticker the cursor stands on while it is shown, for the window and the tests.
    std::optional<CursorSticker> cursorSticker() const;
    // The keyboard reached the view (Tab) or left it: the cursor shows where the keys will act,
    // or goes, so the focus is always visible without changing the picture a mouse player sees.
    void OnKeyboardFocus(bool gained);
    // The sticker outlined as pressed (or flashed), if any.
    std::optional<StickerHit> outlinedSticker() const { return outlined_; }
    // Hint: in practice on a puzzle whose distances are known, the stroke of a move one nearer
    // to solved is outlined (the sticker to press, the sticker to release on) until the next
    // input; nothing is turned.
    struct HintStroke {
        StickerHit press;
        StickerHit release;
    };
    bool hintOffered() const;
    void showHint();
    std::optional<HintStroke> hint() const { return hint_; }
    void OnTimer(int id);
    void OnFrameTick();
    void zoomStep();

    // Commands from the menus, buttons and shortcuts; the platform's help request.
    void OnCommand(int command);
    void OnHelpRequest() { showHelp(); }
    void showHelp();
    void uncheckPuzzleItems();

    // Watch a recorded game again: its scramble at once, then every move at its recorded pace,
    // with its clock and move counter. Any key, click or command ends it and brings back the
    // game that was on screen (a timed one paused).
    void startReplay(const SolveRecord& game);
    bool replaying() const { return replay_ != nullptr; }
    // Ends a replay; false when none runs.
    bool endReplay();

    // The seed of the next scramble, when a test wants a known one; 0 asks the platform.
    void setScrambleSeed(unsigned seed) { scrambleSeed_ = seed; }

private:
    // Input that arrived while a turn ran, performed in order after it.
    struct PendingInput {
        enum class Kind { Press, Drag, Release, Command, Turn, Pause, Key } kind;
        int x = 0; // or the command, or the key
        int y = 0; // or the key's modifiers
        Move move;
    };
    // The model's geometry before the frame on screen was drawn, so the frame can be drawn again.
    struct FrameStart {
        double corner[kCorners][3];
        double faceNormal[kFaces][3];
        TurnFrames frames;
    };

    // The solve history and the par (puzzle_dialog_history.cpp).
    int drawScramble(Move turns[kScrambleTurns]);
    void keepScrambleReplayable(const Move* turns, int count);
    std::vector<TimedMove> timedMoves() const;
    void recordGame(bool abandoned);
    void abandonRunningGame();
    void learnPar();
    void replayStep();
    // The game on screen while a replay runs, and where the replay stands.
    struct Replay {
        Puzzle puzzle;
        GameRecord record;
        View view;
        bool paused = false;
        int stoppedElapsed = 0;
        std::vector<TimedMove> log;
        std::size_t next = 0;
        std::int64_t startMs = 0;
        int seconds = 0;
    };
    std::unique_ptr<Replay> replay_;
    std::string parText(int moves);

    void handleInput(const PendingInput& input);
    bool goesOnWith(const PendingInput& input);
    void togglePause();
    void pressStylus(int x, int y);
    void dragStylus(int x, int y);
    void releaseStylus(int x, int y);
    void runCommand(int command);
    void runKey(Key key, bool shift, bool ctrl);
    void moveCursor(Arrow arrow, bool stroke);
    void showCursor();
    void standardView();
    void drawOverlay();
    void drawPressedButton();
    void outlinePressed(StickerHit hit);
    void flashPressed();
    void endFlash();
    void zoomBy(int dir);
    void startMove(const Move& move);
    void startTurn(const Move& move);
    void drawFrame();
    void finishTurn();
    void afterTurn();
    void endScramble();
    void finishAtOnce();
    void runPendingInput();
    void drawPicture();
    void setUndoButton(bool enabled);
    void endUndo();
    void clearRedo();
    void chooseBackground(int colour);
    void toggleColourAid(int command);
    void choosePen(int command);
    void chooseTypeItem(int command);
    int readSettings();
    void resumeKeptGame();
    void storeGameInPlay();
    void checkpointGame(bool always = false);
    void forgetKeptGame();
    bool confirmAbandon();
    bool clockStopped() const { return paused_ || clockHolds_ > 0; }
    void changeClock(bool paused, int holds);
    void setPaused(bool paused) { changeClock(paused, clockHolds_); }
    void holdClock(int change) { changeClock(paused_, clockHolds_ + change); }
    void drawPausedPicture();
    std::string resultText(int table, int moves, int seconds, const ResultPlaces& places) const;
    // A modal box of ours: the clock stands still while it is open.
    template <typename Box> auto withClockHeld(Box box) {
        holdClock(+1);
        struct Release {
            PuzzleDialog* d;
            ~Release() { d->holdClock(-1); }
        } release{this};
        return box();
    }

    Platform& platform_;
    Canvas& canvas_;
    RuntimeRandom random_;
    unsigned scrambleSeed_ = 0;

    Puzzle puzzle_;
    GameRecord record_;
    View view_;
    Gesture gesture_;
    ScreenRecords screen_;

    std::optional<TurnFrames> running_;
    FrameStart frameStart_{};
    std::deque<Move> scrambleLeft_;
    bool scrambling_ = false;
    bool undoing_ = false;
    bool atOnce_ = false;   // turns finish without frames (a command replaces the puzzle)
    bool draining_ = false; // the queued input is being performed
    std::deque<PendingInput> pending_;
    bool pictureLost_ = false;

    bool paused_ = false;
    int clockHolds_ = 0;     // modal boxes open
    int stoppedElapsed_ = 0; // the seconds shown while the clock stands still
    // The game in play as last kept on disk: whether a file holds it, its moves and seconds.
    bool keptOnDisk_ = false;
    std::size_t keptMoves_ = 0;
    int keptSeconds_ = 0;
    bool swallowStroke_ = false; // the press that ended a pause, till its release
    std::optional<std::pair<int, int>> shownResult_; // moves and seconds of the game just won
    bool toldStorage_ = false;
    std::vector<Move> redo_; // the moves undone in practice, the next one to redo last

    // The keyboard cursor: shown from the first arrow key until a mouse press; it keeps to its
    // sticker (by name) across redraws, or to the nearest one to where it stood.
    bool cursorShown_ = false;
    bool keyStroke_ = false; // a keyboard stroke presses through the stylus handlers
    StickerHit cursorId_{};
    double cursorX_ = kPictureWidth / 2.0;
    double cursorY_ = kPictureHeight / 2.0;
    std::vector<CursorSticker> cursorStickers_;
    // The pressed sticker, outlined while the button is held; a stroke that named no turn
    // shows it flashed until the flash timer.
    std::optional<StickerHit> outlined_;
    bool flashing_ = false;
    std::optional<HintStroke> hint_;
};

} // namespace korvane

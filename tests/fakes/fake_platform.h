#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/platform.h"

namespace korvane::testing {

// The window services in memory: storage, timers, check marks, button state and boxes are
// recorded; repaintNow calls the paint handler at once; the frame clock ticks only when a test
// steps it.
class FakePlatform : public Platform {
public:
    using Texts = std::vector<std::pair<std::string, std::string>>;
    std::function<void()> onRepaint;    // usually the dialog's paintWindow
    std::function<void()> onFrameTick;  // usually the dialog's OnFrameTick
    std::function<void()> onMessageBox; // runs while a message box is "open"
    int repaints = 0, locks = 0;
    bool frameClockRunning = false, locked = false, closed = false;
    std::map<int, int> timers; // running timers: id -> period
    std::map<int, bool> buttons, checks;
    Texts messages, questions; // (text, caption)
    std::vector<int> highscoreDialogs;
    std::vector<std::pair<int, int>> newPlaces; // marked (moves, time) places per dialog
    std::map<std::pair<std::string, std::string>, int> ints;
    std::map<std::pair<std::string, std::string>, std::string> strings;
    std::int64_t now = 1000;
    std::int64_t nowMs = 0; // when set (non-zero), the millisecond clock
    SolveHistory* history = nullptr;
    const DistanceTable* table = nullptr; // handed out for the puzzle it is of
    bool answerYes = true;
    std::string keptGame;
    bool keptGameStorable = true;
    std::vector<std::string> logLines;

    void repaintNow() override {
        ++repaints;
        if (onRepaint)
            onRepaint();
    }
    void startFrameClock() override { frameClockRunning = true; }
    void stopFrameClock() override { frameClockRunning = false; }
    // Tick the frame clock up to `ticks` times, while it runs; returns the ticks given.
    int tickFrames(int ticks = 1 << 20) {
        int given = 0;
        for (; given < ticks && frameClockRunning; ++given)
            onFrameTick();
        return given;
    }
    void setTimer(int id, int periodMs) override { timers[id] = periodMs; }
    void killTimer(int id) override { timers.erase(id); }
    void enableButton(int command, bool enabled) override { buttons[command] = enabled; }
    void checkMenuItem(int command, bool checked) override { checks[command] = checked; }
    void messageBox(const std::string& text, const std::string& caption) override {
        messages.emplace_back(text, caption);
        if (onMessageBox)
            onMessageBox();
    }
    bool askYesNo(const std::string& text, const std::string& caption) override {
        questions.emplace_back(text, caption);
        return answerYes;
    }
    void showHighscoreDialog(int table, int movesPlace, int timePlace) override {
        highscoreDialogs.push_back(table);
        newPlaces.emplace_back(movesPlace, timePlace);
    }
    StoreResult storeKeptGame(const std::string& text) override {
        if (!keptGameStorable)
            return {false, "/nowhere/kept-game", "Permission denied"};
        keptGame = text;
        return {};
    }
    std::string loadKeptGame() override { return keptGame; }
    void dropKeptGame() override { keptGame.clear(); }
    void logLine(const std::string& line) override { logLines.push_back(line); }
    void showAboutBox() override {}
    void startHelpViewer(const std::string&, const std::string&) override {}
    int readInt(const std::string& section, const std::string& name, int def) override {
        return ints.contains({section, name}) ? ints.at({section, name}) : def;
    }
    void writeInt(const std::string& section, const std::string& name, int value) override {
        ints[{section, name}] = value;
    }
    std::string readString(const std::string& section, const std::string& name,
                           const std::string& def) override {
        return strings.contains({section, name}) ? strings.at({section, name}) : def;
    }
    void writeString(const std::string& section, const std::string& name,
                     const std::string& value) override {
        strings[{section, name}] = value;
    }
    void lockHighscores() override { locked = ++locks > 0; }
    void unlockHighscores() override { locked = false; }
    std::int64_t nowSeconds() override { return now; }
    unsigned randomSeed() override { return 12345; }
    std::int64_t nowMilliseconds() override { return nowMs != 0 ? nowMs : now * 1000; }
    std::int64_t utcMilliseconds() override { return 1'780'000'000'000 + now * 1000; }
    SolveHistory* solveHistory() override { return history; }
    const DistanceTable* distanceTable(int puzzleType, int level) override {
        const bool fits = table != nullptr && tableKindFor(puzzleType, level) == table->kind();
        return fits ? table : nullptr;
    }
    void closeWindow() override { closed = true; }

    bool checked(int command) const { return checks.contains(command) && checks.at(command); }
    bool buttonEnabled(int command) const {
        return buttons.contains(command) && buttons.at(command);
    }
    bool timerRunning(int id) const { return timers.count(id) != 0; }
};

} // namespace korvane::testing

// A stand-in for a running copy of the game that only stores: it enters results through the
// game's own enterResult over the real profile storage, and can loop writing settings too.
//   storage_writer enter <table> <first> <step> <count>   enter count results, reporting each
//   storage_writer loop                                    write settings and results until killed
//   storage_writer solves <file> <first> <count>           record games into a solve history,
//                                                          seconds first, first+1, ...; reporting
//                                                          each once committed; count 0: forever
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/puzzle_dialog.h"
#include "fakes/fake_platform.h"
#include "fakes/recording_canvas.h"
#include "platform/qt/profile_storage.h"
#include "platform/qt/sql_solve_history.h"

namespace {

using korvane::qt::ProfileStorage;

// The fake window services with the real storage and lock underneath.
class StoringPlatform : public korvane::testing::FakePlatform {
    using S = const std::string&;

public:
    ProfileStorage storage;
    int readInt(S s, S n, int d) override { return storage.readInt(s, n, d); }
    void writeInt(S s, S n, int v) override { storage.writeInt(s, n, v); }
    std::string readString(S s, S n, S d) override { return storage.readString(s, n, d); }
    void writeString(S s, S n, S v) override { storage.writeString(s, n, v); }
    void lockHighscores() override { storage.lockHighscores(); }
    void unlockHighscores() override { storage.unlockHighscores(); }
};

void report(const char* what, int n) {
    std::printf("%s %d\n", what, n);
    std::fflush(stdout);
}

// A game of the size a real one has: a scramble of 19 turns, 60 timed moves.
korvane::SolveRecord sampleGame(int seconds) {
    korvane::SolveRecord game{
        .puzzle = {1, 3}, .endedUtcMs = 1800000000000 + seconds, .moves = 60, .seconds = seconds};
    for (int i = 0; i < 19; ++i)
        game.scramble.push_back(korvane::Move::axisTurn(1 + i % 3, i % 4, i % 2 ? 1 : -1));
    for (int i = 0; i < 60; ++i)
        game.moveLog.push_back({korvane::Move::axisTurn(1 + i % 3, i % 4, 1), 700 * i});
    return game;
}

int recordSolves(const char* file, int first, int count) {
    korvane::qt::SqlSolveHistory history(QString::fromLocal8Bit(file));
    for (int i = 0; count == 0 || i < count; ++i) {
        if (!history.record(sampleGame(first + i)))
            return 1;
        report("recorded", first + i);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    StoringPlatform platform;
    korvane::testing::RecordingCanvas canvas;
    korvane::PuzzleDialog dialog(platform, canvas);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "enter" && argc == 6) {
        const int first = std::atoi(argv[3]);
        const int step = std::atoi(argv[4]);
        for (int i = 0; i < std::atoi(argv[5]); ++i) {
            dialog.enterResult(std::atoi(argv[2]), first + i * step, first + i * step);
            report("entered", first + i * step);
        }
        return 0;
    }
    if (mode == "solves" && argc == 5)
        return recordSolves(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (mode == "loop") {
        // Round r stores every setting as r mod its range and enters the result 100000 - r,
        // better than every result before it.
        for (int r = 1;; ++r) {
            platform.writeInt("Config", "Figura", 1 + r % 4);
            platform.writeInt("Config", "Nivel", 1 + r % 4);
            platform.writeInt("Config", "BkColor", r % 2);
            dialog.enterResult(r % 9, 100000 - r, 100000 - r);
            report("round", r);
        }
    }
    std::fputs("usage: storage_writer enter|loop|solves ... (see the head of its source)\n",
               stderr);
    return 2;
}

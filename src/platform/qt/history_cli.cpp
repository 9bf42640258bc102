#include "platform/qt/history_cli.h"

#include <QSaveFile>
#include <cstring>

#include "app/solve_stats.h"

namespace korvane::qt {

namespace {

constexpr const char* kStats = "--stats";
constexpr const char* kExportCsv = "--export-csv";

} // namespace

bool writeCsvFile(SolveHistory& history, const QString& fileName, QString* error) {
    QSaveFile file(fileName);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Text);
    ok = ok && file.write((csvHeader() + "\n").c_str()) > 0;
    ok = ok && history.forEach([&](const SolveRecord& solve) {
        ok = ok && file.write((csvLine(solve) + "\n").c_str()) > 0;
    });
    if (ok && file.commit()) {
        return true;
    }
    if (error) {
        const std::string notice = history.takeNotice();
        *error =
            !notice.empty()
                ? QString::fromStdString(notice)
                : QStringLiteral("%1 could not be written (%2).").arg(fileName, file.errorString());
    }
    return false;
}

void printStats(SolveHistory& history, std::FILE* out) {
    const std::vector<PuzzleId> puzzles = history.puzzles();
    if (puzzles.empty()) {
        std::fputs("No games recorded yet.\n", out);
    }
    for (const PuzzleId& puzzle : puzzles) {
        std::fputs(statsReport(puzzle, solveStats(history.summaries(puzzle))).c_str(), out);
    }
    std::fflush(out);
}

bool isHistoryCommand(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], kStats) == 0 || std::strcmp(argv[i], kExportCsv) == 0) {
            return true;
        }
    }
    return false;
}

std::optional<int> runHistoryCommand(const QStringList& arguments, SolveHistory& history) {
    const qsizetype exportAt = arguments.indexOf(QLatin1String(kExportCsv));
    if (exportAt >= 0) {
        if (exportAt + 1 >= arguments.size()) {
            std::fputs("usage: korvane --export-csv FILE\n", stderr);
            return 2;
        }
        QString error;
        if (!writeCsvFile(history, arguments[exportAt + 1], &error)) {
            std::fprintf(stderr, "korvane: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }
    if (arguments.contains(QLatin1String(kStats))) {
        printStats(history, stdout);
        return history.takeNotice().empty() ? 0 : 1;
    }
    return std::nullopt;
}

} // namespace korvane::qt

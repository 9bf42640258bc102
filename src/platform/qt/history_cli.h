#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>

#include "app/solve_history.h"

namespace korvane::qt {

// Every game of the history as CSV (docs/history.md): the header line, then a line per game,
// oldest first. The file is replaced whole or not at all; false (and a notice) when it could
// not be written or the history could not be read.
bool writeCsvFile(SolveHistory& history, const QString& fileName, QString* error = nullptr);

// The statistics of every puzzle that has games, as text.
void printStats(SolveHistory& history, std::FILE* out);

// The command lines that use the history without a window: "--stats" and
// "--export-csv FILE". The exit code, or nothing when the arguments ask for the game itself.
std::optional<int> runHistoryCommand(const QStringList& arguments, SolveHistory& history);
bool isHistoryCommand(int argc, char** argv);

} // namespace korvane::qt

// The settings file as anyone may have left it: the bytes become Korvane.conf and the game's
// own profile storage reads it ("Config" integers, "HighScores" texts). Whatever the file
// holds, the values read must be ones the game can start from, and what the game then writes
// must read back from the rewritten file, damaged rest or not.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <string>

#include "app/highscores.h"
#include "app/settings.h"
#include "fuzz_check.h"
#include "platform/qt/profile_storage.h"

namespace {

using korvane::fuzz::require;
using korvane::qt::ProfileStorage;

std::unique_ptr<QTemporaryDir> folder;
int serial = 0;

// A new settings folder each time: QSettings caches files by name and may miss a rewrite that
// keeps the size within the same millisecond.
QString useFreshFolder() {
    const QString path = folder->filePath(QString::number(++serial));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    QDir().mkpath(path + QStringLiteral("/Helmfirth"));
    return path;
}

QString settingsFile(const QString& path) {
    return path + QStringLiteral("/Helmfirth/Korvane.conf");
}

void writeFile(const QString& name, const std::uint8_t* data, std::size_t size) {
    QFile file(name);
    require(file.open(QIODevice::WriteOnly), "the settings file can be written");
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

void readAllHighscores(ProfileStorage& storage) {
    const std::string empty = korvane::emptyHighscoreText();
    for (int table = 0; table < korvane::kHighscoreTables; ++table) {
        for (const char* name : {korvane::movesValueName(table), korvane::timeValueName(table)}) {
            const std::string text = storage.readString("HighScores", name, empty);
            const std::string proper =
                korvane::formatHighscoreText(korvane::parseHighscoreText(text));
            require(korvane::formatHighscoreText(korvane::parseHighscoreText(proper)) == proper,
                    "a stored highscore text reads back as written");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    folder = std::make_unique<QTemporaryDir>();
    require(folder->isValid(), "a temporary folder exists");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString first = useFreshFolder();
    writeFile(settingsFile(first), data, size);
    const std::string written = "57,-1,-1,-1,-1,-1,-1,-1,-1,-1,";
    korvane::StartupChoice choice;
    {
        ProfileStorage storage;
        choice = korvane::validateStartupChoice(storage.readInt("Config", "BkColor", 0),
                                                storage.readInt("Config", "Figura", 3),
                                                storage.readInt("Config", "Nivel", 2));
        require(choice.bgColour == 0 || choice.bgColour == 1, "the background is black or white");
        require(choice.puzzleType >= 1 && choice.puzzleType <= 4, "the kind is one the game has");
        readAllHighscores(storage);
        // What the game writes at start-up and after a solved Piracube.
        storage.writeInt("Config", "Figura", choice.puzzleType);
        storage.writeInt("Config", "Nivel", choice.level);
        storage.writeString("HighScores", "PiraM", written);
    }
    // The next start reads the rewritten file, under a name QSettings has not seen.
    const QString second = useFreshFolder();
    require(QFile::copy(settingsFile(first), settingsFile(second)), "the rewritten file exists");
    {
        ProfileStorage storage;
        require(storage.readInt("Config", "Figura", -100) == choice.puzzleType,
                "the kind reads back");
        require(storage.readInt("Config", "Nivel", -100) == choice.level, "the level reads back");
        require(storage.readString("HighScores", "PiraM", "") == written,
                "the highscore text reads back");
    }
    QDir(first).removeRecursively();
    QDir(second).removeRecursively();
    return 0;
}

// The settings file as anyone may have left it: the bytes become Korvane.conf and are read the
// way the game reads its storage (QSettings in INI form, "Config" integers and "HighScores"
// texts). Whatever the file holds, the values read must be ones the game can start from, and
// what the game then writes must read back from the rewritten file, the damaged rest or not.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>

#include "app/highscores.h"
#include "app/settings.h"
#include "fuzz_check.h"

namespace {

using korvane::fuzz::require;

std::unique_ptr<QTemporaryDir> folder;
int serial = 0;

int readInt(QSettings& s, const char* key, int fallback) {
    bool ok = false;
    const int value = s.value(QString::fromLatin1(key), fallback).toInt(&ok);
    return ok ? value : fallback;
}

QString readText(QSettings& s, const QString& key, const QString& fallback) {
    return s.value(key, fallback).toString();
}

QString freshPath() {
    // A new name each time: QSettings caches files by name and would not see a rewrite.
    return folder->filePath(QStringLiteral("%1/Korvane.conf").arg(++serial));
}

void writeFile(const QString& path, const std::uint8_t* data, std::size_t size) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    require(file.open(QIODevice::WriteOnly), "the test file can be written");
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

void readAllHighscores(QSettings& s) {
    const QString empty = QString::fromStdString(korvane::emptyHighscoreText());
    for (int table = 0; table < korvane::kHighscoreTables; ++table) {
        for (const char* name : {korvane::movesValueName(table), korvane::timeValueName(table)}) {
            const QString key = QStringLiteral("HighScores/") + QLatin1String(name);
            const std::string text = readText(s, key, empty).toStdString();
            const korvane::HighscoreList list = korvane::parseHighscoreText(text);
            require(korvane::formatHighscoreText(korvane::parseHighscoreText(
                        korvane::formatHighscoreText(list))) == korvane::formatHighscoreText(list),
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
    const QString path = freshPath();
    writeFile(path, data, size);
    const QString moves = QStringLiteral("HighScores/") + QLatin1String(korvane::movesValueName(8));
    const QString written = QStringLiteral("57,-1,-1,-1,-1,-1,-1,-1,-1,-1,");
    korvane::StartupChoice choice;
    {
        QSettings s(path, QSettings::IniFormat);
        choice = korvane::validateStartupChoice(readInt(s, "Config/BkColor", 0),
                                                readInt(s, "Config/Figura", 3),
                                                readInt(s, "Config/Nivel", 2));
        require(choice.bgColour == 0 || choice.bgColour == 1, "the background is black or white");
        require(choice.puzzleType >= 1 && choice.puzzleType <= 4, "the kind is one the game has");
        readAllHighscores(s);
        // What the game writes at start-up and after a solved Piracube.
        s.setValue(QStringLiteral("Config/Figura"), choice.puzzleType);
        s.setValue(QStringLiteral("Config/Nivel"), choice.level);
        s.setValue(moves, written);
        s.sync();
    }
    // Read the rewritten file under a name QSettings has not seen.
    const QString copy = freshPath();
    QDir().mkpath(QFileInfo(copy).path());
    require(QFile::copy(path, copy), "the rewritten file exists");
    {
        QSettings s(copy, QSettings::IniFormat);
        require(readInt(s, "Config/Figura", -100) == choice.puzzleType, "the kind reads back");
        require(readInt(s, "Config/Nivel", -100) == choice.level, "the level reads back");
        require(readText(s, moves, QString()) == written, "the highscore text reads back");
    }
    QDir(QFileInfo(path).path()).removeRecursively();
    QDir(QFileInfo(copy).path()).removeRecursively();
    return 0;
}

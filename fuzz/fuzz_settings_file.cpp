// The settings file as anyone may have left it: the bytes become Korvane.conf and the game's
// own profile storage reads it ("Config" integers, "HighScores" texts), then stores what the game
// stores at start-up and after a solved Piracube. Whatever the file holds:
// - the values read are ones the game can start from, and where QSettings reads a value as text,
//   the game reads the same text;
// - what the game stores reads back, by the game and by QSettings;
// - every other key reads as it did before the store, by the game and by QSettings.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "app/highscores.h"
#include "app/settings.h"
#include "fuzz_check.h"
#include "platform/qt/ini_text.h"
#include "platform/qt/profile_storage.h"

namespace {

using korvane::fuzz::require;
using korvane::qt::IniText;
using korvane::qt::ProfileStorage;

std::unique_ptr<QTemporaryDir> folder;
int serial = 0;

const QString kWritten = QStringLiteral("57,-1,-1,-1,-1,-1,-1,-1,-1,-1,");
const QStringList kStoredKeys = {QStringLiteral("Config/Figura"), QStringLiteral("Config/Nivel"),
                                 QStringLiteral("HighScores/PiraM")};

// A new name each time: QSettings caches files by name and may miss a rewrite.
QString freshFile(const QByteArray& bytes) {
    const QString name = folder->filePath(QString::number(++serial) + QStringLiteral(".conf"));
    QFile file(name);
    require(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
            "the settings file can be written");
    return name;
}

QByteArray contentOf(const QString& name) {
    QFile file(name);
    require(file.open(QIODevice::ReadOnly), "the settings file can be read");
    return file.readAll();
}

// The text QSettings gives for a key, when it gives one (not a typed value).
bool qsettingsText(const QVariant& value, QString& text) {
    if (value.typeId() == QMetaType::QString) {
        text = value.toString();
        return true;
    }
    if (value.typeId() == QMetaType::QStringList) {
        text = value.toStringList().join(QLatin1Char(','));
        return true;
    }
    return false;
}

void readLikeQSettings(ProfileStorage& storage, const QString& name) {
    QSettings settings(name, QSettings::IniFormat);
    const IniText file(contentOf(name));
    for (const QString& key : settings.allKeys()) {
        const qsizetype slash = key.indexOf(QLatin1Char('/'));
        const bool printable = std::all_of(key.begin(), key.end(), [](QChar c) {
            return c.unicode() >= 0x20 && c.unicode() < 0x7f;
        });
        if (!printable || slash <= 0 || slash == key.size() - 1 ||
            key.indexOf(QLatin1Char('/'), slash + 1) >= 0) {
            continue; // not a section/name key the game could ask for
        }
        // A typed value QSettings could not decode may still come out as text; the game
        // never decodes one.
        const auto plain = file.value(key);
        QString text;
        if ((plain && plain->typed) || !qsettingsText(settings.value(key), text)) {
            continue;
        }
        const std::string ours = storage.readString(key.left(slash).toStdString(),
                                                    key.mid(slash + 1).toStdString(), "(none)");
        if (ours != text.toStdString()) {
            std::fprintf(stderr, "%s: QSettings [%s], the game [%s]\n", qPrintable(key),
                         qPrintable(text), ours.c_str());
        }
        require(ours == text.toStdString(), "a value reads as QSettings reads it");
    }
}

void readAllHighscores(ProfileStorage& storage) {
    const std::string empty = korvane::emptyHighscoreText();
    for (int table = 0; table < korvane::kHighscoreTables; ++table) {
        for (const char* name : {korvane::movesValueName(table), korvane::timeValueName(table)}) {
            const std::string proper = korvane::formatHighscoreText(
                korvane::parseHighscoreText(storage.readString("HighScores", name, empty)));
            require(korvane::formatHighscoreText(korvane::parseHighscoreText(proper)) == proper,
                    "a stored highscore text reads back as written");
        }
    }
}

void otherKeysKept(const QString& before, const QString& after) {
    const IniText oldText(contentOf(before));
    const IniText newText(contentOf(after));
    for (const QString& key : oldText.keys()) {
        if (!kStoredKeys.contains(key)) {
            const auto was = oldText.value(key);
            const auto is = newText.value(key);
            require(is && is->text == was->text && is->typed == was->typed,
                    "another key reads as before");
        }
    }
    QSettings oldSettings(before, QSettings::IniFormat);
    QSettings newSettings(after, QSettings::IniFormat);
    // QSettings misses a General key holding a '/' when value() is the first thing asked of
    // it, so each is asked for its keys first.
    newSettings.allKeys();
    for (const QString& key : oldSettings.allKeys()) {
        // QSettings finds "HighScores//PiraM" as "HighScores/PiraM": one of ours, then.
        const QString asked = key.split(QLatin1Char('/'), Qt::SkipEmptyParts).join('/');
        if (!kStoredKeys.contains(asked) && newSettings.value(key) != oldSettings.value(key)) {
            std::fprintf(stderr, "%s: [%s] became [%s] in\n%s\n", qPrintable(key),
                         qPrintable(oldSettings.value(key).toString()),
                         qPrintable(newSettings.value(key).toString()), contentOf(after).data());
            require(false, "QSettings reads another key as before");
        }
    }
    require(newSettings.value(kStoredKeys[2]).toString() == kWritten,
            "QSettings reads the stored text");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    folder = std::make_unique<QTemporaryDir>();
    require(folder->isValid(), "a temporary folder exists");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString original = freshFile(bytes);
    const QString name = freshFile(bytes);
    korvane::StartupChoice choice;
    {
        ProfileStorage storage(name);
        choice = korvane::validateStartupChoice(storage.readInt("Config", "BkColor", 0),
                                                storage.readInt("Config", "Figura", 3),
                                                storage.readInt("Config", "Nivel", 2));
        require(choice.bgColour == 0 || choice.bgColour == 1, "the background is black or white");
        require(choice.puzzleType >= 1 && choice.puzzleType <= 4, "the kind is one the game has");
        readAllHighscores(storage);
        readLikeQSettings(storage, original);
        storage.writeInt("Config", "Figura", choice.puzzleType);
        storage.writeInt("Config", "Nivel", choice.level);
        storage.writeString("HighScores", "PiraM", kWritten.toStdString());
        require(storage.allStored(), "the stores reached the file");
    }
    const QString rewritten = freshFile(contentOf(name));
    {
        ProfileStorage storage(rewritten);
        require(storage.readInt("Config", "Figura", -100) == choice.puzzleType,
                "the kind reads back");
        require(storage.readInt("Config", "Nivel", -100) == choice.level, "the level reads back");
        require(storage.readString("HighScores", "PiraM", "") == kWritten.toStdString(),
                "the highscore text reads back");
    }
    otherKeysKept(original, rewritten);
    for (const QString& file : {original, name, rewritten}) {
        QFile::remove(file);
    }
    return 0;
}

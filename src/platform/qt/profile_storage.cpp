#include "platform/qt/profile_storage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QVariant>
#include <algorithm>

namespace korvane::qt {

namespace {

// Another copy holds the lock only while it enters one result; waiting longer than this means
// something is wrong with the folder, and the game carries on unlocked rather than hang.
constexpr int kLockWaitMs = 10000;
// A copy holds the lock for milliseconds; a lock file older than this was left by a copy that
// died before it could write its name into it.
constexpr int kStaleLockMs = 5000;

QString key(const std::string& section, const std::string& name) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(name);
}

} // namespace

ProfileStorage::ProfileStorage()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Helmfirth"),
                QStringLiteral("Korvane")) {}

ProfileStorage::~ProfileStorage() = default;

int ProfileStorage::readInt(const std::string& section, const std::string& name, int def) {
    const QVariant value = settings_.value(key(section, name));
    if (!value.isValid() || value.typeId() == QMetaType::QStringList) {
        return def;
    }
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    return ok ? number : def;
}

void ProfileStorage::writeInt(const std::string& section, const std::string& name, int value) {
    settings_.setValue(key(section, name), value);
    syncAndStamp();
}

std::string ProfileStorage::readString(const std::string& section, const std::string& name,
                                       const std::string& def) {
    const QVariant value = settings_.value(key(section, name));
    if (!value.isValid()) {
        return def;
    }
    // A hand-edited value without quotes reads as a list split at its commas: join it again.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    }
    if (!value.canConvert<QString>()) {
        return def;
    }
    return value.toString().toStdString();
}

void ProfileStorage::writeString(const std::string& section, const std::string& name,
                                 const std::string& value) {
    settings_.setValue(key(section, name), QString::fromStdString(value));
    syncAndStamp();
}

// QSettings notices another copy's write only by a change of the file's size or of its
// modification time in milliseconds; the file system's clock is coarser than that, and a new
// highscore text is often as long as the old. So every write moves the time on by at least a
// millisecond past the last one, and a re-read after taking the lock always sees the change.
void ProfileStorage::syncAndStamp() {
    settings_.sync();
    QFile file(settings_.fileName());
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        return;
    }
    const QDateTime written = QFileInfo(file).lastModified();
    const QDateTime now = QDateTime::currentDateTime();
    file.setFileTime(std::max(now, written.addMSecs(1)), QFileDevice::FileModificationTime);
}

QString ProfileStorage::lockFileName() const {
    // Not the settings file's name plus ".lock": QSettings takes that one itself.
    const QFileInfo file(settings_.fileName());
    return file.absolutePath() + QLatin1Char('/') + file.completeBaseName() +
           QStringLiteral("-highscores.lock");
}

void ProfileStorage::lockHighscores() {
    QDir().mkpath(QFileInfo(settings_.fileName()).absolutePath());
    lock_ = std::make_unique<QLockFile>(lockFileName());
    lock_->setStaleLockTime(kStaleLockMs);
    if (!lock_->tryLock(kLockWaitMs)) {
        lock_.reset();
    }
    settings_.sync();
}

void ProfileStorage::unlockHighscores() {
    settings_.sync();
    lock_.reset();
}

} // namespace korvane::qt

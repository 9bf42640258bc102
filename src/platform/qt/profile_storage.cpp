#include "platform/qt/profile_storage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvane::qt {

namespace {

// Far above anything the game writes (under 2 KiB); a larger file is not one of ours, and
// reading it would cost time and memory at every start.
constexpr qint64 kMaxFileBytes = qint64(1) << 20;
// How long entering a result waits for another copy's store; the window is frozen meanwhile.
constexpr int kLockWaitMs = 1000;

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// A plain file's bytes, at most kMaxFileBytes + 1 of them, so that one that grew past the limit
// shows it. Opened without blocking and checked again once open: it may have been swapped.
bool readPlainFile(const QByteArray& path, QByteArray& bytes) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = fd < 0 || S_ISREG(st.st_mode) ? errno : EINVAL;
        if (fd >= 0) {
            ::close(fd);
        }
        errno = error;
        return false;
    }
    bytes.resize(std::min<qint64>(st.st_size, kMaxFileBytes) + 1);
    qint64 done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done > kMaxFileBytes) {
                break; // enough to tell it is too large
            }
            bytes.resize(std::min<qint64>(2 * done, kMaxFileBytes + 1)); // it grew meanwhile
        }
        const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n == 0) {
            break;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return false;
        }
        done += n;
    }
    ::close(fd);
    bytes.resize(done);
    return true;
}

// The file a link points at, in place of the link; false for a link to nothing.
bool throughLink(QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        return true;
    }
    char resolved[PATH_MAX];
    if (!::realpath(path.constData(), resolved)) {
        return false;
    }
    path = resolved;
    return true;
}

// "<prefix><pid>.<host>.<kind>" (see StoreLock::ownedName) of a copy that died on this host.
bool isOrphan(const QString& entry, const QString& prefix) {
    const QStringList parts = entry.mid(prefix.size()).split(u'.');
    bool ok = false;
    const qint64 pid = parts.value(0).toLongLong(&ok);
    if (parts.size() < 3 || !ok || pid <= 0 || pid == ::getpid()) {
        return false;
    }
    const QString host = parts.mid(1, parts.size() - 2).join(u'.');
    return StoreLock::holderIsGone(QByteArray::number(pid) + ' ' + host.toLatin1() + " -");
}

} // namespace

ProfileStorage::ProfileStorage() : ProfileStorage(defaultFileName()) {}

ProfileStorage::ProfileStorage(QString fileName)
    : fileName_(std::move(fileName)), lock_(lockFileName()) {
    state_ = load();
}

ProfileStorage::~ProfileStorage() {
    // Values an earlier store had to leave for later: one last try, waiting for the lock now
    // that no window is waiting.
    if (!pending_.empty()) {
        store(kLockWaitMs, true);
    }
}

QString ProfileStorage::defaultFileName() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The XDG rules: a relative path is invalid and ignored.
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
    return base + QStringLiteral("/Helmfirth/Korvane.conf");
}

QString ProfileStorage::lockFileName() const {
    // Not the settings file's name plus ".lock": QSettings uses that one, without a time limit.
    const QFileInfo file(fileName_);
    return file.absolutePath() + QLatin1Char('/') + file.completeBaseName() +
           QStringLiteral("-store.lock");
}

void ProfileStorage::report(const QString& problem) {
    problem_ = problem;
    if (told_.insert(problem).second) {
        std::fprintf(stderr, "Korvane: %s\n", problem.toLocal8Bit().constData());
        std::fflush(stderr);
    }
}

// Reads the file if it is a plain file of sane size, without ever opening anything else (a FIFO
// would block, a device could be anything). Something else in its place is moved aside; a link
// to something else is left alone, and then nothing is stored through it.
ProfileStorage::FileState ProfileStorage::load() {
    const QByteArray path = encoded(fileName_);
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0) {
        if (errno == ENOENT) {
            text_ = IniText();
            return FileState::Missing;
        }
        report(QStringLiteral("%1 cannot be read (%2); nothing will be stored in it")
                   .arg(fileName_, reason(errno)));
        return FileState::Unusable;
    }
    const bool link = S_ISLNK(st.st_mode);
    const auto badLink = [&] {
        report(QStringLiteral("%1 is a link to something other than a settings file, or to "
                              "nothing; nothing will be stored through it")
                   .arg(fileName_));
        return FileState::Unusable;
    };
    if (link && ::stat(path.constData(), &st) != 0) {
        return badLink();
    }
    if (!S_ISREG(st.st_mode)) {
        return link ? badLink() : setAside(QStringLiteral("is not a plain file"));
    }
    if (st.st_size > kMaxFileBytes) {
        return link ? badLink() : setAside(QStringLiteral("is larger than 1 MiB"));
    }
    QByteArray bytes;
    if (!readPlainFile(path, bytes)) {
        report(QStringLiteral("%1 cannot be read (%2); nothing will be stored in it")
                   .arg(fileName_, reason(errno)));
        return FileState::Unusable;
    }
    if (bytes.size() > kMaxFileBytes) {
        return link ? badLink() : setAside(QStringLiteral("is larger than 1 MiB"));
    }
    text_ = IniText(std::move(bytes));
    return FileState::Usable;
}

// Never deleted: renamed with the time, for the player to look into.
ProfileStorage::FileState ProfileStorage::setAside(const QString& why) {
    const QString aside =
        fileName_ + QStringLiteral(".set-aside-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    if (::rename(encoded(fileName_).constData(), encoded(aside).constData()) != 0) {
        if (errno == ENOENT) { // another copy moved it aside first
            text_ = IniText();
            return FileState::Missing;
        }
        report(QStringLiteral("%1 %2 and cannot be moved aside (%3); nothing will be stored in it")
                   .arg(fileName_, why, reason(errno)));
        return FileState::Unusable;
    }
    report(QStringLiteral("%1 %2; it was moved aside to %3 and the game goes on from its defaults")
               .arg(fileName_, why, aside));
    text_ = IniText();
    return FileState::Missing;
}

std::optional<IniText::Value> ProfileStorage::currentValue(const std::string& section,
                                                           const std::string& name) const {
    const Key key{QString::fromStdString(section), QString::fromStdString(name)};
    const auto it = pending_.find(key);
    if (it != pending_.end()) {
        return IniText::Value{it->second};
    }
    return text_.value(key.first + u'/' + key.second);
}

int ProfileStorage::readInt(const std::string& section, const std::string& name, int def) {
    const std::optional<IniText::Value> value = currentValue(section, name);
    if (!value || value->typed || value->list) {
        return def;
    }
    bool ok = false;
    const int number = value->text.trimmed().toInt(&ok);
    return ok ? number : def;
}

std::string ProfileStorage::readString(const std::string& section, const std::string& name,
                                       const std::string& def) {
    // A hand-edited value without quotes reads as a list split at its commas: joined again.
    const std::optional<IniText::Value> value = currentValue(section, name);
    return value && !value->typed ? value->text.toStdString() : def;
}

void ProfileStorage::writeInt(const std::string& section, const std::string& name, int value) {
    write(section, name, QString::number(value));
}

void ProfileStorage::writeString(const std::string& section, const std::string& name,
                                 const std::string& value) {
    write(section, name, QString::fromStdString(value));
}

// A setting is stored at once unless another copy is storing right now; then it goes with the
// next store, so that the window never waits for a setting.
void ProfileStorage::write(const std::string& section, const std::string& name,
                           const QString& text) {
    pending_[{QString::fromStdString(section), QString::fromStdString(name)}] = text;
    if (!batch_) {
        store(0, false);
    }
}

void ProfileStorage::lockHighscores() {
    batch_ = true;
    if (lock_.take(kLockWaitMs) != StoreLock::Outcome::Taken) {
        report(lock_.problem() + QStringLiteral("; stored without it"));
    }
    state_ = load();
}

void ProfileStorage::unlockHighscores() {
    batch_ = false;
    store(0, true);
    lock_.release();
}

void ProfileStorage::refresh() {
    if (!batch_) {
        state_ = load();
    }
}

bool ProfileStorage::store(int lockWaitMs, bool goAheadUnlocked) {
    if (pending_.empty()) {
        return true;
    }
    const bool hadLock = lock_.held();
    if (!hadLock) {
        const StoreLock::Outcome outcome = lock_.take(lockWaitMs);
        if (outcome == StoreLock::Outcome::Busy && !goAheadUnlocked) {
            return false;
        }
        if (outcome != StoreLock::Outcome::Taken) {
            report(lock_.problem() + QStringLiteral("; stored without it"));
        }
    }
    bool stored = false;
    state_ = load();
    if (state_ != FileState::Unusable) {
        IniText next = text_;
        for (const auto& [key, text] : pending_) {
            next.setValue(key.first, key.second, text);
        }
        stored = replaceFile(next.bytes());
        if (stored) {
            text_ = std::move(next);
            pending_.clear();
            state_ = FileState::Usable;
        }
    }
    if (!hadLock) {
        lock_.release();
    }
    lastStoreFailed_ = !stored;
    return stored;
}

// The new text goes to a temporary beside the file (beside the target of a link), is flushed to
// the disk and only then renamed over the file; any step that fails leaves the file untouched.
bool ProfileStorage::replaceFile(const QByteArray& bytes) {
    QByteArray target = encoded(fileName_);
    if (!throughLink(target)) {
        report(QStringLiteral("%1 is a link to nothing; nothing will be stored through it")
                   .arg(fileName_));
        return false;
    }
    struct stat st {};
    const bool existed = ::stat(target.constData(), &st) == 0;
    const QFileInfo info(QFile::decodeName(target));
    const QString folder = info.absolutePath();
    const QByteArray temp = encoded(folder + u'/' + StoreLock::ownedName(info.fileName(), "tmp"));
    int fd = -1;
    const auto fail = [&](const char* step) {
        const int error = errno;
        if (fd >= 0) {
            ::close(fd);
        }
        ::unlink(temp.constData());
        report(QStringLiteral("the settings and highscores could not be stored in %1 (%2: %3); "
                              "the file keeps what it held before")
                   .arg(QFile::decodeName(target), QLatin1String(step), reason(error)));
        return false;
    };
    if (!QDir().mkpath(folder)) {
        return fail("creating the folder");
    }
    fd = ::open(temp.constData(),
                O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        return fail("creating a temporary file");
    }
    if (!writeWhole(fd, bytes)) {
        return fail("writing");
    }
    if (existed && ::fchmod(fd, st.st_mode & 07777) != 0) {
        return fail("keeping its permissions");
    }
    if (::fsync(fd) != 0) {
        return fail("flushing it to the disk");
    }
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) {
        return fail("closing");
    }
    if (::rename(temp.constData(), target.constData()) != 0) {
        return fail("replacing the file");
    }
    const int dir = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir); // the rename itself on the disk
        ::close(dir);
    }
    removeOrphans(folder, info.fileName());
    return true;
}

// Temporaries and lock drafts of copies that died on this host, from any earlier store.
void ProfileStorage::removeOrphans(const QString& folder, const QString& name) {
    const QFileInfo lock(lockFileName());
    const QString lockName = lock.fileName();
    const QString lockFolder = lock.absolutePath();
    const std::pair<QString, QString> kinds[] = {
        {folder, name + u'.'},
        {lockFolder, lockName + u'.'},
    };
    for (const auto& [where, prefix] : kinds) {
        const QDir dir(where);
        const QStringList entries =
            dir.entryList({prefix + QStringLiteral("*")}, QDir::Files | QDir::Hidden);
        for (const QString& entry : entries) {
            if (isOrphan(entry, prefix)) {
                ::unlink(encoded(dir.filePath(entry)).constData());
            }
        }
    }
}

} // namespace korvane::qt

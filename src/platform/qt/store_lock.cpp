#include "platform/qt/store_lock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QThread>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvane::qt {

namespace {

// A store holds the lock for milliseconds; one older than this was left by a copy that died,
// whatever its name says (a process id may have been given to another program since).
constexpr std::time_t kStaleSeconds = 30;
constexpr int kRetryMs = 10;
constexpr qsizetype kMaxContent = 256;

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The lock file's text, without following a link or waiting on a FIFO; empty if unreadable.
QByteArray readLockFile(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    QByteArray content(kMaxContent, '\0');
    const ssize_t got = ::read(fd, content.data(), content.size());
    ::close(fd);
    content.resize(got > 0 ? got : 0);
    return content;
}

} // namespace

// Every byte written, or false with errno set (a write that takes nothing reads as a full disk).
bool writeWhole(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = ENOSPC;
            }
            return false;
        }
        done += n;
    }
    return true;
}

bool saveWhole(const QString& name, const QByteArray& bytes, QString* why) {
    QSaveFile out(name);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        if (why != nullptr) {
            *why = out.errorString();
        }
        return false;
    }
    return true;
}

StoreLock::StoreLock(QString path) : path_(std::move(path)) {
    mine_ = QByteArray::number(::getpid()) + ' ' + hostName() + ' ' +
            QByteArray::number(QRandomGenerator::global()->generate64(), 16) + '\n';
}

StoreLock::~StoreLock() {
    release();
}

QByteArray StoreLock::hostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return "localhost";
    }
    return QByteArray(name).replace(' ', '_');
}

QString StoreLock::ownedName(const QString& name, const char* kind) {
    return name + u'.' + QString::number(::getpid()) + u'.' + QString::fromLatin1(hostName()) +
           u'.' + QLatin1String(kind);
}

bool StoreLock::holderIsGone(const QByteArray& content) {
    const QList<QByteArray> fields = content.trimmed().split(' ');
    bool ok = false;
    const qint64 pid = fields.value(0).toLongLong(&ok);
    if (fields.size() != 3 || !ok || pid <= 0) {
        return true; // not a lock of ours at all
    }
    if (fields[1] != hostName()) {
        return false;
    }
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

StoreLock::Outcome StoreLock::take(int waitMs) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    problem_.clear();
    for (;;) {
        const Outcome outcome = tryOnce();
        if (outcome != Outcome::Busy || Clock::now() >= deadline) {
            if (outcome == Outcome::Busy) {
                problem_ = QStringLiteral("another running copy of the game held the lock %1 "
                                          "too long")
                               .arg(path_);
            }
            return outcome;
        }
        QThread::msleep(kRetryMs);
    }
}

StoreLock::Outcome StoreLock::tryOnce() {
    if (held_) {
        return Outcome::Taken;
    }
    const Outcome made = linkIntoPlace();
    return made == Outcome::Busy ? judgeHolder() : made;
}

// Make the lock whole under a private name and link it into place: the link either fails or
// puts a complete lock there. Busy: something is there already.
StoreLock::Outcome StoreLock::linkIntoPlace() {
    const QByteArray lock = encoded(path_);
    const QByteArray draft = encoded(ownedName(path_, "draft"));
    // Never blocking, not even on a FIFO someone left under the private name.
    const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(draft.constData(), flags, 0644);
    if (fd < 0 && errno == ENOENT && QDir().mkpath(QFileInfo(path_).absolutePath())) {
        fd = ::open(draft.constData(), flags, 0644); // the first store of all
    }
    bool made = fd >= 0 && writeWhole(fd, mine_);
    int error = errno;
    if (fd >= 0) {
        ::close(fd);
    }
    if (made) {
        made = ::link(draft.constData(), lock.constData()) == 0;
        error = made ? 0 : errno;
    }
    ::unlink(draft.constData());
    if (made) {
        held_ = true;
        return Outcome::Taken;
    }
    if (error == EEXIST) {
        return Outcome::Busy;
    }
    problem_ = QStringLiteral("the lock %1 cannot be made (%2)").arg(path_, reason(error));
    return Outcome::InTheWay;
}

// What holds the place: a live holder (busy), one that is gone (broken, and tried again), or
// something that is no lock of ours at all (in the way).
StoreLock::Outcome StoreLock::judgeHolder() {
    const QByteArray lock = encoded(path_);
    struct stat st {};
    if (::lstat(lock.constData(), &st) != 0) {
        return errno == ENOENT ? tryOnce() : Outcome::Busy;
    }
    if (!S_ISREG(st.st_mode)) {
        problem_ =
            QStringLiteral("something that is not a lock file is in the place of %1").arg(path_);
        return Outcome::InTheWay;
    }
    const QByteArray content = readLockFile(lock);
    const bool stale = holderIsGone(content) || std::time(nullptr) - st.st_mtime > kStaleSeconds;
    if (stale && !breakIfStale(content)) {
        problem_ = QStringLiteral("the stale lock %1 cannot be removed").arg(path_);
        return Outcome::InTheWay;
    }
    return stale ? tryOnce() : Outcome::Busy;
}

// Two copies may find the same stale lock: each moves it to a name of its own first, and puts
// back what it moved if that turns out to be a fresh lock another copy took meanwhile.
bool StoreLock::breakIfStale(const QByteArray& content) {
    const QByteArray lock = encoded(path_);
    const QByteArray moved = encoded(ownedName(path_, "stale"));
    if (::rename(lock.constData(), moved.constData()) != 0) {
        return errno == ENOENT;
    }
    if (readLockFile(moved) != content) {
        ::link(moved.constData(), lock.constData());
    }
    ::unlink(moved.constData());
    return true;
}

void StoreLock::release() {
    if (!held_) {
        return;
    }
    held_ = false;
    const QByteArray lock = encoded(path_);
    if (readLockFile(lock) == mine_) {
        ::unlink(lock.constData());
    }
}

} // namespace korvane::qt

#pragma once

#include <QByteArray>
#include <QString>

namespace korvane::qt {

// Write all of bytes to fd, retrying short and interrupted writes; false with errno set when a
// write fails (one that takes nothing counts as a full disk).
bool writeWhole(int fd, const QByteArray& bytes);
// Replace the file `name` by bytes, through a new file renamed over it only when complete
// (QSaveFile); false, with the reason in *why when asked, when any step fails.
bool saveWhole(const QString& name, const QByteArray& bytes, QString* why = nullptr);

// The lock that every store of the settings file takes, so that two running copies of the game
// never both re-read, change and replace the file at once. It is a small file beside the
// settings file naming its holder ("<pid> <host> <tag>"), made whole under a private name and
// then linked into place, so it never exists half written. A lock whose holder is gone (no such
// process on this host, or older than any store takes) is broken; a directory, FIFO or anything
// else in its place, or a folder that cannot take it, is "in the way" and reported at once.
class StoreLock {
public:
    enum class Outcome { Taken, Busy, InTheWay };

    explicit StoreLock(QString path);
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    // Try for up to waitMs (0: once); never blocks on anything but the clock.
    Outcome take(int waitMs);
    void release();
    bool held() const { return held_; }
    // Why the last take did not succeed, for the player.
    const QString& problem() const { return problem_; }

    // Whether a holder named by "<pid> <host> ..." is a process on this host that is gone.
    static bool holderIsGone(const QByteArray& content);
    static QByteArray hostName();
    // A private name of this process beside `name`: "<name>.<pid>.<host>.<kind>".
    static QString ownedName(const QString& name, const char* kind);

private:
    Outcome tryOnce();
    Outcome linkIntoPlace();
    Outcome judgeHolder();
    bool breakIfStale(const QByteArray& content);

    QString path_;
    QByteArray mine_; // what our lock file holds
    bool held_ = false;
    QString problem_;
};

} // namespace korvane::qt

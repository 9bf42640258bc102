#pragma once

#include <QString>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "platform/qt/ini_text.h"
#include "platform/qt/store_lock.h"

namespace korvane::qt {

// The game's profile storage: the INI file Helmfirth/Korvane.conf in the user's configuration
// folder (~/.config unless XDG_CONFIG_HOME names an absolute folder), one section per section
// name, in the form QSettings reads and writes. The file is read and written here rather than by
// QSettings, whose file handling reports a failed write as success and can wait for ever on its
// lock; see docs/architecture.md, "Storage".
//
// Each store re-reads the file under the store lock, changes only the game's own lines and
// replaces the file whole (a temporary beside it, written, flushed to disk, renamed). A store that
// fails leaves the file as it was and keeps the new values for the next store; every problem is
// told once on stderr and kept for the game to ask about.
class ProfileStorage {
public:
    ProfileStorage();
    explicit ProfileStorage(QString fileName);
    ~ProfileStorage();
    ProfileStorage(const ProfileStorage&) = delete;
    ProfileStorage& operator=(const ProfileStorage&) = delete;

    int readInt(const std::string& section, const std::string& name, int def);
    void writeInt(const std::string& section, const std::string& name, int value);
    std::string readString(const std::string& section, const std::string& name,
                           const std::string& def);
    void writeString(const std::string& section, const std::string& name, const std::string& value);

    // Between these two, reads see what other copies stored and writes are kept back, to be
    // stored together, as one replacement of the file, at unlock.
    void lockHighscores();
    void unlockHighscores();
    bool highscoresLocked() const { return batch_; }

    // Read the file again, for a view of what other copies stored meanwhile.
    void refresh();

    // Whether every value written so far is in the file.
    bool allStored() const { return pending_.empty(); }
    // Whether the last store that went ahead failed to reach the file (a lock held by another
    // copy only postpones a store: that is no failure).
    bool lastStoreFailed() const { return lastStoreFailed_; }
    // The last problem met, as a sentence for the player; empty while none was met.
    const QString& lastProblem() const { return problem_; }

    const QString& fileName() const { return fileName_; }
    QString lockFileName() const;
    // Helmfirth/Korvane.conf under $XDG_CONFIG_HOME if that is absolute, else ~/.config.
    static QString defaultFileName();

private:
    using Key = std::pair<QString, QString>; // section, name
    enum class FileState { Usable, Missing, Unusable };

    FileState load();
    FileState setAside(const QString& why);
    std::optional<IniText::Value> currentValue(const std::string& section,
                                               const std::string& name) const;
    void write(const std::string& section, const std::string& name, const QString& text);
    bool store(int lockWaitMs, bool goAheadUnlocked);
    bool replaceFile(const QByteArray& bytes);
    void removeOrphans(const QString& folder, const QString& name);
    void report(const QString& problem);

    QString fileName_;
    IniText text_;                   // the file as last read or written
    std::map<Key, QString> pending_; // written but not yet in the file
    bool lastStoreFailed_ = false;
    FileState state_ = FileState::Missing;
    StoreLock lock_;
    bool batch_ = false;
    QString problem_;
    std::set<QString> told_;
};

} // namespace korvane::qt

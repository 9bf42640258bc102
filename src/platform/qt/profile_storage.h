#pragma once

#include <QLockFile>
#include <QSettings>
#include <QString>
#include <memory>
#include <string>

namespace korvane::qt {

// The game's profile storage: QSettings for organisation "Helmfirth" and application "Korvane"
// (on Linux ~/.config/Helmfirth/Korvane.conf), one group per section. Every write reaches the
// file at once; every read is defensive, so a value that is not what the game stored reads as
// the default. The highscore lock is a lock file of its own beside the settings file.
class ProfileStorage {
public:
    ProfileStorage();
    ~ProfileStorage();

    int readInt(const std::string& section, const std::string& name, int def);
    void writeInt(const std::string& section, const std::string& name, int value);
    std::string readString(const std::string& section, const std::string& name,
                           const std::string& def);
    void writeString(const std::string& section, const std::string& name, const std::string& value);

    // Hold the highscores against other running copies; reads after lock see their writes.
    void lockHighscores();
    void unlockHighscores();
    bool highscoresLocked() const { return lock_ != nullptr; }

    QString fileName() const { return settings_.fileName(); }
    // Whether the last write reached the file.
    QSettings::Status status() const { return settings_.status(); }
    QString lockFileName() const;

private:
    void syncAndStamp();

    QSettings settings_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace korvane::qt

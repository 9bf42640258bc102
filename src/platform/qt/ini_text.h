#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace korvane::qt {

// The settings file as its bytes, in the INI form QSettings reads and writes. A value is found
// by its whole key ("Config/Figura") where QSettings would find it and read as plain text only:
// typed values ("@Variant(...)" and the like) are never decoded. A value is stored by editing the
// bytes of its own line, or by adding a line, so every other line, known to the game or not,
// stays exactly as it was.
class IniText {
public:
    explicit IniText(QByteArray bytes = {});

    const QByteArray& bytes() const { return bytes_; }

    struct Value {
        QString text; // a list's items joined by commas again
        bool list = false;
        bool typed = false; // a value of another type, not read
    };
    // The value under a key, or nothing when the file has no such key.
    std::optional<Value> value(const QString& key) const;
    // Every key the file holds, for checks of what a rewrite kept.
    QStringList keys() const;

    // Store a text as QSettings writes a string value.
    void setValue(const QString& section, const QString& name, const QString& text);

private:
    struct Entry {
        QString key;     // whole key
        QString section; // the section's sort key ("" for General, "Name/" otherwise)
        qsizetype valueStart;
        qsizetype valueEnd;
    };
    struct Section {
        QString name;  // as the game names it ("Config"); empty for General
        qsizetype end; // where its last line ends
    };

    void parse();
    const Entry* find(const QString& key) const;
    void appendLine(const QString& section, const QByteArray& line);

    QByteArray bytes_;
    std::vector<Entry> entries_;    // in file order
    std::vector<Section> sections_; // header by header, in file order
    bool endIsOpen_ = false;        // the last line runs on into whatever follows it
    bool endsInQuotes_ = false;
    bool endsInEscape_ = false;
};

// QSettings' text form of a string value and its reading back, for the values the game keeps.
QByteArray iniEscapedString(const QString& text);

} // namespace korvane::qt

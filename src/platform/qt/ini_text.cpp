#include "platform/qt/ini_text.h"

#include <QByteArrayView>
#include <QStringDecoder>
#include <QStringList>
#include <iterator>

namespace korvane::qt {

namespace {

// How QSettings splits its INI text: spaces between lines, and the bytes that end or bend a line.
enum : unsigned char { kSpace = 1, kSpecial = 2 };

constexpr unsigned char traitOf(char c) {
    switch (c) {
    case '\t':
    case ' ':
        return kSpace;
    case '\n':
    case '\r':
        return kSpace | kSpecial;
    case '"':
    case ';':
    case '=':
    case '\\':
        return kSpecial;
    default:
        return 0;
    }
}

struct Line {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equals = -1;
};

// Logical lines as QSettings reads them: a quoted part or a backslash may carry a line over the
// end of the physical one, a ';' starts a comment. Whether the text ends inside a line that
// would swallow whatever is added after it is kept for the writer.
struct LineReader {
    QByteArrayView data;
    qsizetype pos = 0;
    bool endsInQuotes = false;
    bool endsInEscape = false; // a backslash is the very last byte
    bool endIsOpen = false;    // the last line has no end of its own

    bool next(Line& line);
};

bool LineReader::next(Line& line) {
    const qsizetype size = data.size();
    bool inQuotes = false;
    line.equals = -1;
    qsizetype start = pos;
    while (start < size && (traitOf(data[start]) & kSpace)) {
        ++start;
    }
    qsizetype i = start;
    bool ended = false;
    while (!ended) {
        while (i < size && !(traitOf(data[i]) & kSpecial)) {
            ++i;
        }
        if (i == size) {
            break;
        }
        const char ch = data[i++];
        if (ch == '=') {
            if (!inQuotes && line.equals == -1) {
                line.equals = i - 1;
            }
        } else if (ch == '\n' || ch == '\r') {
            if (i == start + 1) {
                ++start;
            } else if (!inQuotes) {
                --i;
                ended = true;
            }
        } else if (ch == '\\') {
            if (i == size) {
                endsInEscape = true;
            } else {
                const char escaped = data[i++];
                if (i < size && ((escaped == '\n' && data[i] == '\r') ||
                                 (escaped == '\r' && data[i] == '\n'))) {
                    ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (i == start + 1) { // ';' first on its line: a comment
            while (i < size && data[i] != '\n' && data[i] != '\r') {
                ++i;
            }
            while (i < size && (traitOf(data[i]) & kSpace)) {
                ++i;
            }
            start = i;
        } else if (!inQuotes) {
            --i;
            ended = true;
        }
    }
    if (!ended && i > start) {
        endsInQuotes = inQuotes;
        endIsOpen = true;
    }
    pos = i;
    line.start = start;
    line.length = i - start;
    return line.length > 0;
}

// A key or section name as QSettings decodes it: %XX and %UXXXX are characters, '\' is '/'.
QString unescapedKey(QByteArrayView raw) {
    const QString decoded = QString::fromUtf8(raw);
    QString result;
    result.reserve(decoded.size());
    qsizetype i = 0;
    while (i < decoded.size()) {
        const QChar ch = decoded[i];
        if (ch == u'\\') {
            result += u'/';
            ++i;
            continue;
        }
        if (ch != u'%' || i == decoded.size() - 1) {
            result += ch;
            ++i;
            continue;
        }
        const bool wide = decoded[i + 1] == u'U';
        const qsizetype first = i + (wide ? 2 : 1);
        const qsizetype digits = wide ? 4 : 2;
        bool ok = first + digits <= decoded.size();
        const ushort code = ok ? QStringView(decoded).sliced(first, digits).toUShort(&ok, 16) : 0;
        if (!ok) {
            result += u'%';
            ++i;
            continue;
        }
        result += QChar(code);
        i = first + digits;
    }
    return result;
}

constexpr char kEscapeCodes[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'}, {'n', '\n'},
                                    {'r', '\r'}, {'t', '\t'},  {'v', '\v'}, {'"', '"'},
                                    {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

void chopTrailingSpaces(QString& text, qsizetype limit) {
    while (text.size() > limit && (text.back() == u' ' || text.back() == u'\t')) {
        text.chop(1);
    }
}

// A numeric escape after "\x" (hex) or "\0".."\7" (octal): as many digits as follow.
qsizetype readNumericEscape(QByteArrayView raw, qsizetype i, int base, QString& out) {
    char16_t value = 0;
    while (i < raw.size()) {
        const int digit = hexDigit(raw[i]);
        if (digit < 0 || digit >= base) {
            break;
        }
        value = char16_t(value * base + digit);
        ++i;
    }
    out += QChar(value);
    return i;
}

// The value part of a line as QSettings reads it: quotes group, backslashes escape, and commas
// outside quotes make it a list.
QStringList unescapedValue(QByteArrayView raw, bool& isList) {
    QStringList items;
    QString current;
    bool inQuotes = false;
    bool quoted = false;
    qsizetype chopLimit = 0;
    qsizetype i = 0;
    bool cutShort = false; // ended inside an escape: QSettings keeps trailing spaces then
    // One decoder for the whole value, as QSettings has: a sequence cut by an escape goes on
    // after it, and one cut by the end of the line is dropped.
    QStringDecoder fromUtf8(QStringDecoder::Utf8);
    const auto skipSpaces = [&] {
        while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t')) {
            ++i;
        }
        chopLimit = current.size();
    };
    isList = false;
    skipSpaces();
    while (i < raw.size()) {
        const char ch = raw[i];
        if (ch == '\\') {
            if (++i >= raw.size()) {
                cutShort = true;
                break;
            }
            const char code = raw[i++];
            const auto known = std::find_if(std::begin(kEscapeCodes), std::end(kEscapeCodes),
                                            [&](const char* e) { return e[0] == code; });
            if (known != std::end(kEscapeCodes)) {
                current += QLatin1Char((*known)[1]);
            } else if (code == 'x') {
                if (i < raw.size() && hexDigit(raw[i]) >= 0) {
                    i = readNumericEscape(raw, i, 16, current);
                    cutShort = i == raw.size();
                } else if (i >= raw.size()) {
                    cutShort = true;
                }
            } else if (code >= '0' && code <= '7') {
                i = readNumericEscape(raw, i - 1, 8, current);
                cutShort = i == raw.size();
            } else if ((code == '\n' || code == '\r') && i < raw.size() &&
                       (raw[i] == '\n' || raw[i] == '\r') && raw[i] != code) {
                ++i;
            }
            chopLimit = current.size();
        } else if (ch == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipSpaces();
            }
        } else if (ch == ',' && !inQuotes) {
            if (!quoted) {
                chopTrailingSpaces(current, chopLimit);
            }
            isList = true;
            items.append(current);
            current.clear();
            quoted = false;
            ++i;
            skipSpaces();
        } else {
            qsizetype j = i + 1;
            while (j < raw.size() && raw[j] != '\\' && raw[j] != '"' && raw[j] != ',') {
                ++j;
            }
            current += fromUtf8(raw.sliced(i, j - i));
            i = j;
        }
    }
    if (!quoted && !cutShort) {
        chopTrailingSpaces(current, chopLimit);
    }
    items.append(current);
    return items;
}

// QSettings' typed values: "@Variant(...)" holds any serialised object; none of them is read.
bool isTypedValue(const QString& text) {
    static const char* const kTyped[] = {"@ByteArray(", "@String(", "@Variant(", "@DateTime(",
                                         "@Rect(",      "@Size(",   "@Point("};
    if (text == QLatin1String("@Invalid()")) {
        return true;
    }
    if (!text.endsWith(u')')) {
        return false;
    }
    return std::any_of(std::begin(kTyped), std::end(kTyped),
                       [&](const char* prefix) { return text.startsWith(QLatin1String(prefix)); });
}

} // namespace

QByteArray iniEscapedString(const QString& text) {
    QByteArray result;
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        needsQuotes = needsQuotes || ch == ';' || ch == ',' || ch == '=';
        if (escapeNextIfDigit && ch < 0x80 && hexDigit(char(ch)) >= 0) {
            result += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfDigit = false;
        switch (ch) {
        case '\0':
            result += "\\0";
            escapeNextIfDigit = true;
            break;
        case '\a':
            result += "\\a";
            break;
        case '\b':
            result += "\\b";
            break;
        case '\f':
            result += "\\f";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        case '\v':
            result += "\\v";
            break;
        case '"':
        case '\\':
            result += '\\';
            result += char(ch);
            break;
        default:
            if (ch <= 0x1F) {
                result += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfDigit = true;
            } else {
                const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
                result += text.mid(i, pair ? 2 : 1).toUtf8();
                i += pair ? 1 : 0;
            }
        }
    }
    if (needsQuotes || result.startsWith(' ') || result.endsWith(' ')) {
        result = '"' + result + '"';
    }
    return result;
}

IniText::IniText(QByteArray bytes) : bytes_(std::move(bytes)) {
    parse();
}

void IniText::parse() {
    entries_.clear();
    sections_.clear();
    LineReader reader{bytes_};
    reader.pos = bytes_.startsWith("\xef\xbb\xbf") ? 3 : 0;
    QString section; // General until the first header
    Line line;
    while (reader.next(line)) {
        const QByteArrayView text = QByteArrayView(bytes_).sliced(line.start, line.length);
        if (text.startsWith('[')) {
            if (!sections_.empty()) {
                sections_.back().end = line.start;
            }
            const qsizetype close = text.indexOf(']');
            const QByteArray name =
                (close == -1 ? text.sliced(1) : text.sliced(1, close - 1)).toByteArray().trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0) {
                section.clear();
            } else if (name.compare("%general", Qt::CaseInsensitive) == 0) {
                section = QString::fromLatin1(name.mid(1)) + u'/';
            } else {
                section = unescapedKey(name) + u'/';
            }
            sections_.push_back({section, bytes_.size()});
            continue;
        }
        if (line.equals == -1) {
            continue;
        }
        const QByteArray key = bytes_.mid(line.start, line.equals - line.start).trimmed();
        if (!key.isEmpty()) {
            entries_.push_back(
                {section + unescapedKey(key), section, line.equals + 1, line.start + line.length});
        }
    }
    endIsOpen_ = reader.endIsOpen;
    endsInQuotes_ = reader.endsInQuotes;
    endsInEscape_ = reader.endsInEscape;
}

// QSettings reads section by section in the order of their names, each in file order, and the
// last value read for a key is the one it keeps.
const IniText::Entry* IniText::find(const QString& key) const {
    const Entry* best = nullptr;
    for (const Entry& entry : entries_) {
        if (entry.key == key && (!best || !(entry.section < best->section))) {
            best = &entry;
        }
    }
    return best;
}

std::optional<IniText::Value> IniText::value(const QString& key) const {
    const Entry* entry = find(key);
    if (!entry) {
        return std::nullopt;
    }
    Value value;
    QStringList items = unescapedValue(
        QByteArrayView(bytes_).sliced(entry->valueStart, entry->valueEnd - entry->valueStart),
        value.list);
    for (QString& item : items) {
        if (item.startsWith(QLatin1String("@@"))) {
            item.remove(0, 1);
        } else if (value.list ? item.startsWith(u'@') : isTypedValue(item)) {
            value.typed = true;
        }
    }
    value.text = items.join(u',');
    return value;
}

QStringList IniText::keys() const {
    QStringList all;
    for (const Entry& entry : entries_) {
        all.append(entry.key);
    }
    all.removeDuplicates();
    return all;
}

void IniText::setValue(const QString& section, const QString& name, const QString& text) {
    const QByteArray encoded = iniEscapedString(text.startsWith(u'@') ? u'@' + text : text);
    if (const Entry* entry = find(section + u'/' + name)) {
        bytes_.replace(entry->valueStart, entry->valueEnd - entry->valueStart, encoded);
    } else {
        appendLine(section, name.toUtf8() + '=' + encoded);
    }
    parse();
}

// A new line goes at the end of the last block of its section; a missing section is added at
// the end of the file. A last line left open (in quotes, or ending in a backslash) is closed
// first so that it cannot swallow the new one; it reads as the same value afterwards.
void IniText::appendLine(const QString& section, const QByteArray& line) {
    const QByteArray eol = bytes_.contains("\r\n") ? "\r\n" : "\n";
    const QString sortKey = section + u'/';
    auto block = std::find_if(sections_.rbegin(), sections_.rend(),
                              [&](const Section& s) { return s.name == sortKey; });
    if (block != sections_.rend() && block->end < bytes_.size()) {
        bytes_.insert(block->end, line + eol);
        return;
    }
    if (endsInEscape_) {
        bytes_ += eol;
    }
    if (endsInQuotes_) {
        bytes_ += '"';
    }
    if (endIsOpen_ || (!bytes_.isEmpty() && !bytes_.endsWith('\n') && !bytes_.endsWith('\r'))) {
        bytes_ += eol;
    }
    if (block == sections_.rend()) {
        if (!bytes_.isEmpty()) {
            bytes_ += eol;
        }
        bytes_ += '[' + section.toUtf8() + ']' + eol;
    }
    bytes_ += line + eol;
}

} // namespace korvane::qt

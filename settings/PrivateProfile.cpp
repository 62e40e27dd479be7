#include "settings/PrivateProfile.h"

#include "platform/FileLock.h"

#include <QFile>
#include <QSaveFile>

#include <optional>

namespace brx {

namespace {

// The file as lines, kept verbatim so that a write changes only its own line.
QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

void writeLines(const QString& path, const QStringList& lines) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw SettingsWriteError(path);
    QByteArray data;
    for (const QString& line : lines) {
        data += line.toUtf8();
        data += '\n';
    }
    if (file.write(data) != data.size() || !file.commit()) throw SettingsWriteError(path);
}

std::optional<QString> sectionName(const QString& line) {
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('['))) return std::nullopt;
    const int close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0) return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

struct KeyLine {
    QString key;
    QString value;
};

std::optional<KeyLine> keyLine(const QString& line) {
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) return std::nullopt;
    const QString key = line.left(eq).trimmed();
    if (key.isEmpty() || key.startsWith(QLatin1Char(';'))) return std::nullopt;
    QString value = line.mid(eq + 1).trimmed();
    // A value wrapped in matching quotes comes back without them.
    if (value.size() >= 2 &&
        (value.startsWith(QLatin1Char('"')) || value.startsWith(QLatin1Char('\''))) &&
        value.endsWith(value.at(0)))
        value = value.mid(1, value.size() - 2);
    return KeyLine{key, value};
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Lines [begin, end) of the first section of that name: begin is its header line.
struct SectionRange {
    int begin = -1;
    int end = -1;
    bool found() const { return begin >= 0; }
};

SectionRange findSection(const QStringList& lines, const QString& section) {
    SectionRange range;
    for (int i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i]);
        if (!name) continue;
        if (range.found()) {
            range.end = i;
            return range;
        }
        if (sameName(*name, section)) range.begin = i;
    }
    if (range.found()) range.end = lines.size();
    return range;
}

int findKey(const QStringList& lines, const SectionRange& range, const QString& key) {
    for (int i = range.begin + 1; i < range.end; ++i) {
        const auto entry = keyLine(lines[i]);
        if (entry && sameName(entry->key, key)) return i;
    }
    return -1;
}

// How long a write waits for another one to finish; a write takes
// milliseconds.
constexpr int kLockWaitMs = 10'000;

bool isWritableKey(const QString& key) {
    return !key.trimmed().isEmpty() && PrivateProfile::isWritableValue(key) &&
           !key.contains(QLatin1Char('=')) && !key.trimmed().startsWith(QLatin1Char('[')) &&
           !key.trimmed().startsWith(QLatin1Char(';'));
}

bool isWritableSection(const QString& section) {
    return PrivateProfile::isWritableValue(section) && !section.contains(QLatin1Char(']'));
}

// Index after the section's last non-blank line, so that blank separators
// stay between sections.
int endOfContent(const QStringList& lines, const SectionRange& range) {
    int end = range.end;
    while (end - 1 > range.begin && lines[end - 1].trimmed().isEmpty()) --end;
    return end;
}

QString sectionHeader(const QString& section) {
    return QLatin1Char('[') + section + QLatin1Char(']');
}

} // namespace

bool PrivateProfile::isWritableValue(const QString& text) {
    return !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) &&
           !text.contains(QChar(0));
}

template <typename Change>
void PrivateProfile::rewrite(Change change) {
    const ExclusiveFileLock lock(m_path + QStringLiteral(".lock"), kLockWaitMs);
    if (!lock.isLocked()) throw SettingsWriteError(m_path);
    QStringList lines = readLines(m_path);
    if (change(lines)) writeLines(m_path, lines);
}

SettingsWriteError::SettingsWriteError(const QString& path)
    : std::runtime_error(QStringLiteral("Ne peut écrire dans %1").arg(path).toStdString())
    , m_text(QStringLiteral("Ne peut écrire dans %1").arg(path)) {}

PrivateProfile::PrivateProfile(QString path) : m_path(std::move(path)) {}

QString PrivateProfile::readString(const QString& section, const QString& key,
                                   const QString& defaultValue) const {
    const QStringList lines = readLines(m_path);
    const SectionRange range = findSection(lines, section);
    QString value = defaultValue;
    if (range.found()) {
        const int at = findKey(lines, range, key);
        if (at >= 0) value = keyLine(lines[at])->value;
    }
    return value.left(kStringBufferChars - 1);
}

int parseProfileInt(const QString& text, int defaultValue) {
    const QString t = text.trimmed();
    bool ok = false;
    if (t.size() > 2 &&
        (t.startsWith(QStringLiteral("0x")) || t.startsWith(QStringLiteral("0X")))) {
        const uint value = t.mid(2).toUInt(&ok, 16);
        return ok ? static_cast<int>(value) : defaultValue;
    }
    const int value = t.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

int PrivateProfile::readInt(const QString& section, const QString& key, int defaultValue) const {
    const QString text = readString(section, key, QString());
    if (text.isEmpty()) return defaultValue;
    return parseProfileInt(text, defaultValue);
}

bool PrivateProfile::readBool(const QString& section, const QString& key, bool defaultValue) const {
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

QStringList PrivateProfile::keys(const QString& section) const {
    const QStringList lines = readLines(m_path);
    const SectionRange range = findSection(lines, section);
    QStringList names;
    if (!range.found()) return names;
    // The list comes through a fixed buffer: each name and its NUL, then a final NUL.
    int used = 1;
    for (int i = range.begin + 1; i < range.end; ++i) {
        const auto entry = keyLine(lines[i]);
        if (!entry) continue;
        used += entry->key.size() + 1;
        if (used > kKeyListBufferChars) break;
        names.append(entry->key);
    }
    return names;
}

void PrivateProfile::writeString(const QString& section, const QString& key, const QString& value) {
    if (!isWritableSection(section) || !isWritableKey(key) || !isWritableValue(value))
        throw SettingsWriteError(m_path);
    const QString line = key + QLatin1Char('=') + value;
    rewrite([&](QStringList& lines) {
        const SectionRange range = findSection(lines, section);
        if (!range.found()) {
            lines.append(sectionHeader(section));
            lines.append(line);
        } else if (const int at = findKey(lines, range, key); at >= 0) {
            lines[at] = line;
        } else {
            lines.insert(endOfContent(lines, range), line);
        }
        return true;
    });
}

void PrivateProfile::writeInt(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void PrivateProfile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void PrivateProfile::eraseSection(const QString& section) {
    rewrite([&](QStringList& lines) {
        const SectionRange range = findSection(lines, section);
        if (!range.found()) return false;
        lines.erase(lines.begin() + range.begin, lines.begin() + range.end);
        return true;
    });
}

void PrivateProfile::writeSection(const QString& section, const Entries& entries) {
    bool writable = isWritableSection(section);
    for (const auto& [key, value] : entries)
        writable = writable && isWritableKey(key) && isWritableValue(value);
    if (!writable) throw SettingsWriteError(m_path);
    QStringList content{sectionHeader(section)};
    for (const auto& [key, value] : entries) content.append(key + QLatin1Char('=') + value);
    rewrite([&](QStringList& lines) {
        const SectionRange range = findSection(lines, section);
        if (!range.found()) {
            lines += content;
            return true;
        }
        const int end = endOfContent(lines, range);
        lines.erase(lines.begin() + range.begin, lines.begin() + end);
        for (int i = 0; i < content.size(); ++i) lines.insert(range.begin + i, content[i]);
        return true;
    });
}

} // namespace brx

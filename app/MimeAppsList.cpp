#include "app/MimeAppsList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace brx {

namespace {

QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

bool isGroupLine(const QString& line) {
    return line.trimmed().startsWith(QLatin1Char('['));
}

bool isKeyLine(const QString& line, const QString& key) {
    return !line.startsWith(QLatin1Char('#')) && line.contains(QLatin1Char('=')) &&
           line.section(QLatin1Char('='), 0, 0).trimmed() == key;
}

} // namespace

std::optional<QString> MimeAppsList::value(const QString& group, const QString& key) const {
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    bool inGroup = false;
    for (const QString& line : readLines(m_filePath)) {
        if (isGroupLine(line))
            inGroup = line.trimmed() == header;
        else if (inGroup && isKeyLine(line, key))
            return line.section(QLatin1Char('='), 1).trimmed();
    }
    return std::nullopt;
}

bool MimeAppsList::setValue(const QString& group, const QString& key,
                            const std::optional<QString>& value) {
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    QStringList lines = readLines(m_filePath);
    qsizetype groupLine = -1;
    qsizetype groupEnd = lines.size();
    bool done = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (isGroupLine(lines.at(i))) {
            if (groupLine >= 0 && groupEnd == lines.size()) groupEnd = i;
            if (lines.at(i).trimmed() == header && groupLine < 0) groupLine = i;
        } else if (groupLine >= 0 && groupEnd == lines.size() && isKeyLine(lines.at(i), key)) {
            if (value)
                lines[i] = key + QLatin1Char('=') + *value;
            else
                lines.removeAt(i);
            done = true;
            break;
        }
    }
    if (!done && !value) return true;
    if (!done) {
        if (groupLine < 0) {
            if (!lines.isEmpty() && !lines.last().trimmed().isEmpty()) lines << QString();
            lines << header;
            groupEnd = lines.size();
        }
        // After the group's last non-blank line.
        while (groupEnd > 0 && lines.at(groupEnd - 1).trimmed().isEmpty()) --groupEnd;
        lines.insert(groupEnd, key + QLatin1Char('=') + *value);
    }
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QSaveFile file(m_filePath);
    return file.open(QIODevice::WriteOnly) &&
           file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) >= 0 &&
           file.commit();
}

} // namespace brx

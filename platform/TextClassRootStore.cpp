#include "platform/TextClassRootStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QtGlobal>

namespace brx {

namespace {

QString escapeValue(const QString& value) {
    QString out;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

// Reads the quoted value after "@="; nothing when the text is not one.
std::optional<QString> unescapeValue(const QString& quoted) {
    if (quoted.size() < 2 || !quoted.startsWith(QLatin1Char('"')) ||
        !quoted.endsWith(QLatin1Char('"')))
        return std::nullopt;
    const QString body = quoted.mid(1, quoted.size() - 2);
    QString out;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        if (c == QLatin1Char('"')) return std::nullopt;
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++i >= body.size()) return std::nullopt;
        switch (body.at(i).unicode()) {
        case '\\':
            out += QLatin1Char('\\');
            break;
        case '"':
            out += QLatin1Char('"');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'u': {
            bool ok = false;
            const uint code = body.mid(i + 1, 4).toUInt(&ok, 16);
            if (!ok || body.mid(i + 1, 4).size() != 4) return std::nullopt;
            out += QChar(char16_t(code));
            i += 4;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

} // namespace

TextClassRootStore::TextClassRootStore(QString filePath) : m_filePath(std::move(filePath)) {}

QString TextClassRootStore::defaultFilePath() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/BRX_EXPLO/classroot.txt");
}

QByteArray TextClassRootStore::serialize(const ClassRootKeys& keys) {
    QString text = QStringLiteral("; BRX_EXPLO class-root keys\n");
    for (const auto& [path, value] : keys.allKeys()) {
        text += QLatin1Char('[') + path + QStringLiteral("]\n");
        if (value) text += QStringLiteral("@=\"") + escapeValue(*value) + QStringLiteral("\"\n");
    }
    return text.toUtf8();
}

ClassRootKeys TextClassRootStore::parse(const QByteArray& bytes, QString* damage) {
    ClassRootKeys keys;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    const QStringList lines = text.split(QLatin1Char('\n'));
    QString current;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        QString problem;
        try {
            if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
                current = line.mid(1, line.size() - 2);
                keys.createKey(current);
                continue;
            }
            if (line.startsWith(QStringLiteral("@=")) && !current.isEmpty()) {
                if (const auto value = unescapeValue(line.mid(2))) {
                    keys.setValue(current, *value);
                    continue;
                }
            }
            problem = QStringLiteral("unreadable line");
        } catch (const EClassRootStore&) {
            problem = QStringLiteral("invalid key name");
        }
        if (damage) *damage = QStringLiteral("line %1: %2").arg(n + 1).arg(problem);
        return keys;
    }
    if (decoder.hasError() && damage) *damage = QStringLiteral("invalid UTF-8 text");
    return keys;
}

ClassRootKeys TextClassRootStore::load() const {
    m_damage.clear();
    QFile file(m_filePath);
    if (!file.exists()) return {};
    if (!file.open(QIODevice::ReadOnly))
        throw EClassRootStore("cannot read " + m_filePath.toStdString());
    ClassRootKeys keys = parse(file.readAll(), &m_damage);
    if (!m_damage.isEmpty())
        qWarning("BRX_EXPLO: damaged key store %s (%s); read up to there", qPrintable(m_filePath),
                 qPrintable(m_damage));
    return keys;
}

void TextClassRootStore::save(const ClassRootKeys& keys) {
    if (!QDir().mkpath(QFileInfo(m_filePath).absolutePath()))
        throw EClassRootStore("cannot create the folder of " + m_filePath.toStdString());
    if (!m_damage.isEmpty()) {
        // The unreadable part is kept for the user before the file is rewritten.
        const QString aside = m_filePath + QStringLiteral(".damaged");
        QFile::remove(aside);
        QFile::copy(m_filePath, aside);
    }
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(serialize(keys)) < 0 || !file.commit())
        throw EClassRootStore("cannot write " + m_filePath.toStdString());
    m_damage.clear();
}

void TextClassRootStore::createKey(const QString& path) {
    ClassRootKeys keys = load();
    if (keys.keyExists(path)) return;
    keys.createKey(path);
    save(keys);
}

bool TextClassRootStore::keyExists(const QString& path) const {
    return load().keyExists(path);
}

QString TextClassRootStore::readDefault(const QString& path) {
    ClassRootKeys keys = load();
    if (!keys.keyExists(path)) {
        keys.createKey(path);
        save(keys);
    }
    return keys.value(path).value_or(QString());
}

void TextClassRootStore::writeDefault(const QString& path, const QString& value) {
    ClassRootKeys keys = load();
    if (keys.keyExists(path) && keys.value(path) == value) return;
    keys.setValue(path, value);
    save(keys);
}

bool TextClassRootStore::deleteKey(const QString& path) {
    ClassRootKeys keys = load();
    if (!keys.deleteKey(path)) return false;
    save(keys);
    return true;
}

QStringList TextClassRootStore::subKeys(const QString& path) const {
    return load().subKeys(path);
}

QString TextClassRootStore::peekDefault(const QString& path) const {
    return load().value(path).value_or(QString());
}

} // namespace brx

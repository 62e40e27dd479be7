#include "platform/ClassRootKeys.h"

#include "platform/ClassRootStore.h"

namespace brx {

namespace {
const QChar kSeparator = QLatin1Char('\\');
}

QStringList ClassRootKeys::splitPath(const QString& path) {
    QString trimmed = path;
    while (trimmed.endsWith(kSeparator)) trimmed.chop(1);
    const QStringList names = trimmed.split(kSeparator);
    for (const QString& name : names) {
        if (name.isEmpty())
            throw EClassRootStore("invalid key path: \"" + path.toStdString() + "\"");
        for (const QChar c : name)
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                throw EClassRootStore("control character in key path");
    }
    return names;
}

// The registry compares key names upper-cased.
QString ClassRootKeys::fold(const QStringList& names) {
    return names.join(kSeparator).toUpper();
}

QString ClassRootKeys::spelled(const QStringList& names) const {
    QStringList out;
    for (qsizetype i = 1; i <= names.size(); ++i) out << m_keys.value(fold(names.mid(0, i))).name;
    return out.join(kSeparator);
}

void ClassRootKeys::createKey(const QString& path) {
    const QStringList names = splitPath(path);
    for (qsizetype i = 1; i <= names.size(); ++i) {
        const QString folded = fold(names.mid(0, i));
        if (!m_keys.contains(folded)) m_keys.insert(folded, Key{names.at(i - 1), std::nullopt});
    }
}

bool ClassRootKeys::keyExists(const QString& path) const {
    return m_keys.contains(fold(splitPath(path)));
}

std::optional<QString> ClassRootKeys::value(const QString& path) const {
    const auto it = m_keys.constFind(fold(splitPath(path)));
    return it == m_keys.cend() ? std::nullopt : it->value;
}

void ClassRootKeys::setValue(const QString& path, const QString& value) {
    createKey(path);
    m_keys[fold(splitPath(path))].value = value;
}

bool ClassRootKeys::deleteKey(const QString& path) {
    const QString folded = fold(splitPath(path));
    if (!m_keys.contains(folded)) return false;
    const QString below = folded + kSeparator;
    for (auto it = m_keys.begin(); it != m_keys.end();) {
        if (it.key() == folded || it.key().startsWith(below))
            it = m_keys.erase(it);
        else
            ++it;
    }
    return true;
}

QStringList ClassRootKeys::subKeys(const QString& path) const {
    const QString below = fold(splitPath(path)) + kSeparator;
    QStringList names;
    for (auto it = m_keys.lowerBound(below); it != m_keys.cend() && it.key().startsWith(below);
         ++it)
        if (!it.key().mid(below.size()).contains(kSeparator)) names << it->name;
    return names;
}

QList<QPair<QString, std::optional<QString>>> ClassRootKeys::allKeys() const {
    QList<QPair<QString, std::optional<QString>>> out;
    for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it)
        out.append({spelled(it.key().split(kSeparator)), it->value});
    return out;
}

} // namespace brx

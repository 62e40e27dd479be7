#pragma once
// The key tree of the class-root store held in memory, with the registry's
// rules: names compared without letter case, a trailing "\" ignored, a key's
// spelling fixed by its first creation. Shared by the file store and the
// test fake so that both follow the same rules.

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace brx {

class ClassRootKeys {
public:
    struct Key {
        QString name; // the last path part as first spelled
        std::optional<QString> value;
    };

    // Splits a path into its names; throws EClassRootStore on an empty name
    // in the middle, an empty path or a control character.
    static QStringList splitPath(const QString& path);

    void createKey(const QString& path);
    bool keyExists(const QString& path) const;
    std::optional<QString> value(const QString& path) const;
    void setValue(const QString& path, const QString& value);
    bool deleteKey(const QString& path);
    QStringList subKeys(const QString& path) const;

    // Every key, parents before their children, as (spelled path, value).
    QList<QPair<QString, std::optional<QString>>> allKeys() const;
    bool isEmpty() const { return m_keys.isEmpty(); }

private:
    static QString fold(const QStringList& names);
    QString spelled(const QStringList& names) const;

    // Keyed by the folded full path; QMap order puts parents first.
    QMap<QString, Key> m_keys;
};

} // namespace brx

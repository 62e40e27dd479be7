#pragma once
// The class-root key store of the user: one UTF-8 text file, by default
// $XDG_CONFIG_HOME/BRX_EXPLO/classroot.txt (~/.config when the variable is
// unset). Each call reads the file and, when it changes something, replaces
// it atomically, so no half-written store is ever seen.
//
// File layout, one key a line, parents before children:
//   [Folder\shell\Fichiers Vers &Zip\command]
//   @="\"/opt/brx/BRX_EXPLO\" -#\"%1\""
// Lines starting with ";" are comments. A damaged file is read up to its
// first bad line; the rest is reported (damage()) and kept aside as
// "<file>.damaged" before the next write, so nothing is silently lost.

#include "platform/ClassRootKeys.h"
#include "platform/ClassRootStore.h"

namespace brx {

class TextClassRootStore final : public IClassRootStore {
public:
    explicit TextClassRootStore(QString filePath);

    static QString defaultFilePath();

    void createKey(const QString& path) override;
    bool keyExists(const QString& path) const override;
    QString readDefault(const QString& path) override;
    void writeDefault(const QString& path, const QString& value) override;
    bool deleteKey(const QString& path) override;
    QStringList subKeys(const QString& path) const override;
    QString peekDefault(const QString& path) const override;

    QString filePath() const { return m_filePath; }
    // What was wrong with the file at the last read; empty when it was sound.
    QString damage() const { return m_damage; }

    // The text form of a key tree, and its reading (which stops at the first
    // bad line and describes it in *damage).
    static QByteArray serialize(const ClassRootKeys& keys);
    static ClassRootKeys parse(const QByteArray& text, QString* damage);

private:
    ClassRootKeys load() const;
    void save(const ClassRootKeys& keys);

    QString m_filePath;
    mutable QString m_damage;
};

} // namespace brx

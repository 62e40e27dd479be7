#pragma once
// The program's version block: the version-resource layout of the program's
// original platform (a tree of nodes: length, value length, type, UTF-16
// key, value, children, each aligned on 4 bytes), with a fixed-file-info
// value at the root, a string table per translation and the translation
// list. The build embeds one in its own section of the executable; the
// About box reads it back from the file on disk.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace brx {

// The eight standard string keys in their published order.
enum class VersionKey {
    CompanyName,
    FileDescription,
    FileVersion,
    InternalName,
    LegalCopyright,
    OriginalFilename,
    ProductName,
    ProductVersion
};

QString versionKeyName(VersionKey key);

inline constexpr char kVersionSection[] = ".brx_version";

struct VersionBlockContent {
    quint16 language = 0x040C; // French
    quint16 codePage = 0x04E4; // Windows Latin-1
    quint16 fileVersion[4] = {0, 0, 0, 0};
    QList<QPair<QString, QString>> strings; // key name, value
};

QByteArray buildVersionBlock(const VersionBlockContent& content);

// The value of key in the block's string table of its first translation;
// empty when the block, the translation or the value is missing or damaged.
QString versionValue(const QByteArray& block, VersionKey key);

// Version text (key) of a program file: its embedded block read from disk.
QString versionTextOf(const QString& programFile, VersionKey key);
// The same for the running program.
QString VersionText(VersionKey key);

} // namespace brx

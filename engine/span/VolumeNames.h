#pragma once
// Names of the volumes of a set: files name001.zip, name002.zip... on fixed
// and network drives, the same file name on every removable disk told apart
// by the label "PKBACK# 001", "PKBACK# 002"...

#include <QString>

#include <optional>

namespace brx {

inline const QString kSpanLabelPrefix = QStringLiteral("PKBACK# ");

// The three-digit text of volume n (1-based): n + 1000 without its first
// digit, so volume 1000 is "000".
QString volumeNumberText(int n);

// "PKBACK# " + the number text of volume n.
QString volumeLabelFor(int n);

// The volume number held by a "PKBACK# nnn" label; nothing when the label
// does not start with the prefix or its number is not numeric.
std::optional<int> volumeNumberOfLabel(const QString& label);

// Writing: the first volume's name with the number text of volume n
// inserted before its extension (backup.zip -> backup002.zip).
QString volumeFileNameForWrite(const QString& firstVolume, int n);

// Reading: the three characters before the extension replaced by the number
// text of volume n (backup003.zip -> backup001.zip).
QString volumeFileNameForRead(const QString& anyVolume, int n);

// The number in the three characters before the extension, when numeric.
std::optional<int> volumeNumberOfFileName(const QString& path);

} // namespace brx

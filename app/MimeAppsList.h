#pragma once
// Line-preserving edits of a mimeapps.list file: one key of one group is
// read, set or removed; every other line, comment and group stays as the
// user wrote it.

#include <QString>
#include <optional>

namespace brx {

class MimeAppsList {
public:
    explicit MimeAppsList(QString filePath) : m_filePath(std::move(filePath)) {}

    std::optional<QString> value(const QString& group, const QString& key) const;
    // Sets (or, with nullopt, removes) the key; false when the file could
    // not be written.
    bool setValue(const QString& group, const QString& key, const std::optional<QString>& value);

private:
    QString m_filePath;
};

} // namespace brx

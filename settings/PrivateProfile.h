#pragma once
// A private-profile settings file: "[section]" lines, then "key=value" lines.
// Every call is one complete file access; nothing is cached, so several
// windows and dialogs can share the file without stepping on each other.
// Section and key names are matched without regard to case.

#include <QString>
#include <QList>
#include <QStringList>
#include <utility>
#include <stdexcept>

namespace brx {

// Raised when the file cannot be written: "Ne peut écrire dans <path>". Also
// raised, before anything is written, for a value or name that the line
// syntax cannot hold (see PrivateProfile).
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const QString& path);
    QString text() const { return m_text; }

private:
    QString m_text;
};

class PrivateProfile {
public:
    static constexpr int kStringBufferChars = 1024;  // at most 1023 come back
    static constexpr int kKeyListBufferChars = 8192; // names + NUL each, list NUL

    explicit PrivateProfile(QString path);
    const QString& path() const { return m_path; }

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue = {}) const;
    int readInt(const QString& section, const QString& key, int defaultValue) const;
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;
    // The section's key names in file order; empty for an absent section.
    QStringList keys(const QString& section) const;

    // Writers replace the file as a whole (temporary file + rename), so a
    // crash or a full disk leaves either the old or the new file, never half.
    // Each write locks the file "<file>.lock" beside the settings file (kept
    // there once created) while it re-reads the file and changes its own
    // lines: two windows or processes writing at once keep each other's keys.
    //
    // A value, key or section holding a line break (CR or LF) or a NUL would
    // start a line of its own and plant keys the program never wrote: it is
    // refused with SettingsWriteError and the file is left as it was. So are
    // a key holding "=" or starting with "[" or ";", and a section holding "]".
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInt(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);
    void eraseSection(const QString& section);

    using Entries = QList<std::pair<QString, QString>>;
    // The section replaced by exactly these keys, in this order, in one
    // file access (created at the end of the file when absent).
    void writeSection(const QString& section, const Entries& entries);

    // True when text can stand in a value: no line break and no NUL.
    static bool isWritableValue(const QString& text);

private:
    template <typename Change>
    void rewrite(Change change);

    QString m_path;
};

// Integer text as the profile reads it: decimal with an optional sign, or
// hexadecimal after "0x"/"0X" when the text is longer than two characters;
// anything else yields defaultValue.
int parseProfileInt(const QString& text, int defaultValue);

} // namespace brx

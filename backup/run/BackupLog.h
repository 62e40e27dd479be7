#pragma once
// The backup log "BRXLogrun.txt" beside the program: loaded when the backup
// window opens, added to by every step of a run, saved when the window is
// left through its quit procedure. One line per entry in the file.

#include <QString>
#include <QStringList>

namespace brx {

inline const QString kBackupLogName = QStringLiteral("BRXLogrun.txt");
// A loaded history longer than this is dropped.
inline constexpr qsizetype kBackupLogLimit = 50'000;

class BackupLog {
public:
    // folder: the program's folder, where the log file lives.
    explicit BackupLog(QString folder);

    QString filePath() const;

    // Loads the file (dropping a history over the limit) and adds the
    // opening banner. False when an existing file could not be read; the
    // log then starts empty with its banner.
    bool open(const QString& dateTimeText);
    // Adds the closing banner and saves the whole log, through a temporary
    // file renamed over the old one. False when it could not be written.
    bool close(const QString& dateTimeText);

    // An entry may hold line breaks ("\r\n" or "\n"): it then adds one line each.
    void add(const QString& entry);

    const QStringList& lines() const { return m_lines; }

private:
    QString m_folder;
    QStringList m_lines;
};

// The opening and closing banners (each begins with a line break).
QString openingBanner(const QString& dateTimeText);
QString closingBanner(const QString& dateTimeText);
// The date-time text of the banners: the system's short date and long time.
QString logDateTimeText();

} // namespace brx

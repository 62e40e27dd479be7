#include "backup/run/BackupLog.h"

#include "platform/LocaleInfo.h"
#include "support/PathNames.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QSaveFile>

namespace brx {

namespace {

QString banner(const QString& dateTimeText, const QString& what) {
    const QString gap = QStringLiteral("         ");
    return QStringLiteral("\r\n------------") + gap + dateTimeText + gap + what + gap +
           QStringLiteral("------------");
}

} // namespace

QString openingBanner(const QString& dateTimeText) {
    return banner(dateTimeText, QStringLiteral("Ouverture BRX_EXPLO"));
}

QString closingBanner(const QString& dateTimeText) {
    return banner(dateTimeText, QStringLiteral("Fermeture BRX_EXPLO"));
}

QString logDateTimeText() {
    const SystemLocaleInfo locale;
    const QDateTime now = QDateTime::currentDateTime();
    return QLocale::system().toString(now.date(), locale.shortDateFormat()) + QLatin1Char(' ') +
           QLocale::system().toString(now.time(), locale.longTimeFormat());
}

BackupLog::BackupLog(QString folder) : m_folder(std::move(folder)) {}

QString BackupLog::filePath() const {
    return WithBackslash(m_folder) + kBackupLogName;
}

bool BackupLog::open(const QString& dateTimeText) {
    m_lines.clear();
    bool readable = true;
    QFile file(filePath());
    if (file.exists()) {
        readable = file.open(QIODevice::ReadOnly);
        QString text = readable ? QString::fromUtf8(file.readAll()) : QString();
        if (text.size() > kBackupLogLimit) text.clear();
        if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
        if (!text.isEmpty()) add(text);
    }
    add(openingBanner(dateTimeText));
    return readable;
}

bool BackupLog::close(const QString& dateTimeText) {
    add(closingBanner(dateTimeText));
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly)) return false;
    for (const QString& line : std::as_const(m_lines)) file.write(line.toUtf8() + '\n');
    return file.commit();
}

void BackupLog::add(const QString& entry) {
    QString text = entry;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_lines.append(text.split(QLatin1Char('\n')));
}

} // namespace brx

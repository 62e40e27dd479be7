#include "HelpFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

namespace brx {

namespace {

const QString kMagic = QStringLiteral("BRXHELP 1");
const QString kTopicMark = QStringLiteral("== ");

std::optional<HelpTopic> readTopicLine(const QString& line) {
    static const QRegularExpression pattern(QStringLiteral("^== ([0-9]{1,9}) (\\S.*)$"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch()) return std::nullopt;
    HelpTopic topic;
    topic.context = match.captured(1).toInt();
    topic.title = match.captured(2).trimmed();
    return topic;
}

std::optional<HelpFile> fail(QString* error, const QString& text) {
    if (error) *error = text;
    return std::nullopt;
}

} // namespace

QList<int> HelpFile::links(const QString& body) {
    static const QRegularExpression pattern(QStringLiteral("href=\"#([0-9]{1,9})\""));
    QList<int> result;
    for (const QRegularExpressionMatch& m : pattern.globalMatch(body))
        result << m.captured(1).toInt();
    return result;
}

const HelpTopic* HelpFile::topic(int context) const {
    for (const HelpTopic& t : m_topics)
        if (t.context == context) return &t;
    return nullptr;
}

std::optional<HelpFile> HelpFile::parse(const QByteArray& data, QString* error) {
    QStringList lines = QString::fromUtf8(data).split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (lines.isEmpty() || lines.first() != kMagic)
        return fail(error, QStringLiteral("ce n'est pas un fichier d'aide de BRX_EXPLO."));

    HelpFile file;
    QSet<int> seen;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.startsWith(kTopicMark)) {
            std::optional<HelpTopic> topic = readTopicLine(line);
            if (!topic)
                return fail(error,
                            QStringLiteral("ligne %1 : en-tête de rubrique illisible.").arg(i + 1));
            if (seen.contains(topic->context))
                return fail(error, QStringLiteral("ligne %1 : la rubrique %2 existe déjà.")
                                       .arg(i + 1)
                                       .arg(topic->context));
            seen.insert(topic->context);
            file.m_topics << *topic;
        } else if (!file.m_topics.isEmpty()) {
            file.m_topics.last().body += line + QLatin1Char('\n');
        } else if (!line.startsWith(QLatin1Char('#')) && !line.trimmed().isEmpty()) {
            return fail(error, QStringLiteral("ligne %1 : texte hors rubrique.").arg(i + 1));
        }
    }
    if (!seen.contains(kHelpContents))
        return fail(error,
                    QStringLiteral("le sommaire (rubrique %1) est absent.").arg(kHelpContents));
    for (const HelpTopic& t : file.m_topics)
        for (int target : links(t.body))
            if (!seen.contains(target))
                return fail(error,
                            QStringLiteral("la rubrique %1 renvoie à la rubrique %2, absente.")
                                .arg(t.context)
                                .arg(target));
    return file;
}

std::optional<HelpFile> HelpFile::load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("lecture impossible : %1.").arg(file.errorString()));
    // A help text is a few dozen kilobytes; anything huge is not ours.
    constexpr qint64 kMaxSize = 16 * 1024 * 1024;
    if (file.size() > kMaxSize) return fail(error, QStringLiteral("fichier beaucoup trop grand."));
    return parse(file.readAll(), error);
}

} // namespace brx

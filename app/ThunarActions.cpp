#include "app/ThunarActions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace brx {

namespace {

struct CopiedAction {
    QString xml;
    bool ours = false;
};

// Copies one <action> element (the reader stands on its start) token by
// token, noting whether its unique id is one of ours.
CopiedAction copyAction(QXmlStreamReader& reader) {
    CopiedAction action;
    QXmlStreamWriter writer(&action.xml);
    int depth = 0;
    bool inId = false;
    while (true) {
        if (reader.isStartElement()) {
            ++depth;
            inId = depth == 2 && reader.name() == QStringLiteral("unique-id");
        } else if (reader.isEndElement()) {
            --depth;
            inId = false;
        } else if (reader.isCharacters() && inId &&
                   reader.text().trimmed().startsWith(kThunarIdPrefix)) {
            action.ours = true;
        }
        writer.writeCurrentToken(reader);
        if (depth == 0 || reader.atEnd()) break;
        reader.readNext();
    }
    return action;
}

QString actionXml(const ThunarAction& action) {
    QString xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.writeStartElement(QStringLiteral("action"));
    writer.writeTextElement(QStringLiteral("icon"), action.icon);
    writer.writeTextElement(QStringLiteral("name"), action.name);
    writer.writeTextElement(QStringLiteral("unique-id"), action.uniqueId);
    writer.writeTextElement(QStringLiteral("command"), action.command);
    writer.writeTextElement(QStringLiteral("description"), action.description);
    writer.writeTextElement(QStringLiteral("patterns"), action.patterns);
    writer.writeEmptyElement(action.fileTypeTag);
    writer.writeEndElement();
    return xml;
}

// The <action> elements of an existing file; false when it is not a
// readable actions file.
bool readActions(const QString& filePath, QList<CopiedAction>& actions, QString* problem) {
    QFile file(filePath);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem) *problem = QStringLiteral("cannot read ") + filePath;
        return false;
    }
    QXmlStreamReader reader(&file);
    int depth = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            if (depth == 0 && reader.name() != QStringLiteral("actions")) break;
            if (depth == 1 && reader.name() == QStringLiteral("action")) {
                actions.append(copyAction(reader));
                continue;
            }
            ++depth;
        } else if (reader.isEndElement()) {
            --depth;
        }
    }
    if (reader.hasError() || depth != 0) {
        if (problem)
            *problem = QStringLiteral("%1 is not a readable actions file (%2); left unchanged")
                           .arg(filePath, reader.errorString());
        return false;
    }
    return true;
}

} // namespace

bool mergeThunarActions(const QString& filePath, const QList<ThunarAction>& actions,
                        QString* problem) {
    QList<CopiedAction> existing;
    if (!readActions(filePath, existing, problem)) return false;
    const bool hadOurs =
        std::any_of(existing.begin(), existing.end(), [](const CopiedAction& a) { return a.ours; });
    if (!hadOurs && actions.isEmpty()) return true;

    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n");
    for (const CopiedAction& action : existing)
        if (!action.ours) xml += action.xml + QLatin1Char('\n');
    for (const ThunarAction& action : actions)
        xml += actionXml(action).trimmed() + QLatin1Char('\n');
    xml += QStringLiteral("</actions>\n");

    QDir().mkpath(QFileInfo(filePath).absolutePath());
    QSaveFile file(filePath);
    if (file.open(QIODevice::WriteOnly) && file.write(xml.toUtf8()) >= 0 && file.commit())
        return true;
    if (problem) *problem = QStringLiteral("cannot write ") + filePath;
    return false;
}

} // namespace brx

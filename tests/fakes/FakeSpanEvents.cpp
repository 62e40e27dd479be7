#include "tests/fakes/FakeSpanEvents.h"

#include <QHash>
#include <QRegularExpression>

namespace brx {

namespace {

const QHash<int, QString>& texts() {
    static const QHash<int, QString> table = {
        {10103, QStringLiteral("Requested memory not available")},
        {11001, QStringLiteral("Input file does not exist")},
        {11002, QStringLiteral("Zip file could not be opened")},
        {11003, QStringLiteral("Not a valid drive: %s")},
        {11004, QStringLiteral("Drive %s is NOT defined")},
        {11005, QStringLiteral("Volume label could not be set")},
        {11006, QStringLiteral("Not enough memory to display MsgBox")},
        {11007, QStringLiteral("User canceled operation")},
        {11009, QStringLiteral("Creation of output file failed")},
        {11010, QStringLiteral("Write error in output file")},
        {11025, QStringLiteral("Unattended disk spanning not implemented")},
        {11032, QStringLiteral("This disk has not enough free space available")},
        {11033, QStringLiteral("Please insert last disk")},
        {11034, QStringLiteral("Please insert disk volume %.1d of %.1d")},
        {11035, QStringLiteral("\nin drive: %s")},
        {11036, QStringLiteral("This archive is not a valid Zip archive")},
        {11037,
         QStringLiteral(
             "This is the first disk in a backup set,\nplease insert the last disk of this set")},
        {11038,
         QStringLiteral(
             "This is the %dth disk in a backup set,\nplease insert the last disk of this set")},
        {11039, QStringLiteral("There is already a file %s\nDo you want to overwrite this file")},
        {11040, QStringLiteral("ATTENTION: This is previous disk no %d!!!\nAre you sure you want "
                               "to overwrite the contents")},
        {11045,
         QStringLiteral(
             "This is the first file in a backup set,\nplease choose the last file of this set")},
        {11046, QStringLiteral("Please insert disk volume %.1d")},
        {11047, QStringLiteral("Central directory")},
    };
    return table;
}

} // namespace

QString FakeSpanEvents::messageText(int id, const QVariantList& args) const {
    QString text = texts().value(id, QStringLiteral("Message %1").arg(id));
    static const QRegularExpression field(QStringLiteral("%(\\.1)?[sd]"));
    for (const QVariant& arg : args) {
        const QRegularExpressionMatch match = field.match(text);
        if (!match.hasMatch()) break;
        text.replace(match.capturedStart(), match.capturedLength(), arg.toString());
    }
    return text;
}

void FakeSpanEvents::progress(SpanProgress type, const QString& name, qint64 size) {
    switch (type) {
    case SpanProgress::NewFile:
        newFiles.append(name);
        break;
    case SpanProgress::Update:
        updateTotal += size;
        break;
    case SpanProgress::TotalSize:
        totalSize = size;
        break;
    case SpanProgress::EndOfBatch:
        ++endOfBatch;
        break;
    case SpanProgress::TotalFiles:
        break;
    }
}

bool FakeSpanEvents::cancelRequested() const {
    return cancelAfterBytes >= 0 && updateTotal >= cancelAfterBytes;
}

} // namespace brx

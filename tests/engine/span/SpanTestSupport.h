#pragma once
// Archives made for the multi-volume tests, peer tools, and a reader of the
// layout of a written set.

#include "engine/span/SpanContext.h"
#include "engine/span/SpanRecords.h"
#include "tests/fakes/FakeSpanEvents.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace brx::spantest {

// Writes a test archive: a deflated text, parts stored entries of partSize
// random bytes and an entry with an extra field and a comment, padded with
// an archive comment to totalSize (0 = no padding); descriptors puts a data
// descriptor after every entry.
bool makeArchive(const QString& path, qint64 totalSize, int partSize, int parts,
                 bool descriptors = false);

QByteArray readAll(const QString& path);
bool writeAll(const QString& path, const QByteArray& bytes);

struct ToolRun {
    int exitCode = -1;
    QString output;
};
// Runs an installed tool; exitCode -1 when it could not be started.
ToolRun runTool(const QString& program, const QStringList& args, const QString& workDir = {});
bool haveTool(const QString& program);

// Checks the set's layout: the signature, local and central headers and the
// end record each inside one volume, every central header pointing at a
// local header on the volume and at the offset it names. Returns the
// problems found (empty when the layout is right).
QStringList checkSetLayout(const QList<QByteArray>& volumes);

} // namespace brx::spantest

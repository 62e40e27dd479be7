#pragma once
// The steps of one ReadSpan run: find the last volume, read the directory
// into the table, then copy local entries, directory and end record into one
// archive whose offsets are those of a single file.

#include "engine/span/SpanContext.h"
#include "engine/span/SpanDrive.h"
#include "engine/span/SpanEndRecord.h"
#include "engine/span/SpanInput.h"
#include "engine/span/SpanTable.h"

#include <QDateTime>
#include <QFile>

namespace brx {

class SpanReadJob {
public:
    SpanReadJob(SpanContext& context, const QString& archiveName);

    void run(QString& target);
    // Closes everything; after a failure deletes the output and empties target.
    void finish(bool ok, QString& target);

private:
    void createTarget(QString& target);
    void findLastVolume();
    qint64 readDirectory();
    void copyLocalEntry();
    void copyCentralHeader(int index);
    void writeEndRecord();
    void write(const QByteArray& bytes, int errorId);
    void copyData(qint64 length, int errorId);

    SpanContext& m_context;
    SpanDrive m_drive;
    SpanInput m_input;
    QFile m_out;
    FoundEndRecord m_end;
    SpanTable m_table;
    QDateTime m_inputDate;
    uint32_t m_directoryOffset = 0;
};

} // namespace brx

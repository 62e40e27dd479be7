#pragma once
// The steps of one WriteSpan run: table from the source's directory, then the
// local entries, the central directory and the end record onto the volumes.

#include "engine/span/SpanContext.h"
#include "engine/span/SpanDrive.h"
#include "engine/span/SpanEndRecord.h"
#include "engine/span/SpanTable.h"
#include "engine/span/VolumeWriter.h"

#include <QFile>

#include <memory>

namespace brx {

class SpanWriteJob {
public:
    SpanWriteJob(SpanContext& context, const QString& source, const QString& firstVolume);
    ~SpanWriteJob();

    void run();
    // Dates and closes the last volume and the input (also after a failure).
    void finish();

private:
    void openSource();
    void buildTable();
    void copyLocalEntry();
    void copyCentralHeader(int index, bool first);
    void writeEndRecord();
    QByteArray readInput(qint64 length, int errorId);
    void copyInput(qint64 length, int errorId);
    void seekInput(qint64 pos);

    SpanContext& m_context;
    SpanDrive m_drive;
    QString m_source;
    QString m_firstVolume;
    QFile m_in;
    FoundEndRecord m_end;
    SpanTable m_table;
    std::unique_ptr<VolumeWriter> m_writer;
    int m_directoryVolume = 0;
    uint32_t m_directoryOffset = 0;
};

// The name as shown in messages: UTF-8 when flagged so, else one byte per character.
QString entryDisplayName(const QByteArray& name, uint16_t flags);

} // namespace brx

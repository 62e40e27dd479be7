#pragma once
// Finding the end record of one volume (or of a whole single-file archive),
// and telling the user which volume of a set was given when it has none.

#include "engine/span/SpanHost.h"
#include "engine/span/SpanRecords.h"

#include <optional>

namespace brx {

struct FoundEndRecord {
    VolumeEndRecord record;
    qint64 offset = 0;      // of the end record in the file
    QByteArray comment;     // as stored
    bool spanStart = false; // the file starts with the set's signature and a local header
};

enum class EndSearchMode {
    Strict,
    Quiet
};

// Strict: a missing file raises 11001, a file without end record raises the
// id that tells the user what was given (11036, 11037, 11038, 11045).
// Quiet: not found is an empty result (a missing file reports 11002).
// volumeLabel: the label of the disk holding path (empty on fixed drives).
std::optional<FoundEndRecord> findSpanEndRecord(const QString& path, const QString& volumeLabel,
                                                EndSearchMode mode, ISpanEvents& events);

} // namespace brx

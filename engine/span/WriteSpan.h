#pragma once
// Copies a finished single-file archive onto the volumes of a set, rewriting
// every header's volume number and offset.

#include "engine/span/SpanContext.h"

namespace brx {

// 0 = success; -7 / -8 / -9 = failure, already reported through the engine's
// message path. The volumes written before a failure stay, the last one
// closed and dated.
int WriteSpan(SpanContext& context, const QString& source, const QString& firstVolume);

} // namespace brx

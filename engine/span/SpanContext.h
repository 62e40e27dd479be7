#pragma once
// Everything a multi-volume copy runs with: the platform services, the
// engine's messages and events, its settings and the disk formatter.

#include "engine/span/SpanHost.h"

#include <functional>

namespace brx {

class IVolumes;
class IUserHost;

struct SpanContext {
    IVolumes& volumes;
    IUserHost& host;
    ISpanEvents& events;
    SpanSettings settings;
    DiskFormatFn format; // empty: disks are not formatted
};

// Runs a copy and turns its failure into one report through the engine's
// message path: EZipEngine -> -7, out of memory -> -8 (10103), anything
// else -> -9 (11024 with the error's own text). 0 on success.
int runSpanCopy(ISpanEvents& events, const std::function<void()>& copy);

} // namespace brx

#include "engine/span/WriteSpan.h"

#include "engine/span/SpanWriteJob.h"
#include "engine/base/ScopedGuards.h"

namespace brx {

int WriteSpan(SpanContext& context, const QString& source, const QString& firstVolume) {
    const ScopedBusyCursor busy(context.host);
    SpanWriteJob job(context, source, firstVolume);
    const int result = runSpanCopy(context.events, [&] { job.run(); });
    job.finish();
    return result;
}

} // namespace brx

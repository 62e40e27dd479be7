#include "engine/span/WriteSpan.h"

#include "engine/span/SpanWriteJob.h"
#include "engine/base/UserHost.h"

namespace brx {

int WriteSpan(SpanContext& context, const QString& source, const QString& firstVolume) {
    context.host.setBusy(true);
    SpanWriteJob job(context, source, firstVolume);
    const int result = runSpanCopy(context.events, [&] { job.run(); });
    job.finish();
    context.host.setBusy(false);
    return result;
}

} // namespace brx

#include "engine/span/ReadSpan.h"

#include "engine/span/SpanReadJob.h"
#include "engine/base/ScopedGuards.h"

namespace brx {

int ReadSpan(SpanContext& context, const QString& archiveName, QString& target) {
    const ScopedBusyCursor busy(context.host);
    SpanReadJob job(context, archiveName);
    const int result = runSpanCopy(context.events, [&] { job.run(target); });
    job.finish(result == 0, target);
    return result;
}

} // namespace brx

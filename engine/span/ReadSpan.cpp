#include "engine/span/ReadSpan.h"

#include "engine/span/SpanReadJob.h"
#include "engine/base/UserHost.h"

namespace brx {

int ReadSpan(SpanContext& context, const QString& archiveName, QString& target) {
    context.host.setBusy(true);
    SpanReadJob job(context, archiveName);
    const int result = runSpanCopy(context.events, [&] { job.run(target); });
    job.finish(result == 0, target);
    context.host.setBusy(false);
    return result;
}

} // namespace brx

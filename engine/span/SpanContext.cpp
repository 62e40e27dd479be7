#include "engine/span/SpanContext.h"

#include <new>
#include <stdexcept>

namespace brx {

int runSpanCopy(ISpanEvents& events, const std::function<void()>& copy) {
    try {
        copy();
        return 0;
    } catch (const EZipEngine& e) {
        events.report(e.ResourceId(), e.Message(), e.DisplayMessage());
        return -7;
    } catch (const std::bad_alloc&) {
        events.report(GE_NoMem, formatZipStr(GE_NoMem), true);
        return -8;
    } catch (const std::exception& e) {
        const QString text = formatZipStr(DS_ErrorUnknown) + QString::fromLocal8Bit(e.what());
        events.report(DS_ErrorUnknown, text, true);
        return -9;
    }
}

} // namespace brx

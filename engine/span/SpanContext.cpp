#include "engine/span/SpanContext.h"

#include <new>
#include <stdexcept>

namespace brx {

int runSpanCopy(ISpanEvents& events, const std::function<void()>& copy) {
    try {
        copy();
        return 0;
    } catch (const ESpanError& e) {
        events.report(e.id, events.messageText(e.id, e.args) + e.extra, e.shown);
        return -7;
    } catch (const std::bad_alloc&) {
        events.report(SpanMsg::NoMem, events.messageText(SpanMsg::NoMem), true);
        return -8;
    } catch (const std::exception& e) {
        const QString text =
            events.messageText(SpanMsg::ErrorUnknown) + QString::fromLocal8Bit(e.what());
        events.report(SpanMsg::ErrorUnknown, text, true);
        return -9;
    }
}

} // namespace brx

#pragma once
// The callback every command record carries: it finds the engine from the
// record's caller field and lets it answer. No exception crosses it.

#include <brx/ZipDllAbi.h>

namespace brx {

extern "C" int32_t ZCallback(BrxCallbackRecord* record);

} // namespace brx

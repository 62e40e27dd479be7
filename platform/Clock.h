#pragma once
#include <cstdint>

namespace brx {

// Milliseconds from a monotonic clock, truncated to 32 bits like a tick
// counter: differences stay right across the wrap when taken as uint32_t.
uint32_t tickCount();

} // namespace brx

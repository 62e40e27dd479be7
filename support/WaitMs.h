#pragma once
// A pause that keeps the windows alive.

namespace brx {

// Returns once ms milliseconds have passed, processing pending events at
// least once and then between short sleeps, so the wait costs no CPU.
void WaitMs(double ms);

} // namespace brx

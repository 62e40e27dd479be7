#pragma once
// The two commands of ZIPDLL.DLL. Each returns the number of entries added
// or deleted; failures that leave the archive unchanged throw CommandError.

#include "zipdll/CallbackReporter.h"
#include "zipdll/ZipCommand.h"

#include <cstdint>

namespace zipdll {

int32_t runAdd(const ZipCommand& command, CallbackReporter& reporter);
int32_t runDelete(const ZipCommand& command, CallbackReporter& reporter);

} // namespace zipdll

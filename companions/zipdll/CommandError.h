#pragma once
// A failure that ends the whole command, leaving the archive as it was.

#include <cstdint>
#include <string>

namespace zipdll {

struct CommandError {
    int32_t code;
    std::string text;
};

} // namespace zipdll

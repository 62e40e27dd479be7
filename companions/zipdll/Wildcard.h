#pragma once
// File-name patterns as users of this program write them: "*" any run of
// characters, "?" one character, "*.*" every name (with or without a dot),
// letters compared without regard to case.

#include <string_view>

namespace zipdll {

bool hasWildcard(std::string_view text);
bool matchWildcard(std::string_view pattern, std::string_view name);

} // namespace zipdll

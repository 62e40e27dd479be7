#pragma once
// Which entries a command's file patterns select: "*" and "?"
// wildcards over the whole stored name ("*" also crosses folders), "*.*"
// for everything, "\" and "/" alike. No pattern selects every entry.

#include <string>
#include <string_view>
#include <vector>

namespace unzdll {

class EntryMatcher {
public:
    explicit EntryMatcher(const std::vector<std::string>& specs);

    // Tries each spelling of one entry's name; remembers which specs matched.
    bool matches(const std::vector<std::string>& spellings);
    std::vector<std::string> unmatchedSpecs() const;

private:
    std::vector<std::string> m_specs; // as given, for messages
    std::vector<std::string> m_patterns;
    std::vector<bool> m_used;
};

bool wildcardMatch(std::string_view pattern, std::string_view text);

} // namespace unzdll

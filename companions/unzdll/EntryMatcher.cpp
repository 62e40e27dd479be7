#include "EntryMatcher.h"

#include <algorithm>

namespace unzdll {

namespace {

std::string withSlashes(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

// "*.*" means every file, with or without a dot in its name.
std::string asPattern(const std::string& spec) {
    std::string pattern = withSlashes(spec);
    if (pattern.size() >= 3 && pattern.compare(pattern.size() - 3, 3, "*.*") == 0)
        pattern.erase(pattern.size() - 2);
    return pattern;
}

} // namespace

// Iterative matching with one backtrack point: linear in practice and never
// exponential, whatever the pattern.
bool wildcardMatch(std::string_view pattern, std::string_view text) {
    size_t p = 0, t = 0;
    size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p, ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

EntryMatcher::EntryMatcher(const std::vector<std::string>& specs)
    : m_specs(specs)
    , m_used(specs.size(), false) {
    for (const std::string& spec : specs) m_patterns.push_back(asPattern(spec));
}

bool EntryMatcher::matches(const std::vector<std::string>& spellings) {
    if (m_specs.empty()) return true;
    bool any = false;
    for (size_t i = 0; i < m_patterns.size(); ++i) {
        for (const std::string& name : spellings) {
            if (wildcardMatch(m_patterns[i], withSlashes(name))) {
                m_used[i] = true;
                any = true;
                break;
            }
        }
    }
    return any;
}

std::vector<std::string> EntryMatcher::unmatchedSpecs() const {
    std::vector<std::string> unmatched;
    for (size_t i = 0; i < m_specs.size(); ++i)
        if (!m_used[i]) unmatched.push_back(m_specs[i]);
    return unmatched;
}

} // namespace unzdll

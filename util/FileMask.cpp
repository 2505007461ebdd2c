#include "util/FileMask.h"

namespace {

char FoldCase(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// Iterative wildcard match with single-star backtracking: linear in practice and
// never recursive, so hostile masks cannot exhaust the stack.
bool WildcardMatch(std::string_view name, std::string_view mask)
{
    size_t n = 0, m = 0;
    size_t starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == '?' || FoldCase(mask[m]) == FoldCase(name[n]))) {
            ++m;
            ++n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

bool IsPlainExtension(std::string_view ext)
{
    return ext.size() == 3 && ext.find_first_of("*?.") == std::string_view::npos;
}

} // namespace

bool MatchesMask(std::string_view name, std::string_view mask)
{
    if (mask.empty() || name.empty())
        return false;
    if (WildcardMatch(name, mask))
        return true;
    const size_t maskDot = mask.rfind('.');
    if (maskDot == std::string_view::npos)
        return false;
    const std::string_view maskBase = mask.substr(0, maskDot);
    const std::string_view maskExt = mask.substr(maskDot + 1);
    const size_t nameDot = name.rfind('.');
    // "name.*" also matches a name without any extension.
    if (maskExt == "*" && nameDot == std::string_view::npos)
        return WildcardMatch(name, maskBase);
    if (!IsPlainExtension(maskExt) || nameDot == std::string_view::npos)
        return false;
    const std::string_view nameExt = name.substr(nameDot + 1);
    return nameExt.size() > 3 && WildcardMatch(nameExt.substr(0, 3), maskExt) &&
           WildcardMatch(name.substr(0, nameDot), maskBase);
}

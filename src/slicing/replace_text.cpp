#include "slicing/replace_text.h"

#include <algorithm>

namespace tilemond {
namespace {

char foldCase(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool sameLetters(char a, char b)
{
    return foldCase(a) == foldCase(b);
}

} // namespace

std::string ReplaceText(std::string_view text, std::string_view find, std::string_view replacement)
{
    if (find.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    auto start = text.begin();
    for (;;) {
        const auto pos = std::search(start, text.end(), find.begin(), find.end(), sameLetters);
        result.append(start, pos);
        if (pos == text.end())
            return result;
        result.append(replacement);
        start = pos + find.size();
    }
}

} // namespace tilemond

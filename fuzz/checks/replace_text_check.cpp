#include "fuzz_checks.h"
#include "slicing/replace_text.h"

#include "byte_reader.h"

#include <cctype>
#include <string>

namespace tilemond::fuzz {
namespace {

bool matchesAt(std::string_view text, std::size_t at, std::string_view find)
{
    if (text.size() - at < find.size())
        return false;
    for (std::size_t i = 0; i < find.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) !=
            std::tolower(static_cast<unsigned char>(find[i])))
            return false;
    return true;
}

std::string reference(std::string_view text, std::string_view find, std::string_view replacement)
{
    if (find.empty())
        return std::string(text);
    std::string result;
    for (std::size_t at = 0; at < text.size();) {
        if (matchesAt(text, at, find)) {
            result.append(replacement);
            at += find.size();
        } else {
            result.push_back(text[at++]);
        }
    }
    return result;
}

} // namespace

void checkReplaceText(const std::uint8_t* data, std::size_t size)
{
    ByteReader input(data, size);
    const std::string find = input.text(16);
    const std::string replacement = input.text(16);
    const std::string text = input.rest();
    require(ReplaceText(text, find, replacement) == reference(text, find, replacement),
            "ReplaceText differs from the reference");
}

} // namespace tilemond::fuzz

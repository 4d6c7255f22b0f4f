#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The promises each fuzz target checks on one input. A broken promise prints what broke and
// aborts, so that both the fuzzer and a test run report it.
namespace tilemond::fuzz {

// A page (the input's first part) edited by a sequence of the host's operations (the rest):
// after each one, every byte outside the edited span is kept, the edit put in exactly the
// markup given, and the lookups answer as a fresh parse of the page does.
void checkPageDocument(const std::uint8_t* data, std::size_t size);

// ReplaceText against a plain reference.
void checkReplaceText(const std::uint8_t* data, std::size_t size);

// One picture decoder ("bmp", "jpg", "gif", "png", "wmf", "emf") on the input's bytes: either
// a picture within the size limits, or a named error; never both, never neither.
void checkPicture(std::string_view format, const std::uint8_t* data, std::size_t size);

// The pieces' PNG and JPEG writers on a picture the input describes: the PNG holds every pixel
// and the colour profile, the JPEG the size and the profile.
void checkPieceFiles(const std::uint8_t* data, std::size_t size);

// Aborts with the message when ok is false.
void require(bool ok, const char* what);

} // namespace tilemond::fuzz

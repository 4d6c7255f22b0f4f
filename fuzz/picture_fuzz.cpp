#include "fuzz_checks.h"

// Built once for each decoder; TILEMOND_PICTURE_FORMAT names it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tilemond::fuzz::checkPicture(TILEMOND_PICTURE_FORMAT, data, size);
    return 0;
}

#pragma once

#include "platform/outcome.h"

#include <ostream>

namespace tilemond {

// Lets a failed check on an Outcome show the reason.
template <typename T> void PrintTo(const Outcome<T>& outcome, std::ostream* out)
{
    *out << (outcome ? std::string("done") : "failed: " + outcome.error().toStdString());
}

} // namespace tilemond

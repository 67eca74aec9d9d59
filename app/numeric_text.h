// The digit encoding of the installation files: one six-digit decimal group per character.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/vb_error.h"

namespace qz {

// Decodes one line. A group that names no character is skipped after onBadGroup has been
// told about it (the caller reports it as a failing statement).
std::string decodeNumericText(std::string_view line, const std::function<void(const platform::VbError&)>& onBadGroup);

}  // namespace qz

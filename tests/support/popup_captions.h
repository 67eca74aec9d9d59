#pragma once
// What a popup request offers, as captions.
#include <string>
#include <vector>

#include "forms/host.h"

namespace testsupport {

// Captions of the entries a popup request lists, one level.
inline std::vector<std::string> captionsOf(const std::vector<forms::PopupItem>& items) {
    std::vector<std::string> out;
    for (const auto& it : items) out.push_back(it.caption);
    return out;
}

}  // namespace testsupport

#pragma once
// A desktop whose layouts a test gives in advance; it records every switch asked of it.
#include <string>
#include <vector>

#include "platform/keyboard.h"

namespace testsupport {

struct FakeKeyboardLayouts : platform::KeyboardLayouts {
    std::vector<platform::KeyboardLayout> layouts;
    std::vector<std::string> activated;
    int listings = 0;
    std::vector<platform::KeyboardLayout> list() override {
        ++listings;
        return layouts;
    }
    void activate(const std::string& id) override { activated.push_back(id); }
};

}  // namespace testsupport

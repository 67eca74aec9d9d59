#pragma once
// Keyboard layouts (input methods) the program can list and switch to.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class KeyboardLayouts {
public:
    virtual ~KeyboardLayouts();
    virtual std::vector<std::uint32_t> list() = 0;
    virtual std::string describe(std::uint32_t layout) = 0;
    virtual bool activate(std::uint32_t layout) = 0;
};

// The one layout every desktop has: Simplified Chinese with a US keyboard.
class PlainKeyboardLayouts : public KeyboardLayouts {
public:
    static constexpr std::uint32_t kChineseUs = 0x08040804;
    std::vector<std::uint32_t> list() override;
    std::string describe(std::uint32_t layout) override;  // "" for a layout not offered
    bool activate(std::uint32_t layout) override;         // true for the offered layout only
};

}  // namespace platform

#pragma once
// Keyboard layouts and input methods the desktop offers, listed and switched by text ids.
#include <string>
#include <vector>

namespace platform {

struct KeyboardLayout {
    std::string id;           // names its backend too, so a choice made elsewhere switches nothing
    std::string description;  // empty: a plain keyboard layout, not an input method
};

class KeyboardLayouts {
public:
    virtual ~KeyboardLayouts();
    // The desktop's layouts in its own order.
    virtual std::vector<KeyboardLayout> list() = 0;
    // Sent without waiting for an answer; an unknown id switches nothing.
    virtual void activate(const std::string& id) = 0;
};

// A desktop that offers nothing to switch to.
class NoKeyboardLayouts : public KeyboardLayouts {
public:
    std::vector<KeyboardLayout> list() override { return {}; }
    void activate(const std::string&) override {}
};

}  // namespace platform

#include "platform/keyboard.h"

namespace platform {

KeyboardLayouts::~KeyboardLayouts() = default;

std::vector<std::uint32_t> PlainKeyboardLayouts::list() { return {kChineseUs}; }

std::string PlainKeyboardLayouts::describe(std::uint32_t layout) {
    return layout == kChineseUs ? "中文(简体) - 美式键盘" : "";
}

bool PlainKeyboardLayouts::activate(std::uint32_t layout) { return layout == kChineseUs; }

}  // namespace platform

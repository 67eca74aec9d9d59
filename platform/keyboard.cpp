#include "platform/keyboard.h"

namespace platform {

KeyboardLayouts::~KeyboardLayouts() = default;

}  // namespace platform

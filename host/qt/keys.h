// Qt keys and modifiers in the platform's terms: virtual-key codes, the shift mask, and the
// characters a key press types.
#pragma once

#include <QString>
#include <Qt>
#include <string>

namespace qthost {

// 0 for a key without a virtual-key code.
int virtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers);
int shiftMaskOf(Qt::KeyboardModifiers modifiers);
// What a press of the key types, UTF-8. Control characters are kept: Ctrl+C types "\x03".
std::string typedText(int qtKey, const QString& text);

}  // namespace qthost

// Windows face names mapped onto the installed CJK font, sized in pixels so that metrics do
// not follow the screen's DPI setting.
#pragma once

#include <QFont>
#include <QStringList>

#include "forms/types.h"

namespace qthost {

inline constexpr const char* kCjkFamily = "WenQuanYi Micro Hei";

QFont qtFont(const forms::Font& font);
// The model's point sizes are points at 96 DPI.
int pixelSizeFor(double points);

}  // namespace qthost

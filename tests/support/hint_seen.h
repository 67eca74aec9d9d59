#pragma once
// Whether a hint label is seen whole: inside its window, and clear of every real control there,
// which the window draws over its pictures and labels.
#include <string>

#include "forms/controls.h"
#include "forms/form.h"

namespace testsupport {

inline forms::Rect rectInForm(const forms::Control& c) {
    const forms::Point o = c.originInForm();
    return {o.x, o.y, c.width(), c.height()};
}

inline std::string rectText(const forms::Rect& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.width) + " x " +
           std::to_string(r.height) + ")";
}

// Empty when the hint is seen whole; otherwise what hides it.
inline std::string hintHidden(const forms::Label& hint) {
    const forms::Form& f = hint.form();
    const forms::Rect r = rectInForm(hint);
    const std::string what = "the hint " + rectText(r) + " \"" + hint.caption() + "\"";
    const forms::Size client = f.clientSize();
    if (r.width <= 0 || r.left < 0 || r.top < 0 || r.left + r.width > client.width || r.top + r.height > client.height)
        return what + " leaves the window";
    std::string covered;
    forms::forEachDescendant(f, [&](const forms::Control& c) {
        if (!covered.empty() || !c.windowed() || !c.effectivelyVisible()) return;
        const forms::Rect o = rectInForm(c);
        if (r.left < o.left + o.width && o.left < r.left + r.width && r.top < o.top + o.height && o.top < r.top + r.height)
            covered = what + " lies under " + c.name() + " " + rectText(o);
    });
    return covered;
}

}  // namespace testsupport

// The frame the small dialogs share: borderless, centred when shown, a transparent strip
// across the top that drags the window, and a small close button at the top right.
#pragma once

#include "forms/controls.h"
#include "forms/form.h"
#include "forms/on_error.h"

namespace qz {

class Program;

// Called from the dialog's load once its width is set, so the close button keeps 420 scaled
// twips to the right edge at every scale. Each placement is its own step of `on`.
void placeDialogFrame(Program& p, forms::Form& form, forms::Label& strip, forms::Control& close,
                      forms::OnError& on, double stripWidth = 5580);

// The strip's mouse-down: the left button drags the window, the others do nothing.
void dragByStrip(forms::Form& form, int Button);

}  // namespace qz

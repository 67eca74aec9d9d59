#include "ui/dialog_frame.h"

#include "app/program.h"
#include "forms/types.h"

namespace qz {

void placeDialogFrame(Program& p, forms::Form& form, forms::Label& strip, forms::Control& close,
                      forms::OnError& on, double stripWidth) {
    on([&] { form.setFormBorderStyle(0); });
    on([&] { form.setStartUpPosition(2); });
    on([&] {
        strip.setBackStyle(0);
        strip.setCaption("");
        strip.move(0, 0, p.sx(stripWidth), p.sy(540));
    });
    on([&] { close.move(form.width() - p.sx(420), p.sy(90), p.sx(330), p.sy(330)); });
}

void dragByStrip(forms::Form& form, int Button) {
    if (Button == forms::buttons::Left) form.beginDrag();
}

}  // namespace qz

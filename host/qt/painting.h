// The whole drawing of a form from the model, shared by the windows and the tests.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <vector>

#include "forms/types.h"

namespace forms {
class Form;
}

namespace qthost {

QColor qtColor(forms::Color bgr);

// The form's client area as the model describes it, one image pixel per screen pixel.
QImage renderForm(forms::Form& form);
// The same drawing, with the painter's origin at the client area's top-left corner.
void paintForm(QPainter& painter, forms::Form& form);
// The pictures that drawing draws, roughly in the order it draws them.
std::vector<forms::PicturePtr> picturesPainted(const forms::Form& form);

}  // namespace qthost

#pragma once

#include <QFont>

namespace zelk {

// DejaVu Sans in the sizes that take the place of the fonts the windows were
// designed with: Verdana of a given pixel height, and the 8-point MS Sans Serif of
// dialogs, labels and pictures, which runs narrower than DejaVu Sans of 11 pixels.
inline QFont VerdanaLike(int pixelHeight = 11) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelHeight);
    return font;
}

inline QFont SansSerifLike() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    return font;
}

}  // namespace zelk

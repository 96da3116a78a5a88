#pragma once

#include <QLabel>
#include <QString>

namespace zelk {

// An autosized label at (x, y) with the name the window description gives it.
inline QLabel* MakeLabel(const QString& text, int x, int y, QWidget* parent, const char* name) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

}  // namespace zelk

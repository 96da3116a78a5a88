#pragma once

#include <QColor>
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QString>

namespace zelk {

// The background of the process-id field and of the About box.
inline const QColor kSkyBlue(166, 202, 240);

// An autosized label at (x, y) with the name the window description gives it.
inline QLabel* MakeLabel(const QString& text, int x, int y, QWidget* parent, const char* name) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

// A push button at `place` with the name the window description gives it. An
// auto-default button of a dialog takes Enter while it has the focus; turned off,
// Enter goes to the dialog's default button whatever has the focus.
inline QPushButton* MakeButton(const QString& text, const QRect& place, QWidget* parent, const char* name,
                               bool autoDefault = true) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    button->setAutoDefault(autoDefault);
    return button;
}

}  // namespace zelk

#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "data/CodePages.h"

namespace zelk {

// Single-byte Windows-1252 text of the core as a QString.
inline QString AnsiText(std::string_view text) { return QString::fromStdString(AnsiToUtf8(text)); }

// Text typed into a widget back to single-byte text; characters outside Latin-1 become "?".
inline std::string ToAnsi(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace zelk

#pragma once

#include <string>

#include "components/NumberText.h"

namespace zelk {

enum class Alignment { LeftJustify = 0, RightJustify = 1, Center = 2 };

// The state of a numeric edit: its text and the settings SetValue writes with.
// A new Digits, Precision or Format shows only at the next SetValue.
struct NumericEdit {
    std::string text;
    int digits = 2;
    int precision = 6;
    FloatFormat format = FloatFormat::Fixed;
    Alignment alignment = Alignment::LeftJustify;

    void SetValue(long double value, char decimalSeparator) {
        text = FloatToStrF(value, format, precision, digits, decimalSeparator);
    }
};

}  // namespace zelk

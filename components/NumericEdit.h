#pragma once

#include <string>

#include "components/NumberText.h"

namespace zelk {

enum class Alignment { LeftJustify = 0, RightJustify = 1, Center = 2 };

// The state of a numeric edit: its text and the settings SetValue writes with.
// A new Digits, Precision or Format shows only at the next SetValue.
struct NumericEdit {
    std::string Text;
    int Digits = 2;
    int Precision = 6;
    FloatFormat Format = FloatFormat::Fixed;
    zelk::Alignment Alignment = zelk::Alignment::LeftJustify;

    void SetValue(long double value, char decimalSeparator) {
        Text = FloatToStrF(value, Format, Precision, Digits, decimalSeparator);
    }
};

}  // namespace zelk

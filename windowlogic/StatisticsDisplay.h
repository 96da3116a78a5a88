#pragma once

#include "windowlogic/MainState.h"

namespace zelk {

// Mean and standard deviation in the display unit, the decimals of the three result
// fields and the unit label.
void ShowStatistics(MainState& state);

// English mode: the decimal separator of the result fields and table values.
void EditsToPoint(MainState& state);
void EditsToComma(MainState& state);
void GridToPoint(MainState& state);

}  // namespace zelk

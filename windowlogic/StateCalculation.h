#pragma once

#include "calc/Calculation.h"
#include "data/Hooks.h"
#include "windowlogic/MainState.h"

namespace zelk {

// The calculation on the main window's fields: it reads the series, the options,
// the units and the header texts of `state` and writes its results table and
// excursion index; in English mode the shown decimal points become commas before
// it and points again after it.
ResultsCalculation CalculationOn(MainState& state, const WindowHooks& hooks);

}  // namespace zelk

#pragma once

#include "windowlogic/MainState.h"

namespace zelk {

// The grid menu's items: each sets the grid width X_Raster together with the check
// marks and the wide view's item that go with it. The caller erases the curve before
// and lays the window out after.

// "15 min": the 15-minute grid; the wide view's item is disabled.
void ChooseFifteenMinuteGrid(MainState& state);

// "5 min": the 5-minute grid, or the wide view when its item is checked.
void ChooseFiveMinuteGrid(MainState& state);

// "Breitbild": the wide view's check mark switched, and the 5-minute width with it.
void ToggleWideView(MainState& state);

}  // namespace zelk

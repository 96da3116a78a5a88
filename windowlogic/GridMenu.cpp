#include "windowlogic/GridMenu.h"

namespace zelk {
namespace {

int FiveMinuteRaster(const MainState& state) { return state.Breitbild1 ? kWideRaster : kRaster5; }

}  // namespace

void ChooseFifteenMinuteGrid(MainState& state) {
    state.N5minRaster1 = false;
    state.N15minRaster1 = true;
    state.Breitbild1Enabled = false;
    state.X_Raster = kRaster15;
}

void ChooseFiveMinuteGrid(MainState& state) {
    state.N5minRaster1 = true;
    state.N15minRaster1 = false;
    state.X_Raster = FiveMinuteRaster(state);
}

void ToggleWideView(MainState& state) {
    state.Breitbild1 = !state.Breitbild1;
    state.X_Raster = FiveMinuteRaster(state);
}

}  // namespace zelk

#include "windowlogic/MainState.h"

namespace zelk {

void DayDialogState::SetRasterText(const std::string& text) {
    cb_RasterText = text;
    cb_RasterIndex = -1;
    for (size_t i = 0; i < kRasterItems.size(); ++i)
        if (kRasterItems[i] == text) cb_RasterIndex = static_cast<int>(i);
}

}  // namespace zelk

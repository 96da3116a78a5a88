#include "windowlogic/MainCoreBatchRoad.h"

namespace zelk {

void MainCoreBatchRoad::SetStatusText(const std::string& text) {
    if (core_.Hooks().setStatusText) core_.Hooks().setStatusText(text);
}

void MainCoreBatchRoad::ResetProgress() {
    if (core_.Hooks().resetProgress) core_.Hooks().resetProgress();
}

std::string MainCoreBatchRoad::Calculate() {
    core_.Button1Click();
    return core_.State().ce_ZELK.Text;
}

}  // namespace zelk

#pragma once

#include <string>
#include <vector>

#include "calc/Batch.h"
#include "windowlogic/MainCore.h"

namespace zelk {

// The batch's road through the main window's logic: its reader, minute grid and
// calculation on its fields, with its status, progress and event hooks.
class MainCoreBatchRoad final : public BatchRoad {
public:
    explicit MainCoreBatchRoad(MainCore& core) : core_(core) {}

    BatchState& Batch() override { return core_.State().batch; }
    void ProcessEvents() override { core_.Hooks().ProcessEvents(); }
    void SetStatusText(const std::string& text) override;
    void ResetProgress() override;

    void ClearResults() override { core_.ClearResults(); }
    SensorFileRead ReadSensorFile(const std::string& path) override {
        return core_.ReadSensorFile(path, OtherFiles::PassOver);
    }
    const std::vector<std::string>& Days() const override { return core_.State().f_Sensor.lb_Sensor; }
    void SelectDay(const std::string& day) override { core_.State().f_Sensor.SelectedDate = day; }
    void BuildMinuteGrid() override { core_.BuildMinuteGrid(); }
    void SetStartValue(bool checked) override { core_.State().cb_Startwert = checked; }
    void SetEndValue(bool checked) override { core_.State().cb_Endwert = checked; }
    std::string Calculate() override;

private:
    MainCore& core_;
};

}  // namespace zelk

// Fuzzes the whole road without a window: a sensor file is imported, every listed
// step (and a typed one) builds the grid of a listed day, and the four calculations
// run on it. Nothing may crash or hang; libFuzzer's -timeout bounds each input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "data/Errors.h"
#include "data/Locale.h"
#include "tests/common/ScratchFolder.h"
#include "windowlogic/MainCore.h"

namespace {

using zelk::fuzz::Check;
using zelk::test::ScratchFolder;

struct Step {
    std::string text;
    int index;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFolder scratch("zelk_fuzz");
    if (size < 2) return 0;
    // The first byte picks the language and the day, the second a typed step.
    const std::uint8_t choice = data[0];
    const std::string typed = std::to_string(1 + data[1] * 17);
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);

    zelk::MainCore core(zelk::LocaleInfo::FromId(choice & 1 ? zelk::kLocaleUsEnglish : zelk::kLocaleGerman));
    zelk::MainState& s = core.State();
    core.Hooks().showMessage = [](const std::string&) {};
    const std::string language = choice & 2 ? "en" : "de";
    s.de1 = language == "de";
    s.en1 = language == "en";
    core.StartUp(language);
    core.ReadSensorFile(scratch.Write("input.txt", bytes));
    const auto& days = s.f_Sensor.lb_Sensor;
    if (days.empty()) return 0;
    s.f_Sensor.SelectedDate = days[(choice >> 2) % days.size()];

    const Step steps[] = {{"5", 0}, {"15", 1}, {"30", 2}, {"60", 3}, {"360", 4}, {typed, -1}};
    for (const Step& step : steps) {
        s.f_Sensor.SetRasterText(step.text);
        s.f_Sensor.cb_RasterIndex = step.index;
        try {
            core.BuildMinuteGrid();
        } catch (const zelk::ZelkError&) {
            continue;  // a date or clock text that does not read stops the build
        }
        Check(s.GridStep == std::stoi(step.text));
        for (const bool start : {true, false}) {
            for (const bool end : {true, false}) {
                s.cb_Startwert = start;
                s.cb_Endwert = end;
                try {
                    core.Button1Click();
                } catch (const zelk::ZelkError&) {
                }
            }
        }
    }
    return 0;
}

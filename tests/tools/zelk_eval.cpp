// Runs the program's road from a sensor file without a window and prints what the
// window would show, one record a line, fields separated by TAB.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "calc/Batch.h"
#include "data/CodePages.h"
#include "data/Errors.h"
#include "data/FileHandle.h"
#include "data/TextNumber.h"
#include "windowlogic/MainCore.h"
#include "windowlogic/MainCoreBatchRoad.h"

namespace {

struct Options {
    std::string lang = "de";
    std::optional<int> locale;
    char decimal = 0;
    int importUnit = 0;
    int displayUnit = 0;
    std::string step = "5";
    std::optional<int> stepIndex;
    bool fiveMinute = false;
    std::optional<std::string> day;
    std::optional<std::string> batchDir;
    std::string file;
};

[[noreturn]] void Usage(const std::string& problem) {
    std::cerr << "zelk_eval: " << problem << "\n"
              << "usage: zelk_eval [--lang de|en] [--locale ID] [--decimal ,|.] [--import 0|1] [--display 0|1]\n"
              << "                 [--step TEXT] [--step-index N] [--five-minute] [--day TEXT] FILE\n"
              << "       zelk_eval [options] --batch DIR\n";
    std::exit(64);
}

int IntArg(const std::string& name, const std::string& value) {
    const auto parsed = zelk::TextToInt(value);
    if (!parsed) Usage(name + " needs a whole number, not '" + value + "'");
    return *parsed;
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto next = [&]() -> std::string {
            if (i + 1 >= argc) Usage(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--lang") {
            o.lang = next();
            if (o.lang != "de" && o.lang != "en") Usage("--lang takes de or en");
        } else if (arg == "--locale") {
            o.locale = IntArg(arg, next());
        } else if (arg == "--decimal") {
            const std::string v = next();
            if (v != "," && v != ".") Usage("--decimal takes , or .");
            o.decimal = v[0];
        } else if (arg == "--import") {
            o.importUnit = IntArg(arg, next());
        } else if (arg == "--display") {
            o.displayUnit = IntArg(arg, next());
        } else if (arg == "--step") {
            o.step = next();
        } else if (arg == "--step-index") {
            o.stepIndex = IntArg(arg, next());
        } else if (arg == "--five-minute") {
            o.fiveMinute = true;
        } else if (arg == "--day") {
            o.day = next();
        } else if (arg == "--batch") {
            o.batchDir = next();
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            Usage("unknown option " + arg);
        } else if (o.file.empty()) {
            o.file = arg;
        } else {
            Usage("more than one file given");
        }
    }
    if (!o.batchDir && o.file.empty()) Usage("no file given");
    return o;
}

std::string Ansi(const std::string& text) { return zelk::AnsiToUtf8(text); }

void Line(const std::vector<std::string>& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += '\t';
        out += fields[i];
    }
    std::cout << out << '\n';
}

std::string Float9(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
    return buffer;
}

void PrintRows(const zelk::MainState& s) {
    const zelk::StringGrid& grid = s.csg_Berechnung;
    for (int r = 0; r < grid.RowCount(); ++r) {
        std::vector<std::string> fields = {"ROW", std::to_string(r)};
        for (int c = 0; c < grid.ColCount(); ++c) fields.push_back(zelk::GreekToUtf8(grid.Cell(c, r)));
        Line(fields);
    }
}

// The batch on a folder: status texts and messages as they happen; 2 when it did
// not run to its end.
int RunBatch(zelk::MainCore& core, const std::string& dir) {
    if (dir.empty()) Usage("--batch needs a folder");
    const std::string folder = std::filesystem::absolute(dir).lexically_normal().string();
    core.Hooks().showMessage = [](const std::string& text) { Line({"MESSAGE", Ansi(text)}); };
    core.Hooks().setStatusText = [](const std::string& text) { Line({"STATUS", Ansi(text)}); };
    zelk::MainCoreBatchRoad road(core);
    const zelk::BatchOutcome outcome = zelk::BatchEvaluation(road).Run(folder);
    if (outcome.end == zelk::BatchEnd::Finished) return 0;
    Line({"ERROR", Ansi(outcome.error)});
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    zelk::IgnoreFileSizeSignal();
    const Options o = Parse(argc, argv);
    const int localeId = o.locale.value_or(o.decimal == '.' ? zelk::kLocaleUsEnglish : zelk::kLocaleGerman);
    zelk::MainCore core(zelk::LocaleInfo::FromId(localeId, o.decimal));
    zelk::MainState& s = core.State();

    std::vector<std::string> messages;
    core.Hooks().showMessage = [&messages](const std::string& text) { messages.push_back(text); };

    // Settings the window would have loaded.
    s.rg_Import = o.importUnit;
    s.rg_Anzeige = o.displayUnit;
    if (o.fiveMinute) {
        s.N5minRaster1 = true;
        s.N15minRaster1 = false;
        s.X_Raster = 3;
    }
    s.de1 = o.lang == "de";
    s.en1 = o.lang == "en";
    s.f_Sensor.SetRasterText(o.step);
    if (o.stepIndex) s.f_Sensor.cb_RasterIndex = *o.stepIndex;
    core.StartUp(o.lang);

    if (o.batchDir) return RunBatch(core, *o.batchDir);

    core.ReadSensorFile(o.file);
    // The reader rejects a file that is not a sensor export with the wrong-file message.
    bool rejected = false;
    for (const auto& m : messages) rejected = rejected || m == s.texts.WrongFileText;
    Line({"PID", Ansi(s.ce_PID.Text)});
    std::vector<std::string> days = {"DAYS", std::to_string(s.f_Sensor.lb_Sensor.size())};
    for (const auto& d : s.f_Sensor.lb_Sensor) days.push_back(Ansi(d));
    Line(days);
    const auto flushMessages = [&messages] {
        for (const auto& m : messages) Line({"MESSAGE", Ansi(m)});
        messages.clear();
    };
    flushMessages();
    if (rejected) {
        Line({"ERROR", Ansi(s.texts.WrongFileText)});
        return 2;
    }

    if (o.day) {
        s.f_Sensor.SelectedDate = *o.day;
    } else if (!s.f_Sensor.lb_Sensor.empty()) {
        s.f_Sensor.SelectedDate = s.f_Sensor.lb_Sensor.front();
    } else {
        Line({"ERROR", "no day listed"});
        return 2;
    }
    Line({"DAY", Ansi(s.f_Sensor.SelectedDate)});

    try {
        core.BuildMinuteGrid();
    } catch (const std::exception& e) {
        flushMessages();
        Line({"ERROR", Ansi(e.what())});
        return 2;
    }
    flushMessages();
    Line({"STARTHOUR", std::to_string(s.StartHour)});
    Line({"SERIES", std::to_string(s.series.HighIndex), Float9(s.series.MeanGlucose), Float9(s.series.SdGlucose)});
    Line({"MEAN", Ansi(s.ce_Mittelwert.Text)});
    Line({"SD", Ansi(s.ce_StdAbw.Text)});

    struct Combination {
        const char* name;
        bool start;
        bool end;
    };
    static constexpr Combination kOrder[] = {
        {"S+E+", true, true}, {"S-E+", false, true}, {"S-E-", false, false}, {"S+E-", true, false}};
    for (const auto& c : kOrder) {
        s.cb_Startwert = c.start;
        s.cb_Endwert = c.end;
        try {
            core.Button1Click();
        } catch (const std::exception& e) {
            flushMessages();
            Line({"ERROR", Ansi(e.what())});
            return 2;
        }
        flushMessages();
        Line({"CALC", c.name});
        PrintRows(s);
        Line({"ZELK", Ansi(s.ce_ZELK.Text)});
    }
    return 0;
}

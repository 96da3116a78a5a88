// Sensor files run through zelk_eval, compared line by line with the output
// expected for them (tests/data/calc_*.expected).
#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "data/TextNumber.h"

namespace {

struct EvalRun {
    std::vector<std::string> lines;
    int exitCode = -1;
};

std::string DataPath(const std::string& name) { return std::string(ZELK_TEST_DATA_DIR) + "/" + name; }

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

EvalRun EvaluatePath(const std::string& options, const std::string& path) {
    const std::string command = std::string("'") + ZELK_EVAL_PATH + "' " + options + " '" + path + "' 2>&1";
    EvalRun run;
    run.lines = SplitLines(zelk::test::RunCommand(command, run.exitCode));
    return run;
}

EvalRun Evaluate(const std::string& options, const std::string& file) { return EvaluatePath(options, DataPath(file)); }

std::vector<std::string> Expected(const std::string& name) {
    return SplitLines(zelk::test::ReadFileBytes(DataPath(name)));
}

void ExpectSameLines(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
    for (size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        const std::string a = i < actual.size() ? actual[i] : "<missing>";
        const std::string e = i < expected.size() ? expected[i] : "<missing>";
        EXPECT_EQ(a, e) << "line " << i + 1;
    }
}

struct Case {
    const char* name;
    const char* options;
    const char* file;
    const char* expected;
    int exitCode;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ZelkEvalFiles : public ::testing::TestWithParam<Case> {};

TEST_P(ZelkEvalFiles, PrintsTheExpectedRecords) {
    const Case& c = GetParam();
    const EvalRun run = Evaluate(c.options, c.file);
    EXPECT_EQ(run.exitCode, c.exitCode);
    ExpectSameLines(run.lines, Expected(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Calculation, ZelkEvalFiles,
    ::testing::Values(
        Case{"WorkedDay", "", "calc_worked_day.txt", "calc_worked_day.expected", 0},
        Case{"WorkedDayShownInMgPerDl", "--display 1", "calc_worked_day.txt", "calc_worked_day_display_mgdl.expected",
             0},
        Case{"EnglishModeOnACommaLocale", "--lang en --locale 1031 --decimal , --import 1", "calc_worked_day_mgdl.txt",
             "calc_worked_day_mgdl_english.expected", 0},
        Case{"FiveMinutePoints", "--five-minute --step 5", "calc_five_minute.txt", "calc_five_minute.expected", 0},
        Case{"ImportErrorKeepsTheRowsBefore", "", "calc_import_error.txt", "calc_import_error.expected", 0},
        Case{"WrongFile", "", "calc_wrong_file.txt", "calc_wrong_file.expected", 2},
        Case{"WrongFileWithAChosenDay", "--day 14-Jun-09", "calc_wrong_file.txt", "calc_wrong_file.expected", 2}),
    [](const ::testing::TestParamInfo<Case>& testInfo) { return std::string(testInfo.param.name); });

TEST(ZelkEval, StepOtherThanFiveGivesFifteenMinutePoints) {
    const EvalRun run = Evaluate("--five-minute --step 15", "calc_five_minute.txt");
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_GE(run.lines.size(), 5u);
    EXPECT_EQ(run.lines[3], "STARTHOUR\t23");
    // The 5-minute menu with the step "15" builds 288 points.
    EXPECT_EQ(run.lines[4].substr(0, 11), "SERIES\t287\t");
}

TEST(ZelkEval, TypedStepAndStepItem) {
    // A typed "05" is the step 5 but not the item "5": 15-minute points.
    const EvalRun typed = Evaluate("--five-minute --step 05", "calc_five_minute.txt");
    ASSERT_EQ(typed.exitCode, 0);
    ASSERT_GE(typed.lines.size(), 5u);
    EXPECT_EQ(typed.lines[4].substr(0, 11), "SERIES\t287\t");
    // The item "5" chosen with another text: 5-minute points.
    const EvalRun item = Evaluate("--five-minute --step 15 --step-index 0", "calc_five_minute.txt");
    ASSERT_EQ(item.exitCode, 0);
    ASSERT_GE(item.lines.size(), 5u);
    EXPECT_EQ(item.lines[4].substr(0, 11), "SERIES\t863\t");
}

TEST(ZelkEval, DecimalPointWithoutALocaleIsTheUsLocale) {
    // The worked day written with points reads and shows as the comma version does with commas.
    std::vector<std::string> lines = Expected("calc_worked_day.txt");
    std::string text;
    for (std::string& line : lines) text += zelk::ReplaceChar(line, ',', '.') + "\n";
    const zelk::test::ScratchFile file(text);
    const EvalRun run = EvaluatePath("--decimal .", file.Path());
    EXPECT_EQ(run.exitCode, 0);
    std::vector<std::string> expected = Expected("calc_worked_day.expected");
    for (std::string& line : expected) line = zelk::ReplaceChar(line, ',', '.');
    ExpectSameLines(run.lines, expected);

    // The comma file then reads no value.
    const EvalRun commas = Evaluate("--decimal .", "calc_worked_day.txt");
    ASSERT_GE(commas.lines.size(), 6u);
    EXPECT_EQ(commas.lines[4], "SERIES\t287\t0\t0");
    EXPECT_EQ(commas.lines[5], "MEAN\t0.00");
}

TEST(ZelkEval, GridBuildThatRaisesEndsWithTheError) {
    const zelk::test::ScratchFile file(
        "ICode_RAISE\r\nIndex\tDate\tTime\tSample\tSensor Value\r\n"
        "1\t3x-Jun-09\t08:00\t6,0\r\n2\t3x-Jun-09\t08:15\t7,0\r\n");
    const EvalRun run = EvaluatePath("", file.Path());
    EXPECT_EQ(run.exitCode, 2);
    ExpectSameLines(run.lines, {"PID\tRAISE", "DAYS\t1\t3x-Jun-09", "DAY\t3x-Jun-09",
                                "ERROR\t'3x' is not a valid integer value (day of '3x-jun-09')"});
}

TEST(ZelkEval, FileThatCannotBeReadListsNoDay) {
    const EvalRun run = Evaluate("", "calc_no_such_file.txt");
    EXPECT_EQ(run.exitCode, 2);
    ASSERT_EQ(run.lines.size(), 4u);
    EXPECT_EQ(run.lines[1], "DAYS\t0");
    EXPECT_EQ(run.lines[2], "MESSAGE\tFehler beim Import der Sensordaten!   ");
    EXPECT_EQ(run.lines[3].substr(0, 6), "ERROR\t");
}

}  // namespace

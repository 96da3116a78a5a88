#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "data/Hooks.h"

namespace zelk {
namespace {

TEST(EventPump, WithoutAnIntervalEverySixteenthCallRunsTheHook) {
    int runs = 0;
    std::vector<int> runAtCall;
    const WindowHooks hooks{nullptr, [&runs] { ++runs; }};
    EventPump pump(hooks, std::chrono::milliseconds(0));
    for (int call = 1; call <= 64; ++call) {
        pump.Run();
        if (runs > static_cast<int>(runAtCall.size())) runAtCall.push_back(call);
    }
    EXPECT_EQ(runAtCall, (std::vector<int>{16, 32, 48, 64}));
}

TEST(EventPump, WithoutAHookNothingRuns) {
    const WindowHooks hooks;
    EventPump pump(hooks, std::chrono::milliseconds(0));
    for (int call = 0; call < 40; ++call) pump.Run();  // no hook to call: nothing happens
    std::vector<std::string> shown;
    const WindowHooks messagesOnly{[&shown](const std::string& text) { shown.push_back(text); }, nullptr};
    messagesOnly.ProcessEvents();
    messagesOnly.ShowMessage("x");
    EXPECT_EQ(shown, std::vector<std::string>{"x"});
}

}  // namespace
}  // namespace zelk

#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace zelk {

// What the core asks of the window: a message box with one OK button that returns
// when the user has answered it, and a run of the pending window messages.
struct WindowHooks {
    std::function<void(const std::string&)> showMessage;
    std::function<void()> processEvents;

    void ShowMessage(const std::string& text) const {
        if (showMessage) showMessage(text);
    }
    void ProcessEvents() const {
        if (processEvents) processEvents();
    }
};

// Lets pending messages run at most once per interval (looking at the clock every
// 16th call); long loops call it after every step, and it only keeps the window
// responsive.
class EventPump {
public:
    explicit EventPump(const WindowHooks& hooks, std::chrono::milliseconds interval = std::chrono::milliseconds(15))
        : hooks_(hooks), interval_(interval), last_(std::chrono::steady_clock::now()) {}

    void Run() {
        if (!hooks_.processEvents || (++calls_ & 15) != 0) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < interval_) return;
        last_ = now;
        hooks_.processEvents();
    }

private:
    const WindowHooks& hooks_;
    std::chrono::milliseconds interval_;
    std::chrono::steady_clock::time_point last_;
    unsigned calls_ = 0;
};

}  // namespace zelk

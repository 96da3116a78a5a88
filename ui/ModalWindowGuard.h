#pragma once

#include <QObject>

namespace zelk {

// Keeps every modal window in sight, dialogs, file dialogs and message boxes alike: a
// minimised modal window would leave the windows it blocks with nothing to answer.
// Before each showing the window manager is asked for a frame that offers what the
// window offers (moving, and closing, resizing and maximising where it has them) but
// no minimising; a manager that minimises it all the same gets it shown again at once.
// Watches the whole application from its construction until it goes.
class ModalWindowGuard : public QObject {
public:
    ModalWindowGuard();
    ~ModalWindowGuard() override;
    ModalWindowGuard(const ModalWindowGuard&) = delete;
    ModalWindowGuard& operator=(const ModalWindowGuard&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace zelk

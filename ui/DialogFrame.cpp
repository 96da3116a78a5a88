#include "ui/DialogFrame.h"

#include <xcb/xcb.h>

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace zelk {
namespace {

// The Motif window manager hints, as X11 window managers read them.
struct MotifHints {
    std::uint32_t flags;
    std::uint32_t functions;
    std::uint32_t decorations;
    std::int32_t inputMode;
    std::uint32_t status;
};
constexpr std::uint32_t kHintFunctions = 1;
constexpr std::uint32_t kHintDecorations = 2;
constexpr std::uint32_t kFunctionMove = 4;
constexpr std::uint32_t kFunctionClose = 32;
constexpr std::uint32_t kDecorBorder = 2;
constexpr std::uint32_t kDecorTitle = 8;

// Sets the hints on the native window, before it is mapped; only X11 takes them.
void OfferNoMinimise(QWidget& dialog) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return;
    xcb_connection_t* c = x11->connection();
    constexpr const char* kName = "_MOTIF_WM_HINTS";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(kName)), kName), nullptr),
        &std::free);
    if (!atom) return;
    // Qt leaves all functions to the manager when a dialog has no title-bar button at all.
    const bool closeBox = dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint);
    const MotifHints hints{kHintFunctions | kHintDecorations, kFunctionMove | (closeBox ? kFunctionClose : 0),
                           kDecorBorder | kDecorTitle, 0, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(dialog.winId()), atom->atom, atom->atom, 32,
                        sizeof hints / 4, &hints);
    xcb_flush(c);
}

class ModalDialogGuard : public QObject {
public:
    explicit ModalDialogGuard(QDialog& dialog) : QObject(&dialog), dialog_(dialog) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &dialog_) {
            if (event->type() == QEvent::Show) {
                OfferNoMinimise(dialog_);
            } else if (event->type() == QEvent::WindowStateChange && dialog_.isMinimized()) {
                QTimer::singleShot(0, &dialog_, [dialog = &dialog_] {
                    if (!dialog->isVisible() || !dialog->isMinimized()) return;
                    dialog->showNormal();
                    dialog->raise();
                    dialog->activateWindow();
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QDialog& dialog_;
};

}  // namespace

void KeepModalDialogInSight(QDialog& dialog) { dialog.installEventFilter(new ModalDialogGuard(dialog)); }

}  // namespace zelk

#include "ui/ModalWindowGuard.h"

#include <xcb/xcb.h>

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
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
constexpr std::uint32_t kFunctionResize = 2;
constexpr std::uint32_t kFunctionMove = 4;
constexpr std::uint32_t kFunctionMaximise = 16;
constexpr std::uint32_t kFunctionClose = 32;
constexpr std::uint32_t kDecorBorder = 2;
constexpr std::uint32_t kDecorResizeHandle = 4;
constexpr std::uint32_t kDecorTitle = 8;
constexpr std::uint32_t kDecorMaximise = 64;

// Whether the user may change the window's size. A message box fixes its size only once
// it shows, after the guard has seen it; Qt gives it the fixed-size hint beforehand.
bool Resizable(const QWidget& window) {
    return !window.windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint) &&
           window.minimumSize() != window.maximumSize();
}

// Everything the window offers but minimising.
MotifHints HintsWithoutMinimise(const QWidget& window) {
    const Qt::WindowFlags flags = window.windowFlags();
    MotifHints hints{kHintFunctions | kHintDecorations, kFunctionMove, kDecorBorder | kDecorTitle, 0, 0};
    // Qt leaves all functions to the manager when a window has no title-bar button at all.
    if (flags.testFlag(Qt::WindowCloseButtonHint)) hints.functions |= kFunctionClose;
    if (Resizable(window)) {
        hints.functions |= kFunctionResize;
        hints.decorations |= kDecorResizeHandle;
    }
    if (flags.testFlag(Qt::WindowMaximizeButtonHint)) {
        hints.functions |= kFunctionMaximise;
        hints.decorations |= kDecorMaximise;
    }
    return hints;
}

// Sets the hints on the native window, before it is mapped; only X11 takes them.
void OfferNoMinimise(QWidget& window) {
    // A widget that a platform dialog stands in for is never mapped.
    if (window.testAttribute(Qt::WA_DontShowOnScreen)) return;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return;
    xcb_connection_t* c = x11->connection();
    constexpr const char* kName = "_MOTIF_WM_HINTS";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(kName)), kName), nullptr),
        &std::free);
    if (!atom) return;
    const MotifHints hints = HintsWithoutMinimise(window);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()), atom->atom, atom->atom, 32,
                        sizeof hints / 4, &hints);
    xcb_flush(c);
}

// Shows the window again, maximised if it was, once the manager is done minimising it;
// the window's own timer goes with the window.
void ShowAgainSoon(QWidget& window) {
    QTimer::singleShot(0, &window, [w = &window] {
        if (!w->isVisible() || !w->isMinimized()) return;
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->raise();
        w->activateWindow();
    });
}

}  // namespace

ModalWindowGuard::ModalWindowGuard() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

ModalWindowGuard::~ModalWindowGuard() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool ModalWindowGuard::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::WindowStateChange) && watched->isWidgetType()) {
        auto& window = *static_cast<QWidget*>(watched);
        if (window.isWindow() && window.windowModality() != Qt::NonModal) {
            if (type == QEvent::Show)
                OfferNoMinimise(window);
            else if (window.isMinimized())
                ShowAgainSoon(window);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace zelk

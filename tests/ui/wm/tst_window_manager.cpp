// What only a real window manager shows: the main window's place over start/close
// cycles, and the buttons the manager offers on the modal windows. The test starts
// its own X server (Xvfb) and window manager (openbox).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "ui/dialogs/About.h"
#include "ui/dialogs/u_Sensor.h"
#include "ui/dialogs/u_prefs.h"
#include "ui/u_main.h"
#include "windowlogic/IniFile.h"

extern char** environ;

using namespace zelk;

namespace {

pid_t Spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    return ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

// An X server on a free display with openbox on it, stopped when this goes.
class Screen {
public:
    bool Start(const QString& folder) {
        int fds[2];
        if (::pipe(fds) != 0) return false;
        server_ =
            Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        ::close(fds[1]);
        char number[16] = {};
        pollfd wait{fds[0], POLLIN, 0};
        const bool told = server_ > 0 && ::poll(&wait, 1, 20000) == 1 && ::read(fds[0], number, 15) > 0;
        ::close(fds[0]);
        if (!told) return false;
        ::setenv("DISPLAY", (":" + std::to_string(std::atoi(number))).c_str(), 1);

        const QString ready = QDir(folder).filePath(QStringLiteral("wm-ready"));
        manager_ = Spawn({"openbox", "--startup", "touch " + ready.toStdString()});
        for (int i = 0; i < 200 && !QFile::exists(ready); ++i) ::usleep(50000);
        return manager_ > 0 && QFile::exists(ready);
    }
    ~Screen() {
        for (const pid_t pid : {manager_, server_}) {
            if (pid <= 0) continue;
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
    }

private:
    pid_t server_ = -1;
    pid_t manager_ = -1;
};

// A property the window manager set on a window, as 32-bit values; with `names`,
// atoms are turned into their names.
class XProperty {
public:
    XProperty() : c_(xcb_connect(nullptr, nullptr)) {}
    ~XProperty() { xcb_disconnect(c_); }
    XProperty(const XProperty&) = delete;
    XProperty& operator=(const XProperty&) = delete;

    std::vector<uint32_t> Values(WId window, const char* name, xcb_atom_t type) {
        std::vector<uint32_t> values;
        if (xcb_connection_has_error(c_)) return values;
        const xcb_atom_t atom = Atom(name);
        if (atom == XCB_ATOM_NONE) return values;
        const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(c_, xcb_get_property(c_, 0, static_cast<xcb_window_t>(window), atom, type, 0, 64),
                                   nullptr),
            &std::free);
        if (!reply) return values;
        const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
        values.assign(data, data + xcb_get_property_value_length(reply.get()) / 4);
        return values;
    }

    std::vector<std::string> AtomNames(WId window, const char* name) {
        std::vector<std::string> names;
        for (const uint32_t atom : Values(window, name, XCB_ATOM_ATOM)) {
            const std::unique_ptr<xcb_get_atom_name_reply_t, decltype(&std::free)> reply(
                xcb_get_atom_name_reply(c_, xcb_get_atom_name(c_, atom), nullptr), &std::free);
            if (reply)
                names.emplace_back(xcb_get_atom_name_name(reply.get()), xcb_get_atom_name_name_length(reply.get()));
        }
        return names;
    }

    // Asks the window manager to minimise the window, as a pager or a title-bar button would.
    void Iconify(WId window) { SendToManager(window, "WM_CHANGE_STATE", {3}); }  // 3: IconicState

    // Asks the window manager to maximise the window, as a double click on its title bar would.
    void Maximise(WId window) {
        SendToManager(window, "_NET_WM_STATE",
                      {1, Atom("_NET_WM_STATE_MAXIMIZED_VERT"), Atom("_NET_WM_STATE_MAXIMIZED_HORZ"), 2});
    }

private:
    xcb_atom_t Atom(const char* name) {
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    // A request to the window manager about the window, sent as the EWMH and ICCCM ask.
    void SendToManager(WId window, const char* type, std::initializer_list<uint32_t> data) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = static_cast<xcb_window_t>(window);
        message.type = Atom(type);
        std::copy(data.begin(), data.end(), message.data.data32);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        xcb_send_event(c_, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(c_);
    }

    xcb_connection_t* c_;
};

// The window manager has drawn its frame around the window.
bool Framed(const QWidget* window) {
    XProperty x;
    return !x.Values(window->winId(), "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL).empty();
}

}  // namespace

class WindowManagerTest : public QObject {
    Q_OBJECT
private slots:
    void placeStaysOverStartCloseCycles();
    void modalDialogsCannotBeMinimised();
    void importFileDialogAndMessageBoxCannotBeMinimised();
};

void WindowManagerTest::placeStaysOverStartCloseCycles() {
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("zelk"));
    QFile ini(program + QStringLiteral(".ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Fenster]\r\nTop=25\r\nLeft=10\r\n");
    ini.close();
    for (int cycle = 0; cycle < 10; ++cycle) {
        {
            test::Program started({}, LocaleInfo::FromName("C"), program);
            QVERIFY(QTest::qWaitForWindowExposed(f_main));
            QTRY_VERIFY_WITH_TIMEOUT(Framed(f_main), 5000);
            QTest::qWait(50);
            f_main->close();
            QApplication::processEvents();
        }
        const IniFile stored(program.toStdString() + ".ini");
        QCOMPARE(stored.ReadInteger("Fenster", "Top", -1), 25);
        QCOMPARE(stored.ReadInteger("Fenster", "Left", -1), 10);
    }
}

namespace {

// Counts the times a window was minimised while this exists.
class MinimiseCounter : public QObject {
public:
    explicit MinimiseCounter(QWidget& window) : window_(window) { window_.installEventFilter(this); }
    ~MinimiseCounter() override { window_.removeEventFilter(this); }
    MinimiseCounter(const MinimiseCounter&) = delete;
    MinimiseCounter& operator=(const MinimiseCounter&) = delete;

    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange && static_cast<QWidget*>(watched)->isMinimized()) ++count;
        return false;
    }

private:
    QWidget& window_;
};

// Sends a request to the window manager until `done`, for ten seconds at most: asked
// again while the manager may still be taking the window on under load.
template <typename Ask, typename Done>
void AskUntil(const Ask& ask, const Done& done) {
    for (int attempt = 0; attempt < 40 && !done(); ++attempt) {
        ask();
        QTest::qWait(250);
    }
}

// Checks on a shown modal window that the manager is asked to offer no minimising but
// offers resizing exactly when the window is `resizable`, then minimises it through the
// manager and checks that it comes straight back. Reports through QTest; the caller
// looks at QTest::currentTestFailed().
void CheckComesBackWhenMinimised(QWidget& window, bool resizable = false) {
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY_WITH_TIMEOUT(Framed(&window), 5000);
    XProperty x;
    // Managers that honour the hints offer no minimise function.
    const std::vector<uint32_t> hints = x.Values(window.winId(), "_MOTIF_WM_HINTS", XCB_ATOM_ANY);
    QVERIFY(hints.size() >= 2 && (hints[0] & 1) != 0 && (hints[1] & (1 | 8)) == 0);  // not "all", not minimise
    const std::vector<std::string> actions = x.AtomNames(window.winId(), "_NET_WM_ALLOWED_ACTIONS");
    for (const char* action : {"_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT"})
        QVERIFY2((std::find(actions.begin(), actions.end(), action) != actions.end()) == resizable, action);
    // One that minimises it all the same (openbox does) gets it straight back.
    MinimiseCounter counter(window);
    AskUntil([&x, &window] { x.Iconify(window.winId()); }, [&counter] { return counter.count > 0; });
    QVERIFY(counter.count > 0);
    QTRY_VERIFY_WITH_TIMEOUT(
        !window.isMinimized() && x.Values(window.winId(), "WM_STATE", XCB_ATOM_ANY) == std::vector<uint32_t>({1, 0}),
        5000);
    QVERIFY2(window.isVisible(), qPrintable(window.objectName() + QLatin1Char(' ') + window.windowTitle()));
}

// Maximises a shown resizable modal window through the manager and checks that it then
// spans the screen, and that it comes back maximised when minimised.
void CheckManagerMaximises(QWidget& window) {
    const int screenWidth = window.screen()->availableSize().width();
    QVERIFY(window.width() < screenWidth);
    const auto filled = [&window, screenWidth] { return window.isMaximized() && window.width() == screenWidth; };
    XProperty x;
    AskUntil([&x, &window] { x.Maximise(window.winId()); }, filled);
    QVERIFY(filled());
    CheckComesBackWhenMinimised(window, true);
    if (QTest::currentTestFailed()) return;
    QVERIFY(window.isMaximized());
}

// Drops the answers to modal windows still waiting when a test leaves early.
class ModalAnswersScope {
public:
    ModalAnswersScope() = default;
    ~ModalAnswersScope() { test::CancelModalAnswers(); }
    ModalAnswersScope(const ModalAnswersScope&) = delete;
    ModalAnswersScope& operator=(const ModalAnswersScope&) = delete;
};

}  // namespace

void WindowManagerTest::modalDialogsCannotBeMinimised() {
    test::Program started;
    QVERIFY(QTest::qWaitForWindowExposed(f_main));
    for (QDialog* dialog : std::vector<QDialog*>{f_Sensor, f_prefs, AboutBox}) {
        QVERIFY(dialog != nullptr);
        dialog->open();
        CheckComesBackWhenMinimised(*dialog);
        dialog->reject();
        if (QTest::currentTestFailed()) return;
    }
}

// The windows the main window waits for beyond its own dialogs: the import's file
// dialog, and the message box over a file that is not a sensor export.
void WindowManagerTest::importFileDialogAndMessageBoxCannotBeMinimised() {
    const QTemporaryDir dir;
    const QString wrong = test::WriteFile(dir, QStringLiteral("wrong.txt"), {"ICode_OTHER42", "Datum\tZeit\tWert"});
    test::Program started;
    QVERIFY(QTest::qWaitForWindowExposed(f_main));
    const ModalAnswersScope answers;
    const int timeouts = test::ModalTimeouts();

    f_main->SetFileChooser(std::make_unique<DialogFileChooser>());
    QString title;
    test::WhenModal([&title](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return false;
        title = dialog->windowTitle();
        CheckComesBackWhenMinimised(*dialog, true);
        CheckManagerMaximises(*dialog);
        dialog->reject();
        return true;
    });
    f_main->ImportSensordaten1->trigger();
    if (QTest::currentTestFailed()) return;
    QCOMPARE(title, QStringLiteral("Datenimport"));

    started.SetImportPath(wrong);
    QString message;
    bool dayDialogShown = false;
    test::WhenModal([&message, &dayDialogShown](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return false;
        message = box->text();
        CheckComesBackWhenMinimised(*box);
        // Asked for only now: the checks may take longer than an answer waits.
        test::WhenDayDialog([&dayDialogShown](Tf_Sensor& dialog) {
            dayDialogShown = true;
            dialog.Button2->click();
        });
        box->button(QMessageBox::Ok)->click();
        return true;
    });
    f_main->ImportSensordaten1->trigger();
    if (QTest::currentTestFailed()) return;
    QCOMPARE(message, QStringLiteral("Falsche Sensordatei!"));
    QVERIFY(dayDialogShown);
    QCOMPARE(test::ModalTimeouts(), timeouts);
}

int main(int argc, char** argv) {
    QTemporaryDir folder;
    Screen screen;
    if (!folder.isValid() || !screen.Start(folder.path())) {
        std::fprintf(stderr, "Xvfb and openbox could not be started\n");
        return 1;
    }
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    int status = 0;
    {
        QApplication app(argc, argv);
        WindowManagerTest test;
        status = QTest::qExec(&test, argc, argv);
    }
    return status;
}

#include "tst_window_manager.moc"

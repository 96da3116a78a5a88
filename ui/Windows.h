#pragma once

#include <memory>

#include "data/Locale.h"

namespace zelk {

class Tf_main;
class Tf_Sensor;
class Tf_Sensorgrafik;
class TAboutBox;
class Tf_prefs;
class Tf_Tabellen;
class ModalWindowGuard;

// The program's windows, each reached through its one instance while the windows exist.
extern Tf_main* f_main;
extern Tf_Sensor* f_Sensor;
extern Tf_Sensorgrafik* f_Sensorgrafik;
extern TAboutBox* AboutBox;
extern Tf_prefs* f_prefs;
extern Tf_Tabellen* f_Tabellen;

// Creates the six windows hidden, in start-up order (main window, day dialog, chart
// window, About box, preferences, tables), and destroys them when it goes. The
// dialogs belong to the main window; the chart and table windows stand on their own.
// While they exist, every modal window of the application is kept from staying
// minimised.
class ApplicationWindows {
public:
    explicit ApplicationWindows(const LocaleInfo& locale);
    ~ApplicationWindows();
    ApplicationWindows(const ApplicationWindows&) = delete;
    ApplicationWindows& operator=(const ApplicationWindows&) = delete;

private:
    std::unique_ptr<ModalWindowGuard> guard_;
    std::unique_ptr<Tf_main> main_;
    std::unique_ptr<Tf_Sensorgrafik> chart_;
    std::unique_ptr<Tf_Tabellen> tables_;
};

}  // namespace zelk

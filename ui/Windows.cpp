#include "ui/Windows.h"

#include "ui/ModalWindowGuard.h"
#include "ui/dialogs/About.h"
#include "ui/dialogs/u_Sensor.h"
#include "ui/dialogs/u_Sensorgrafik.h"
#include "ui/dialogs/u_Tabellen.h"
#include "ui/dialogs/u_prefs.h"
#include "ui/u_main.h"

namespace zelk {

Tf_main* f_main = nullptr;
Tf_Sensor* f_Sensor = nullptr;
Tf_Sensorgrafik* f_Sensorgrafik = nullptr;
TAboutBox* AboutBox = nullptr;
Tf_prefs* f_prefs = nullptr;
Tf_Tabellen* f_Tabellen = nullptr;

ApplicationWindows::ApplicationWindows(const LocaleInfo& locale) : guard_(std::make_unique<ModalWindowGuard>()) {
    main_ = std::make_unique<Tf_main>(locale);
    f_main = main_.get();
    f_Sensor = new Tf_Sensor(main_->State(), main_.get());
    chart_ = std::make_unique<Tf_Sensorgrafik>(main_.get());
    f_Sensorgrafik = chart_.get();
    AboutBox = new TAboutBox(main_.get());
    f_prefs = new Tf_prefs(main_->State(), main_.get());
    tables_ = std::make_unique<Tf_Tabellen>(main_->State(), nullptr);
    f_Tabellen = tables_.get();
}

ApplicationWindows::~ApplicationWindows() {
    f_Tabellen = nullptr;
    f_prefs = nullptr;
    AboutBox = nullptr;
    f_Sensorgrafik = nullptr;
    f_Sensor = nullptr;
    f_main = nullptr;
    tables_.reset();
    chart_.reset();
    main_.reset();
    guard_.reset();
}

}  // namespace zelk

#include "ui/dialogs/u_prefs.h"

namespace zelk {

Tf_prefs::Tf_prefs(QWidget* parent) : QDialog(parent) { setWindowTitle(QStringLiteral("Voreinstellungen")); }

}  // namespace zelk

#include "ui/dialogs/u_Tabellen.h"

namespace zelk {

Tf_Tabellen::Tf_Tabellen(QWidget* parent) : QWidget(parent) { setWindowTitle(QStringLiteral("Tabellen")); }

}  // namespace zelk

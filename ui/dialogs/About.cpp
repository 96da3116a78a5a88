#include "ui/dialogs/About.h"

namespace zelk {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) { setWindowTitle(QStringLiteral("Info")); }

}  // namespace zelk

#include "ui/u_main.h"

namespace zelk {

Tf_main::Tf_main(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Berechnung ZELK"));
    resize(1028, 652);
}

}  // namespace zelk

#pragma once

class QDialog;

namespace zelk {

// Keeps a modal dialog in sight: a minimised modal dialog would leave the main
// window blocked with nothing to answer. Before each showing the window manager is
// asked for a frame that offers moving (and closing, where the dialog has a close
// box) but no minimising; a manager that minimises it all the same gets it shown
// again at once. Installed once, from the dialog's constructor.
void KeepModalDialogInSight(QDialog& dialog);

}  // namespace zelk

#include "ui/FileChooser.h"

#include <QFileDialog>

namespace zelk {

QString DialogFileChooser::ChooseOpenFile(QWidget* parent, const QString& title, const QStringList& filters) {
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

}  // namespace zelk

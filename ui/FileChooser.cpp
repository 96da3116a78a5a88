#include "ui/FileChooser.h"

#include <QFileDialog>
#include <QFileInfo>

namespace zelk {
namespace {

// The folder dialog refuses a typed folder that does not exist; this one hands it
// back, so the caller can offer to create it.
class FolderDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void accept() override {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty() && !QFileInfo::exists(chosen.front())) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }
};

// Runs the dialog; the first chosen entry, or an empty text when it was cancelled.
QString FirstChosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

}  // namespace

QString DialogFileChooser::ChooseOpenFile(QWidget* parent, const QString& title, const QStringList& filters) {
    QFileDialog dialog(parent, title);
    // Qt's own dialog, as for folders: a platform dialog would escape the guard that
    // keeps modal windows from staying minimised.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
    return FirstChosen(dialog);
}

QString DialogFolderChooser::ChooseFolder(QWidget* parent, const QString& title, const QString& startFolder) {
    FolderDialog dialog(parent, title, startFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return FirstChosen(dialog);
}

}  // namespace zelk

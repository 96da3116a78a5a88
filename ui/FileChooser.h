#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace zelk {

// Asks the user for a file to open. Tests put a chooser of their own in its place.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen path, or an empty text when the user cancelled.
    virtual QString ChooseOpenFile(QWidget* parent, const QString& title, const QStringList& filters) = 0;
};

// The platform's open-file dialog, its first filter selected.
class DialogFileChooser : public FileChooser {
public:
    QString ChooseOpenFile(QWidget* parent, const QString& title, const QStringList& filters) override;
};

}  // namespace zelk

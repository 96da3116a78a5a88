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

// Asks the user for a folder. Tests put a chooser of their own in its place.
class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    // The chosen folder, which may be a typed one that does not exist yet, or an
    // empty text when the user cancelled.
    virtual QString ChooseFolder(QWidget* parent, const QString& title, const QString& startFolder) = 0;
};

// Qt's own folder dialog, starting at `startFolder`; it also takes the name of a
// folder that does not exist yet.
class DialogFolderChooser : public FolderChooser {
public:
    QString ChooseFolder(QWidget* parent, const QString& title, const QString& startFolder) override;
};

}  // namespace zelk

#include "ui/Messages.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "ui/QtText.h"

namespace zelk {

void ShowMessage(QWidget* parent, const std::string& ansiText) {
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), AnsiText(ansiText), QMessageBox::Ok, parent);
    box.exec();
}

void ShowException(QWidget* parent, const std::exception& error) {
    std::string message = error.what();
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), AnsiText(message), QMessageBox::Ok, parent);
    box.exec();
}

void SetApplicationTitle(const QString& title) { QCoreApplication::setApplicationName(title); }

QString ApplicationTitle() { return QCoreApplication::applicationName(); }

}  // namespace zelk

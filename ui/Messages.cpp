#include "ui/Messages.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "ui/QtText.h"

namespace zelk {

void ShowMessage(QWidget* parent, const std::string& ansiText) { ShowMessageText(parent, AnsiText(ansiText)); }

void ShowMessageText(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool AskYesNo(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, ApplicationTitle(), question, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
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

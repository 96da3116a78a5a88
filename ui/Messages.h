#pragma once

#include <QString>
#include <exception>
#include <string>

class QWidget;

namespace zelk {

// The simple message box: the text, one OK button, the application title as caption.
// Returns when the user has answered it.
void ShowMessage(QWidget* parent, const std::string& ansiText);
void ShowMessageText(QWidget* parent, const QString& text);

// A question with the buttons Yes and No under the application title; true for Yes.
bool AskYesNo(QWidget* parent, const QString& question);

// An error that reached a command unhandled, shown as the default error handling
// shows it: its own message, ended with a full stop unless it ends in one already.
void ShowException(QWidget* parent, const std::exception& error);

// The application title: the main window's caption in the current language.
void SetApplicationTitle(const QString& title);
QString ApplicationTitle();

}  // namespace zelk

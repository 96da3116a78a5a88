#pragma once

#include <QApplication>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/Locale.h"
#include "ui/FileChooser.h"
#include "ui/Windows.h"

class QMessageBox;

namespace zelk {
class Tf_Sensor;
}

namespace zelk::test {

// A file chooser that hands back a fixed path and remembers how it was asked.
class FixedChooser : public FileChooser {
public:
    explicit FixedChooser(QString path) : path_(std::move(path)) {}
    QString ChooseOpenFile(QWidget* parent, const QString& title, const QStringList& filters) override;

    int calls = 0;
    QString lastTitle;
    QStringList lastFilters;

private:
    QString path_;
};

// The six windows, on the C locale unless told otherwise, the main window shown; the chooser of the import
// answers with `path` (cancel when empty). The settings file lies beside `programFile`, or in a temporary
// folder of the program's own when none is given, never beside the test program.
class Program {
public:
    explicit Program(const QString& importPath = {}, const LocaleInfo& locale = LocaleInfo::FromName("C"),
                     const QString& programFile = {});
    ~Program();
    FixedChooser& Chooser() { return *chooser_; }
    void SetImportPath(const QString& path);
    // The settings file the program reads and writes.
    QString IniPath() const;

private:
    QTemporaryDir settingsDir_;
    std::unique_ptr<ApplicationWindows> windows_;
    FixedChooser* chooser_ = nullptr;
};

// Runs `answer` on the next active modal widget for which it returns true; looks
// every 10 ms from the event loop, so it can answer a dialog started right after.
// A modal widget still open after about 10 seconds is closed so the test goes on;
// ModalTimeouts() counts such cases.
void WhenModal(std::function<bool(QWidget*)> answer);
int ModalTimeouts();
// Drops the answers still waiting.
void CancelModalAnswers();

// Answers the next message box with OK, storing its caption and text.
void AnswerMessageBox(QString* caption = nullptr, QString* text = nullptr);

// The commands that start an import, a grid build, a calculation or the batch, and the
// grid-width and language items that would change the series or the texts in the middle
// of one: all enabled with nothing running, or all disabled.
bool CommandsEnabled();
bool CommandsDisabled();

// Answers the next day dialog once with `answer`.
void WhenDayDialog(std::function<void(Tf_Sensor&)> answer);

// A sensor export file in `dir` with the given lines, ended by CR LF.
QString WriteFile(const QTemporaryDir& dir, const QString& name, const std::vector<std::string>& lines);

// The header line of a sensor export file.
std::string SensorHeader();
// One data line: number TAB date TAB time TAB value.
std::string Reading(int id, const std::string& date, const std::string& time, const std::string& value);

// The folder for pictures a person looks at; made when missing.
QString OutputDir();

// Pixel colour without alpha.
QRgb Rgb(const QImage& image, int x, int y);
// Counts pixels of one colour in a rectangle of an image.
int CountColour(const QImage& image, const QRect& area, QRgb colour);

}  // namespace zelk::test

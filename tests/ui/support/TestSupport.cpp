#include "TestSupport.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "ui/dialogs/u_Sensor.h"
#include "ui/u_main.h"

namespace zelk::test {
namespace {

int timeouts = 0;
int generation = 0;
constexpr int kModalTries = 1000;

void Poll(std::function<bool(QWidget*)> answer, int triesLeft, int round) {
    QTimer::singleShot(10, [answer = std::move(answer), triesLeft, round]() mutable {
        if (round != generation) return;
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && answer(modal)) return;
        if (triesLeft > 0) {
            Poll(std::move(answer), triesLeft - 1, round);
            return;
        }
        ++timeouts;
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(0);
    });
}

}  // namespace

QString FixedChooser::ChooseOpenFile(QWidget*, const QString& title, const QStringList& filters) {
    ++calls;
    lastTitle = title;
    lastFilters = filters;
    return path_;
}

Program::Program(const QString& importPath, const LocaleInfo& locale, const QString& programFile) {
    windows_ = std::make_unique<ApplicationWindows>(locale);
    auto chooser = std::make_unique<FixedChooser>(importPath);
    chooser_ = chooser.get();
    f_main->SetFileChooser(std::move(chooser));
    f_main->SetProgramFile(programFile.isEmpty() ? settingsDir_.filePath(QStringLiteral("zelk")) : programFile);
    f_main->show();
    QApplication::processEvents();
}

Program::~Program() = default;

QString Program::IniPath() const { return QString::fromStdString(f_main->State().IniPath); }

void Program::SetImportPath(const QString& path) {
    auto chooser = std::make_unique<FixedChooser>(path);
    chooser_ = chooser.get();
    f_main->SetFileChooser(std::move(chooser));
}

void WhenModal(std::function<bool(QWidget*)> answer) { Poll(std::move(answer), kModalTries, generation); }

void CancelModalAnswers() { ++generation; }

int ModalTimeouts() { return timeouts; }

void AnswerMessageBox(QString* caption, QString* text) {
    WhenModal([caption, text](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return false;
        if (caption) *caption = box->windowTitle();
        if (text) *text = box->text();
        box->button(QMessageBox::Ok)->click();
        return true;
    });
}

namespace {

QList<bool> CommandStates() {
    QList<bool> states;
    for (const QAction* item : {f_main->ImportSensordaten1, f_main->Voreinstellung1, f_main->N5minRaster1,
                                f_main->N15minRaster1, f_main->de1, f_main->en1})
        states << item->isEnabled();
    return states << f_main->Button1->isEnabled();
}

}  // namespace

bool CommandsEnabled() { return !CommandStates().contains(false) && !f_main->Busy(); }

bool CommandsDisabled() { return !CommandStates().contains(true) && f_main->Busy(); }

void WhenDayDialog(std::function<void(Tf_Sensor&)> answer) {
    WhenModal([answer = std::move(answer)](QWidget* modal) {
        auto* dialog = qobject_cast<Tf_Sensor*>(modal);
        if (!dialog) return false;
        answer(*dialog);
        return true;
    });
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const std::vector<std::string>& lines) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    for (const std::string& line : lines) {
        file.write(line.data(), static_cast<qint64>(line.size()));
        file.write("\r\n");
    }
    return path;
}

std::string SensorHeader() { return "Sample\tDate\tTime\tSensor Value"; }

std::string Reading(int id, const std::string& date, const std::string& time, const std::string& value) {
    return std::to_string(id) + "\t" + date + "\t" + time + "\t" + value;
}

QString OutputDir() {
    const QString dir = QStringLiteral(ZELK_TEST_OUTPUT_DIR);
    QDir().mkpath(dir);
    return dir;
}

QRgb Rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

int CountColour(const QImage& image, const QRect& area, QRgb colour) {
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (Rgb(image, x, y) == (colour & 0xFFFFFF)) ++count;
    return count;
}

}  // namespace zelk::test

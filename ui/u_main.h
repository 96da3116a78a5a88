#pragma once

#include <QCursor>
#include <QMainWindow>
#include <memory>
#include <string>

#include "ui/FileChooser.h"
#include "windowlogic/MainCore.h"

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;

namespace zelk {

class MouseLayer;
class PictureLayer;
class TCStringGrid;
class TConvEdit;
class MainClientArea;

// The main window: plot, statistics, results table and menus. It shows the state of
// its MainCore and forwards the user's commands to it.
class Tf_main : public QMainWindow {
    Q_OBJECT
public:
    explicit Tf_main(const LocaleInfo& locale, QWidget* parent = nullptr);
    ~Tf_main() override;

    MainCore& Core() { return core_; }
    MainState& State() { return core_.State(); }
    const MainState& State() const { return core_.State(); }

    // Replaces the open-file dialog of the import.
    void SetFileChooser(std::unique_ptr<FileChooser> chooser);
    // Replaces the folder dialog of the batch evaluation.
    void SetFolderChooser(std::unique_ptr<FolderChooser> chooser);
    // The program file beside which the settings file lies (its path with ".ini");
    // the running program unless set before the window is first shown.
    void SetProgramFile(const QString& path) { programFile_ = path; }
    QString ProgramFile() const;

    // Life cycle
    void FormCreate();
    void FormShow();
    void FormClose();
    void LoadSettings();
    void SaveSettings();

    // Language
    void SetLanguage(const std::string& code);
    void ApplyGermanTexts();
    void ApplyEnglishTexts();
    void de1Click();
    void en1Click();

    // Plot layout, background and grid width
    void LayoutWindow();
    void DrawBackground();
    void N15minRaster1Click();
    void N5minRaster1Click();
    void Breitbild1Click();

    // Mouse readout
    void img_LayoutMouseMove(int X, int Y);
    void FormMouseMove();

    // Import and calculation
    void ImportSensordaten1Click();
    void Button1Click();

    // Window commands
    void AutomBerechnung1Click();
    void Voreinstellung1Click();
    void abellen1Click();
    void Hilfe1Click();
    void InfoClick();
    void Beenden1Click();

    // Shows the state in the widgets, changing only what differs.
    void RefreshWidgets();
    // Shows the state, then lets pending events run.
    void ProcessPendingEvents();
    // True while an import, a grid build, a calculation or the batch runs.
    bool Busy() const { return busy_ > 0; }
    // True once the window has closed; a command still running then ends without
    // showing any further window.
    bool Closing() const { return closing_; }
    // The height of the window below its menu bar.
    int ClientHeight() const;

    // Plot geometry
    int PlotLeft = 0;
    int PlotTop = 0;
    int PlotWidth = 0;
    int PlotHeight = 0;

    // The last texts of the mouse readout
    std::string ReadoutHourText;
    std::string ReadoutMinuteText;
    std::string ReadoutValueText;

    // Components
    QLabel* l_Datum = nullptr;
    QFrame* p_PID = nullptr;
    QLabel* Label60 = nullptr;
    TConvEdit* ce_PID = nullptr;
    QFrame* p_Bilder = nullptr;
    PictureLayer* img_Form = nullptr;
    PictureLayer* img_ZwEbene = nullptr;
    MouseLayer* img_Layout = nullptr;
    QLabel* l_Coursor = nullptr;
    QFrame* StatusBar = nullptr;
    QProgressBar* pb_Status = nullptr;
    QLabel* StatusPanel1 = nullptr;
    QFrame* p_mittelwert = nullptr;
    QLabel* Label1 = nullptr;
    TConvEdit* ce_Mittelwert = nullptr;
    QLabel* Label2 = nullptr;
    TConvEdit* ce_StdAbw = nullptr;
    QLabel* Label3 = nullptr;
    TConvEdit* ce_ZELK = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Button1 = nullptr;
    TCStringGrid* csg_Berechnung = nullptr;
    QCheckBox* cb_Startwert = nullptr;
    QCheckBox* cb_Endwert = nullptr;

    // Menu
    QMenu* Datei1 = nullptr;
    QAction* ImportSensordaten1 = nullptr;
    QAction* AutomBerechnung1 = nullptr;
    QAction* Voreinstellung1 = nullptr;
    QAction* Beenden1 = nullptr;
    QMenu* Ansicht1 = nullptr;
    QAction* N5minRaster1 = nullptr;
    QAction* N15minRaster1 = nullptr;
    QAction* Breitbild1 = nullptr;
    QAction* abellen1 = nullptr;
    QMenu* N3 = nullptr;
    QAction* de1 = nullptr;
    QAction* en1 = nullptr;
    QMenu* Help = nullptr;
    QAction* Hilfe1 = nullptr;
    QAction* Info1 = nullptr;

    // The plot's cursor.
    const QCursor& NewCursor() const { return newCursor_; }

signals:
    // The window has closed; the program ends.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class MainClientArea;
    class BusyScope;

    void CreateComponents();
    void CreateMenu();
    void ConnectHooks();
    void ApplyTexts(const TextTable& texts);
    void ClientResized(int width, int height);
    void PlaceResultsTable(const QRect& geometry);
    void UpdateCommandStates();
    int MenuHeight() const;
    void DrawCurve(const CurvePolyline& curve, const QColor& colour, int width);
    // The folder for the batch, created when the user agrees; empty to stop.
    QString ChooseBatchFolder();
    // Runs a command, shows an error that escapes it, then shows the state.
    template <typename Command>
    void Run(Command&& command);

    MainCore core_;
    std::unique_ptr<FileChooser> chooser_;
    std::unique_ptr<FolderChooser> folderChooser_;
    QString programFile_;
    MainClientArea* client_ = nullptr;
    QCursor newCursor_;
    int clientHeight_ = 0;
    int busy_ = 0;
    bool shown_ = false;
    bool closing_ = false;
    int resultsBottomMargin_ = 0;  // the results table keeps its distance to the bottom edge
    unsigned long shownGridRevision_ = ~0UL;
};

}  // namespace zelk

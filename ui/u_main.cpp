#include "ui/u_main.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QUrl>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "calc/Batch.h"
#include "data/CodePages.h"
#include "data/DateTexts.h"
#include "data/Language.h"
#include "data/TextNumber.h"
#include "data/Units.h"
#include "ui/CStringGrid.h"
#include "ui/ConvEdit.h"
#include "ui/Fonts.h"
#include "ui/Messages.h"
#include "ui/PlotBackground.h"
#include "ui/PlotLayers.h"
#include "ui/QtText.h"
#include "ui/WidgetHelpers.h"
#include "ui/Windows.h"
#include "ui/dialogs/About.h"
#include "ui/dialogs/u_Sensor.h"
#include "ui/dialogs/u_Sensorgrafik.h"
#include "ui/dialogs/u_Tabellen.h"
#include "ui/dialogs/u_prefs.h"
#include "windowlogic/GridMenu.h"
#include "windowlogic/MainCoreBatchRoad.h"
#include "windowlogic/Settings.h"

namespace zelk {
namespace {

// Window sizes of the design: the frame (caption, menu and borders) took 59 pixels of
// the height, and a layout makes the window 78 pixels taller than the results table's
// bottom edge, which leaves the status bar's 19 pixels below the table.
constexpr int kDesignWidth = 1028;
constexpr int kDesignClientHeight = 593;
constexpr int kDesignFrameHeight = 59;
constexpr int kResultsToWindowBottom = 78;
constexpr int kStatusBarHeight = 19;
constexpr int kProgressPanelWidth = 200;
constexpr int kReadoutSwitchSteps = 184;  // 15-minute steps from which the readout stands left of the pointer

const QColor kCurveColour(0, 0, 255);
constexpr int kCurvePenWidth = 2;
constexpr int kErasePenWidth = 6;

void SetLabelText(QLabel* label, const QString& text) {
    if (label->text() == text) return;
    label->setText(text);
    label->adjustSize();
}

// An autosized right-aligned label keeps its right edge when its text changes.
void SetRightAlignedText(QLabel* label, const QString& text) {
    if (label->text() == text) return;
    const int right = label->x() + label->width();
    label->setText(text);
    label->adjustSize();
    label->move(right - label->width(), label->y());
}

void SetChecked(QCheckBox* box, bool checked) {
    if (box->isChecked() == checked) return;
    const QSignalBlocker blocker(box);
    box->setChecked(checked);
}

void SetChecked(QAction* action, bool checked) {
    if (action->isChecked() == checked) return;
    const QSignalBlocker blocker(action);
    action->setChecked(checked);
}

void SetEnabled(QAction* action, bool enabled) {
    if (action->isEnabled() != enabled) action->setEnabled(enabled);
}

TConvEdit* MakeEdit(QWidget* parent, const char* name, const QRect& geometry, const NumericEdit& model,
                    char separator) {
    auto* edit = new TConvEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(geometry);
    edit->SetDecimalSeparator(separator);
    edit->ShowModel(model);
    return edit;
}

// Ends a long operation of the core when the window closed while it let pending
// events run.
class WindowClosed : public std::runtime_error {
public:
    WindowClosed() : std::runtime_error("The window has closed.") {}
};

void SetBackground(QWidget* widget, const QColor& colour, QPalette::ColorRole role) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace

// The client area below the menu bar: it places the status bar and lets the results
// table follow the bottom edge, and hides the readout when the pointer moves over
// the window's own surface.
class MainClientArea : public QWidget {
public:
    explicit MainClientArea(Tf_main& owner) : QWidget(&owner), owner_(owner) { setMouseTracking(true); }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        owner_.ClientResized(width(), height());
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!childAt(event->position().toPoint())) owner_.FormMouseMove();
    }

private:
    Tf_main& owner_;
};

// Disables the commands that would start another import, grid build or calculation
// while one runs.
class Tf_main::BusyScope {
public:
    explicit BusyScope(Tf_main& window) : window_(window) {
        ++window_.busy_;
        window_.UpdateCommandStates();
    }
    ~BusyScope() {
        --window_.busy_;
        window_.UpdateCommandStates();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Tf_main& window_;
};

template <typename Command>
void Tf_main::Run(Command&& command) {
    try {
        command();
    } catch (const std::exception& error) {
        RefreshWidgets();
        if (!closing_) ShowException(this, error);
    }
    RefreshWidgets();
}

Tf_main::Tf_main(const LocaleInfo& locale, QWidget* parent)
    : QMainWindow(parent),
      core_(locale),
      chooser_(std::make_unique<DialogFileChooser>()),
      folderChooser_(std::make_unique<DialogFolderChooser>()),
      clientHeight_(kDesignClientHeight) {
    setObjectName(QStringLiteral("f_main"));
    setWindowTitle(AnsiText(GermanTexts().mainCaption));
    setFont(VerdanaLike());
    CreateMenu();
    CreateComponents();
    ConnectHooks();
    // Places are those of the client area (see LoadSettings).
    setGeometry(246, 114, kDesignWidth, kDesignClientHeight + MenuHeight());
    FormCreate();
    RefreshWidgets();
}

Tf_main::~Tf_main() {
    // The dialogs work on the state: they go while it still exists.
    qDeleteAll(findChildren<QDialog*>(Qt::FindDirectChildrenOnly));
}

void Tf_main::SetFileChooser(std::unique_ptr<FileChooser> chooser) { chooser_ = std::move(chooser); }

void Tf_main::SetFolderChooser(std::unique_ptr<FolderChooser> chooser) { folderChooser_ = std::move(chooser); }

QString Tf_main::ProgramFile() const {
    return programFile_.isEmpty() ? QCoreApplication::applicationFilePath() : programFile_;
}

int Tf_main::MenuHeight() const { return menuWidget() ? menuWidget()->sizeHint().height() : 0; }

int Tf_main::ClientHeight() const { return clientHeight_; }

void Tf_main::CreateMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto item = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, [this, handler] { Run([this, handler] { (this->*handler)(); }); });
        return action;
    };
    const auto checkItem = [&](QMenu* menu, const char* name, const QString& caption, auto handler, bool checked) {
        QAction* action = item(menu, name, caption, handler);
        action->setCheckable(true);
        action->setChecked(checked);
        return action;
    };
    const TextTable& de = GermanTexts();

    Datei1 = bar->addMenu(AnsiText(de.menuDatei));
    Datei1->setObjectName(QStringLiteral("Datei1"));
    ImportSensordaten1 = item(Datei1, "ImportSensordaten1", AnsiText(de.menuImport), &Tf_main::ImportSensordaten1Click);
    AutomBerechnung1 = item(Datei1, "AutomBerechnung1", AnsiText(de.menuAutom), &Tf_main::AutomBerechnung1Click);
    AutomBerechnung1->setVisible(false);
    Datei1->addSeparator()->setObjectName(QStringLiteral("N1"));
    Voreinstellung1 = item(Datei1, "Voreinstellung1", AnsiText(de.menuVoreinstellung), &Tf_main::Voreinstellung1Click);
    Datei1->addSeparator()->setObjectName(QStringLiteral("N2"));
    Beenden1 = item(Datei1, "Beenden1", AnsiText(de.menuBeenden), &Tf_main::Beenden1Click);

    Ansicht1 = bar->addMenu(AnsiText(de.menuAnsicht));
    Ansicht1->setObjectName(QStringLiteral("Ansicht1"));
    N5minRaster1 = checkItem(Ansicht1, "N5minRaster1", AnsiText(de.menu5min), &Tf_main::N5minRaster1Click, false);
    N15minRaster1 = checkItem(Ansicht1, "N15minRaster1", AnsiText(de.menu15min), &Tf_main::N15minRaster1Click, true);
    Ansicht1->addSeparator()->setObjectName(QStringLiteral("N4"));
    Breitbild1 = checkItem(Ansicht1, "Breitbild1", AnsiText(de.menuBreitbild), &Tf_main::Breitbild1Click, false);
    Breitbild1->setVisible(false);
    Breitbild1->setEnabled(false);
    abellen1 = item(Ansicht1, "abellen1", AnsiText(FixedTexts().menuTabellen), &Tf_main::abellen1Click);
    QAction* hiddenSeparator = Ansicht1->addSeparator();
    hiddenSeparator->setObjectName(QStringLiteral("N5"));
    hiddenSeparator->setVisible(false);
    N3 = Ansicht1->addMenu(AnsiText(de.menuSprache));
    N3->setObjectName(QStringLiteral("N3"));
    de1 = checkItem(N3, "de1", AnsiText(de.menuDeutsch), &Tf_main::de1Click, true);
    en1 = checkItem(N3, "en1", AnsiText(de.menuEnglisch), &Tf_main::en1Click, false);

    Help = bar->addMenu(AnsiText(de.menuHelp));
    Help->setObjectName(QStringLiteral("Help"));
    Hilfe1 = item(Help, "Hilfe1", AnsiText(de.menuHilfe1), &Tf_main::Hilfe1Click);
    Info1 = item(Help, "Info1", AnsiText(de.menuInfo), &Tf_main::InfoClick);
}

void Tf_main::CreateComponents() {
    const MainState& s = State();
    const char separator = s.locale.decimalSeparator;
    const TextTable& de = GermanTexts();
    const FixedTextTable& fixed = FixedTexts();
    client_ = new MainClientArea(*this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);

    l_Datum = MakeLabel(QString(), 212, 12, client_, "l_Datum");

    p_PID = new QFrame(client_);
    p_PID->setObjectName(QStringLiteral("p_PID"));
    p_PID->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    p_PID->setGeometry(5, 5, 190, 24);
    Label60 = MakeLabel(AnsiText(fixed.pidLabel), 8, 5, p_PID, "Label60");
    QFont bold = SansSerifLike();
    bold.setBold(true);
    Label60->setFont(bold);
    Label60->adjustSize();
    ce_PID = MakeEdit(p_PID, "ce_PID", QRect(40, 1, 148, 21), s.ce_PID, separator);
    SetBackground(ce_PID, kSkyBlue, QPalette::Base);

    p_Bilder = new QFrame(client_);
    p_Bilder->setObjectName(QStringLiteral("p_Bilder"));
    SetBackground(p_Bilder, Qt::white, QPalette::Window);
    img_Form = new PictureLayer(false, p_Bilder);
    img_Form->setObjectName(QStringLiteral("img_Form"));
    img_ZwEbene = new PictureLayer(true, p_Bilder);
    img_ZwEbene->setObjectName(QStringLiteral("img_ZwEbene"));
    img_Layout = new MouseLayer(p_Bilder);
    img_Layout->setObjectName(QStringLiteral("img_Layout"));
    img_Layout->setCursor(Qt::CrossCursor);
    img_Layout->onMouseMove = [this](int x, int y) { img_LayoutMouseMove(x, y); };
    l_Coursor = MakeLabel(AnsiText(fixed.readoutCaption), 0, 0, p_Bilder, "l_Coursor");
    l_Coursor->setAttribute(Qt::WA_TransparentForMouseEvents);

    StatusBar = new QFrame(client_);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    pb_Status = new QProgressBar(StatusBar);
    pb_Status->setObjectName(QStringLiteral("pb_Status"));
    pb_Status->setTextVisible(false);
    pb_Status->setGeometry(1, 2, kProgressPanelWidth - 2, kStatusBarHeight - 3);
    StatusPanel1 = new QLabel(StatusBar);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    StatusPanel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    p_mittelwert = new QFrame(client_);
    p_mittelwert->setObjectName(QStringLiteral("p_mittelwert"));
    p_mittelwert->setFrameStyle(QFrame::Panel | QFrame::Raised);
    p_mittelwert->setGeometry(2, 303, 1000, 41);
    Label1 = MakeLabel(AnsiText(de.label1), 39, 10, p_mittelwert, "Label1");
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ce_Mittelwert = MakeEdit(p_mittelwert, "ce_Mittelwert", QRect(104, 8, 70, 21), s.ce_Mittelwert, separator);
    Label2 = MakeLabel(AnsiText(de.label2), 204, 10, p_mittelwert, "Label2");
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ce_StdAbw = MakeEdit(p_mittelwert, "ce_StdAbw", QRect(336, 8, 70, 21), s.ce_StdAbw, separator);
    Label3 = MakeLabel(AnsiText(de.label3), 479, 10, p_mittelwert, "Label3");
    ce_ZELK = MakeEdit(p_mittelwert, "ce_ZELK", QRect(520, 8, 70, 21), s.ce_ZELK, separator);
    SetBackground(ce_ZELK, QColor(255, 255, 0), QPalette::Base);
    Label4 = MakeLabel(AnsiText(s.Label4Caption), 599, 10, p_mittelwert, "Label4");

    Button1 = new QPushButton(AnsiText(de.button1), client_);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(476, 4, 75, 25);
    connect(Button1, &QPushButton::clicked, this, [this] { Run([this] { Button1Click(); }); });

    csg_Berechnung = new TCStringGrid(kResultColumns, kResultRowsAtStart, client_);
    csg_Berechnung->setObjectName(QStringLiteral("csg_Berechnung"));
    csg_Berechnung->setFont(VerdanaLike());
    csg_Berechnung->SetDefaultColWidth(200);
    csg_Berechnung->SetDefaultRowHeight(20);
    PlaceResultsTable(QRect(4, 496, 845, 80));

    cb_Startwert = new QCheckBox(AnsiText(de.cbStartwert), client_);
    cb_Startwert->setObjectName(QStringLiteral("cb_Startwert"));
    cb_Startwert->setGeometry(596, 0, 161, 17);
    cb_Startwert->setChecked(s.cb_Startwert);
    connect(cb_Startwert, &QCheckBox::toggled, this, [this](bool on) { State().cb_Startwert = on; });
    cb_Endwert = new QCheckBox(AnsiText(de.cbEndwert), client_);
    cb_Endwert->setObjectName(QStringLiteral("cb_Endwert"));
    cb_Endwert->setGeometry(596, 16, 161, 17);
    cb_Endwert->setChecked(s.cb_Endwert);
    connect(cb_Endwert, &QCheckBox::toggled, this, [this](bool on) { State().cb_Endwert = on; });

    // Typed text stays until the program writes the edit next.
    const auto keepTyped = [this](TConvEdit* edit, NumericEdit MainState::*model) {
        connect(edit, &QLineEdit::textEdited, this,
                [this, model](const QString& text) { (State().*model).Text = ToAnsi(text); });
    };
    keepTyped(ce_PID, &MainState::ce_PID);
    keepTyped(ce_Mittelwert, &MainState::ce_Mittelwert);
    keepTyped(ce_StdAbw, &MainState::ce_StdAbw);
    keepTyped(ce_ZELK, &MainState::ce_ZELK);

    setTabOrder(ce_PID, csg_Berechnung);
    setTabOrder(csg_Berechnung, Button1);
    setTabOrder(Button1, cb_Startwert);
    setTabOrder(cb_Startwert, cb_Endwert);
    setTabOrder(cb_Endwert, ce_Mittelwert);
    setTabOrder(ce_Mittelwert, ce_StdAbw);
    setTabOrder(ce_StdAbw, ce_ZELK);
}

void Tf_main::ConnectHooks() {
    MainHooks& hooks = core_.Hooks();
    hooks.showMessage = [this](const std::string& text) {
        RefreshWidgets();
        if (!closing_) ShowMessage(this, text);
    };
    // Once the window has closed, the import, grid build, calculation or batch that
    // let the close in ends at this step.
    hooks.processEvents = [this] {
        ProcessPendingEvents();
        if (closing_) throw WindowClosed();
    };
    hooks.drawBackground = [this] { DrawBackground(); };
    hooks.drawCurve = [this](const CurvePolyline& curve) { DrawCurve(curve, kCurveColour, kCurvePenWidth); };
    hooks.eraseCurve = [this](const CurvePolyline& curve) { DrawCurve(curve, Qt::white, kErasePenWidth); };
    hooks.setStatusText = [this](const std::string& text) { StatusPanel1->setText(AnsiText(text)); };
    hooks.resetProgress = [this] { pb_Status->setValue(0); };
}

void Tf_main::ProcessPendingEvents() {
    RefreshWidgets();
    QCoreApplication::processEvents();
}

void Tf_main::FormCreate() {
    newCursor_ = MakeNewCursor();
    img_Layout->setCursor(newCursor_);
    core_.SetCreationValues();
}

void Tf_main::FormShow() {
    StartUpSteps steps;
    steps.language = [this] { LoadSettings(); };
    steps.layout = [this] { LayoutWindow(); };
    core_.StartUpWith(steps);
}

void Tf_main::FormClose() { SaveSettings(); }

void Tf_main::LoadSettings() {
    MainState& s = State();
    // The client area's corner is stored and restored: the frame's corner is known
    // only once the window manager has drawn a frame, and moves with its size.
    WindowPlace place{geometry().y(), geometry().x()};
    const std::optional<std::string> problem =
        zelk::LoadSettings(s, place, QFile::encodeName(ProgramFile()).toStdString());
    setGeometry(QRect(QPoint(place.left, place.top), size()));
    if (f_prefs) {
        f_prefs->rg_Import->Refresh();
        f_prefs->rg_Anzeige->Refresh();
    }
    SetLanguage(s.Sprache);
    SetLanguageMenu(s);
    RefreshWidgets();
    if (problem) ShowMessageText(this, QString::fromStdString(*problem));
}

void Tf_main::SaveSettings() {
    // Without a loaded settings file there is nothing to write back.
    if (State().IniPath.empty()) return;
    const WindowPlace place{geometry().y(), geometry().x()};
    if (const std::optional<std::string> problem = zelk::SaveSettings(State(), place))
        ShowMessageText(this, QString::fromStdString(*problem));
}

void Tf_main::showEvent(QShowEvent* event) {
    if (!shown_) {
        shown_ = true;
        Run([this] { FormShow(); });
    }
    QMainWindow::showEvent(event);
}

void Tf_main::closeEvent(QCloseEvent* event) {
    closing_ = true;
    FormClose();
    event->accept();
    emit Closed();
}

// ---- Language

void Tf_main::SetLanguage(const std::string& code) {
    core_.ApplyLanguage(code);
    if (IsEnglishCode(code))
        ApplyEnglishTexts();
    else
        ApplyGermanTexts();
    SetApplicationTitle(windowTitle());
    ProcessPendingEvents();
    DrawBackground();
}

void Tf_main::ApplyGermanTexts() { ApplyTexts(GermanTexts()); }

void Tf_main::ApplyEnglishTexts() { ApplyTexts(EnglishTexts()); }

void Tf_main::ApplyTexts(const TextTable& t) {
    setWindowTitle(AnsiText(t.mainCaption));
    Datei1->setTitle(AnsiText(t.menuDatei));
    Ansicht1->setTitle(AnsiText(t.menuAnsicht));
    Info1->setText(AnsiText(t.menuInfo));
    ImportSensordaten1->setText(AnsiText(t.menuImport));
    Beenden1->setText(AnsiText(t.menuBeenden));
    N3->setTitle(AnsiText(t.menuSprache));
    de1->setText(AnsiText(t.menuDeutsch));
    en1->setText(AnsiText(t.menuEnglisch));
    N5minRaster1->setText(AnsiText(t.menu5min));
    N15minRaster1->setText(AnsiText(t.menu15min));
    Breitbild1->setText(AnsiText(t.menuBreitbild));
    Button1->setText(AnsiText(t.button1));
    SetRightAlignedText(Label1, AnsiText(t.label1));
    SetRightAlignedText(Label2, AnsiText(t.label2));
    SetLabelText(Label3, AnsiText(t.label3));
    cb_Startwert->setText(AnsiText(t.cbStartwert));
    cb_Endwert->setText(AnsiText(t.cbEndwert));
    if (f_Sensor) f_Sensor->ApplyTexts(t);
    if (f_Sensorgrafik) f_Sensorgrafik->setWindowTitle(AnsiText(t.chartCaption));
    AutomBerechnung1->setText(AnsiText(t.menuAutom));
    Hilfe1->setText(AnsiText(t.menuHilfe1));
    Help->setTitle(AnsiText(t.menuHelp));
    Voreinstellung1->setText(AnsiText(t.menuVoreinstellung));
    if (f_prefs) f_prefs->ApplyTexts(t);
}

void Tf_main::de1Click() {
    MainState& s = State();
    if (s.de1) return;
    s.en1 = false;
    s.de1 = true;
    SetLanguage(kGermanCode);
}

void Tf_main::en1Click() {
    MainState& s = State();
    if (s.en1) return;
    s.de1 = false;
    s.en1 = true;
    SetLanguage(kEnglishCode);
}

// ---- Plot layout, background and grid width

void Tf_main::LayoutWindow() {
    const MainState& s = State();
    PlotLeft = 2;
    PlotTop = 35;
    PlotWidth = (kHighIndex15 + 1) * s.X_Raster + 83;
    PlotHeight = 265;
    l_Coursor->move(l_Coursor->x(), -15);
    clientHeight_ = csg_Berechnung->y() + csg_Berechnung->height() + kResultsToWindowBottom - kDesignFrameHeight;
    resize(PlotWidth + 30, clientHeight_ + MenuHeight());
    ProcessPendingEvents();
    const int plotWidth = std::max(0, PlotWidth);
    p_Bilder->setGeometry(PlotLeft, PlotTop, plotWidth, PlotHeight);
    for (QWidget* layer :
         {static_cast<QWidget*>(img_Form), static_cast<QWidget*>(img_Layout), static_cast<QWidget*>(img_ZwEbene)})
        layer->setGeometry(0, 0, plotWidth, PlotHeight);
    ProcessPendingEvents();
    p_mittelwert->setGeometry(p_Bilder->x(), p_Bilder->y() + p_Bilder->height() + 3, p_Bilder->width(),
                              p_mittelwert->height());
    const int tableTop = p_mittelwert->y() + p_mittelwert->height() + 3;
    PlaceResultsTable(QRect(p_mittelwert->x(), tableTop, p_mittelwert->width(),
                            std::max(0, ClientHeight() - tableTop - kStatusBarHeight)));
    csg_Berechnung->SetDefaultColWidth((csg_Berechnung->width() - 27) / 6);
    DrawBackground();
    core_.RebuildSeries();
    RefreshWidgets();
}

void Tf_main::PlaceResultsTable(const QRect& geometry) {
    csg_Berechnung->setGeometry(geometry);
    resultsBottomMargin_ = ClientHeight() - (geometry.y() + geometry.height());
}

void Tf_main::ClientResized(int width, int height) {
    clientHeight_ = height;
    StatusBar->setGeometry(0, height - kStatusBarHeight, width, kStatusBarHeight);
    StatusPanel1->setGeometry(kProgressPanelWidth, 0, std::max(0, width - kProgressPanelWidth), kStatusBarHeight);
    const int tableHeight = height - csg_Berechnung->y() - resultsBottomMargin_;
    csg_Berechnung->resize(csg_Berechnung->width(), std::max(0, tableHeight));
}

void Tf_main::DrawBackground() {
    const MainState& s = State();
    QImage backBuffer;
    if (PlotWidth > 0 && PlotHeight > 0) {
        backBuffer = QImage(PlotWidth, PlotHeight, QImage::Format_RGB32);
        backBuffer.fill(Qt::white);
    }
    ProcessPendingEvents();
    BackgroundSettings settings;
    settings.plotWidth = PlotWidth;
    settings.plotHeight = PlotHeight;
    settings.targetLowY = s.TargetLowY;
    settings.targetHighY = s.TargetHighY;
    settings.X_Raster = s.X_Raster;
    settings.startHour = s.StartHour;
    settings.mgDisplay = s.rg_Anzeige != 0;
    settings.germanChecked = s.de1;
    settings.mgUnitText = AnsiText(s.texts.MgUnitText);
    PaintBackground(backBuffer, settings);
    if (backBuffer.isNull()) return;
    {
        QPainter painter(&img_Form->Picture());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, backBuffer);
    }
    img_Form->Changed();
}

void Tf_main::DrawCurve(const CurvePolyline& curve, const QColor& colour, int width) {
    {
        QPainter painter(&img_ZwEbene->Picture());
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPoint at(curve.start.x, curve.start.y);
        for (int i = 0; i < curve.count; ++i) {
            const QPoint to(curve.lineTo[static_cast<size_t>(i)].x, curve.lineTo[static_cast<size_t>(i)].y);
            painter.drawLine(at, to);
            at = to;
        }
    }
    img_ZwEbene->Changed();
}

void Tf_main::N15minRaster1Click() {
    MainState& s = State();
    if (s.N15minRaster1) return;
    core_.EraseCurve();
    ChooseFifteenMinuteGrid(s);
    ProcessPendingEvents();
    LayoutWindow();
}

void Tf_main::N5minRaster1Click() {
    MainState& s = State();
    if (s.N5minRaster1) return;
    core_.EraseCurve();
    ChooseFiveMinuteGrid(s);
    ProcessPendingEvents();
    LayoutWindow();
}

void Tf_main::Breitbild1Click() {
    MainState& s = State();
    core_.EraseCurve();
    ToggleWideView(s);
    ProcessPendingEvents();
    LayoutWindow();
}

// ---- Mouse readout

void Tf_main::img_LayoutMouseMove(int X, int Y) {
    const MainState& s = State();
    if (X < kPlotLeftMargin || Y > PlotHeight - kPlotBottomMargin) {
        l_Coursor->hide();
        return;
    }
    l_Coursor->show();
    l_Coursor->move(l_Coursor->x(), Y + 5);
    // A grid width of 0 or below would divide by zero; the 15-minute width stands in.
    const int raster = s.X_Raster > 0 ? s.X_Raster : kRaster15;
    const int q = (X - kPlotLeftMargin) / raster;
    int hour = q / 4 + s.StartHour;
    while (hour > 23) hour -= 24;
    ReadoutHourText = TwoDigits(hour);
    ReadoutMinuteText = TwoDigits((q % 4) * 15);
    if (Y > 0 && Y <= kZeroRow) {
        const int v = kZeroRow - Y;
        const char separator = s.locale.decimalSeparator;
        const long double scale = s.YScale;
        ReadoutValueText = s.rg_Anzeige == 0 ? FormatFixed(v / scale, 0, 1, separator)
                                             : FormatFixed(kMgPerMmol * v / scale, 0, 0, separator);
        if (IsEnglishCode(s.Sprache)) ReadoutValueText = ReplaceChar(ReadoutValueText, ',', '.');
        l_Coursor->setText(AnsiText(" " + ReadoutHourText + ":" + ReadoutMinuteText + "   " + ReadoutValueText + " "));
        l_Coursor->adjustSize();
    }
    const int left = X < kReadoutSwitchSteps * raster ? X + 5 : X - l_Coursor->width() - 5;
    l_Coursor->move(left, l_Coursor->y());
}

void Tf_main::FormMouseMove() { l_Coursor->hide(); }

// ---- Import and calculation

void Tf_main::ImportSensordaten1Click() {
    const BusyScope busy(*this);
    core_.ClearResults();
    const FixedTextTable& fixed = FixedTexts();
    const QString path = chooser_->ChooseOpenFile(
        this, AnsiText(fixed.importCaption), {AnsiText(fixed.importFilterSensor), AnsiText(fixed.importFilterAll)});
    const QFileInfo file(path);
    if (path.isEmpty() || !file.exists() || file.isDir()) return;
    core_.ReadSensorFile(QFile::encodeName(path).toStdString());
    RefreshWidgets();
    // Closed while the file was read: no day dialog over the closed window.
    if (closing_) return;
    if (f_Sensor && f_Sensor->exec() == Tf_Sensor::kResultOk) core_.BuildMinuteGrid();
}

void Tf_main::Button1Click() {
    const BusyScope busy(*this);
    core_.Button1Click();
}

void Tf_main::UpdateCommandStates() {
    const bool idle = !Busy();
    // A grid-width or language switch in the middle would leave a stale curve or mix
    // decimal separators in one result line.
    for (QAction* command :
         {ImportSensordaten1, AutomBerechnung1, Voreinstellung1, N5minRaster1, N15minRaster1, de1, en1})
        SetEnabled(command, idle);
    if (Button1->isEnabled() != idle) Button1->setEnabled(idle);
}

// ---- Window commands

void Tf_main::AutomBerechnung1Click() {
    const BusyScope busy(*this);
    const QString folder = ChooseBatchFolder();
    if (folder.isEmpty()) return;
    // The batch ends silently; what it left is on screen.
    MainCoreBatchRoad road(core_);
    BatchEvaluation(road).Run(QFile::encodeName(folder).toStdString());
    RefreshWidgets();
}

QString Tf_main::ChooseBatchFolder() {
    const TextTable& t = TextsFor(State().Sprache);
    // The import dialog has no initial folder, so both start at the current folder.
    const QString folder = folderChooser_->ChooseFolder(this, AnsiText(t.folderCaption), QDir::currentPath());
    if (folder.isEmpty() || QFileInfo::exists(folder)) return folder;
    if (!AskYesNo(this, AnsiText(t.folderMissing).arg(folder))) return {};
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
    if (!error) return folder;
    ShowMessageText(this, AnsiText(t.folderNotCreated).arg(folder, QString::fromStdString(error.message())));
    return {};
}

void Tf_main::Voreinstellung1Click() {
    if (!f_prefs || f_prefs->ShowModal() != Tf_prefs::kResultOk) return;
    const BusyScope busy(*this);
    if (const std::optional<std::string> problem = SavePrefs(State()))
        ShowMessageText(this, QString::fromStdString(*problem));
    core_.ShowStatistics();
    DrawBackground();
    Button1Click();
}

void Tf_main::abellen1Click() {
    if (f_Tabellen) f_Tabellen->ShowWindow();
}

void Tf_main::Hilfe1Click() {
    // The page is looked up in the current folder at the moment of the command.
    const bool english = IsEnglishCode(State().Sprache);
    const QFileInfo page(QDir::current(), english ? QStringLiteral("help.htm") : QStringLiteral("Hilfe.htm"));
    if (page.isFile())
        QDesktopServices::openUrl(QUrl::fromLocalFile(page.absoluteFilePath()));
    else
        ShowMessage(this, TextsFor(State().Sprache).helpNotFound);
}

void Tf_main::InfoClick() {
    if (AboutBox) AboutBox->ShowModal();
}

void Tf_main::Beenden1Click() { close(); }

// ---- Showing the state

void Tf_main::RefreshWidgets() {
    const MainState& s = State();
    const std::pair<TConvEdit*, const NumericEdit*> edits[] = {
        {ce_PID, &s.ce_PID}, {ce_Mittelwert, &s.ce_Mittelwert}, {ce_StdAbw, &s.ce_StdAbw}, {ce_ZELK, &s.ce_ZELK}};
    for (const auto& [edit, model] : edits) {
        const QSignalBlocker blocker(edit);
        edit->ShowModel(*model);
    }
    const StringGrid& grid = s.csg_Berechnung;
    if (grid.Revision() != shownGridRevision_) {
        csg_Berechnung->SetRowCount(grid.RowCount());
        for (int row = 0; row < grid.RowCount(); ++row)
            for (int col = 0; col < grid.ColCount(); ++col)
                csg_Berechnung->SetCells(col, row, QString::fromStdString(GreekToUtf8(grid.Cell(col, row))));
        shownGridRevision_ = grid.Revision();
    }
    SetChecked(cb_Startwert, s.cb_Startwert);
    SetChecked(cb_Endwert, s.cb_Endwert);
    SetLabelText(l_Datum, AnsiText(s.l_Datum));
    SetLabelText(Label4, AnsiText(s.Label4Caption));
    SetChecked(de1, s.de1);
    SetChecked(en1, s.en1);
    SetChecked(N5minRaster1, s.N5minRaster1);
    SetChecked(N15minRaster1, s.N15minRaster1);
    SetChecked(Breitbild1, s.Breitbild1);
    SetEnabled(Breitbild1, s.Breitbild1Enabled);
    if (f_Sensor) f_Sensor->RefreshFromState();
}

}  // namespace zelk

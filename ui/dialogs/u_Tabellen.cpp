#include "ui/dialogs/u_Tabellen.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QToolButton>
#include <algorithm>

#include "components/NumberText.h"
#include "data/Errors.h"
#include "data/TextNumber.h"
#include "ui/Fonts.h"
#include "ui/Messages.h"
#include "ui/QtText.h"
#include "ui/WidgetHelpers.h"
#include "windowlogic/TextTables.h"

namespace zelk {
namespace {

constexpr int kRowHeight = 18;
constexpr int kIndicatorWidth = 12;
constexpr int kFloatDigits = 15;
constexpr int kNavigatorButtonWidth = 42;
constexpr int kNavigatorHeight = 25;

// The text of an edited cell as the value of a field of the given kind.
FieldValue ParseField(FieldKind kind, const QString& text, char decimalSeparator) {
    const std::string ansi = ToAnsi(text);
    if (kind == FieldKind::Text) return ansi;
    const std::string_view trimmed = TrimControl(ansi);
    if (trimmed.empty()) return std::monostate{};
    if (kind == FieldKind::Integer) {
        if (const auto value = TextToIntOrHex(trimmed)) return *value;
        throw ConversionError("'" + ansi + "'" + FixedTexts().notAnInteger);
    }
    if (const auto value = TextToFloat(trimmed, decimalSeparator)) return static_cast<double>(*value);
    throw ConversionError("'" + ansi + "'" + FixedTexts().notAFloat);
}

QToolButton* MakeNavigatorButton(const QString& glyph, const QString& hint, const char* name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(glyph);
    button->setToolTip(hint);
    button->setAutoRaise(false);
    return button;
}

}  // namespace

// ---- DatasetModel --------------------------------------------------------------

DatasetModel::DatasetModel(Dataset& dataset, const char& decimalSeparator, QObject* parent)
    : QAbstractTableModel(parent), dataset_(dataset), decimalSeparator_(decimalSeparator) {
    rows_ = dataset_.RowCount();
    shownCurrent_ = rows_ > 0 ? dataset_.CurrentRow() : -1;
    handle_ = dataset_.Subscribe([this](const DatasetChange& change) { OnChange(change); });
}

DatasetModel::~DatasetModel() { dataset_.Unsubscribe(handle_); }

int DatasetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(dataset_.Fields().size());
}

QString DatasetModel::CellText(int row, int field) const {
    const FieldValue value = dataset_.Value(row, field);
    if (const auto* i = std::get_if<int>(&value)) return QString::number(*i);
    if (const auto* d = std::get_if<double>(&value))
        return QString::fromStdString(FloatToStrF(*d, FloatFormat::General, kFloatDigits, 0, decimalSeparator_));
    if (const auto* s = std::get_if<std::string>(&value)) return AnsiText(*s);
    return {};
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    // The views may ask before a pending reset has told them of fewer rows.
    if (!index.isValid() || index.row() >= rows_ || index.row() >= dataset_.RowCount()) return {};
    const int field = index.column();
    if (role == Qt::DisplayRole || role == Qt::EditRole) return CellText(index.row(), field);
    if (role == Qt::TextAlignmentRole) {
        const bool number = dataset_.Fields()[static_cast<size_t>(field)].kind != FieldKind::Text;
        return static_cast<int>(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    return {};
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal) {
        const auto& fields = dataset_.Fields();
        if (section < 0 || section >= static_cast<int>(fields.size())) return {};
        return QString::fromLatin1(fields[static_cast<size_t>(section)].name);
    }
    return section == shownCurrent_ ? QStringLiteral("\u25B6") : QString();
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= dataset_.RowCount()) return false;
    const int field = index.column();
    try {
        const FieldKind kind = dataset_.Fields()[static_cast<size_t>(field)].kind;
        const int row = dataset_.SetValue(index.row(), field, ParseField(kind, value.toString(), decimalSeparator_));
        if (row >= 0) dataset_.SetCurrentRow(row);
        return true;
    } catch (const ZelkError& error) {
        if (showError) showError(error);
        return false;
    }
}

void DatasetModel::OnChange(const DatasetChange& change) {
    switch (change.kind) {
    case DatasetChange::Kind::RowChanged:
        if (change.row >= 0) {
            changedFirst_ = changedFirst_ < 0 ? change.row : std::min(changedFirst_, change.row);
            changedLast_ = std::max(changedLast_, change.row);
        }
        break;
    case DatasetChange::Kind::CurrentChanged: currentPending_ = true; break;
    default: resetPending_ = true; break;
    }
    Schedule();
}

void DatasetModel::Schedule() {
    if (scheduled_) return;
    scheduled_ = true;
    QMetaObject::invokeMethod(this, &DatasetModel::Flush, Qt::QueuedConnection);
}

void DatasetModel::Flush() {
    scheduled_ = false;
    if (resetPending_) {
        beginResetModel();
        rows_ = dataset_.RowCount();
        shownCurrent_ = rows_ > 0 ? dataset_.CurrentRow() : -1;
        endResetModel();
        resetPending_ = false;
        currentPending_ = true;
    } else if (changedFirst_ >= 0 && rows_ > 0) {
        const int first = std::min(changedFirst_, rows_ - 1);
        const int last = std::min(changedLast_, rows_ - 1);
        emit dataChanged(index(first, 0), index(last, columnCount() - 1));
    }
    changedFirst_ = changedLast_ = -1;
    if (currentPending_) {
        currentPending_ = false;
        const int previous = shownCurrent_;
        shownCurrent_ = rows_ > 0 ? std::min(dataset_.CurrentRow(), rows_ - 1) : -1;
        if (previous >= 0 && previous < rows_) emit headerDataChanged(Qt::Vertical, previous, previous);
        if (shownCurrent_ >= 0) emit headerDataChanged(Qt::Vertical, shownCurrent_, shownCurrent_);
        emit currentRowChanged(shownCurrent_);
    }
}

// ---- DBNavigator ---------------------------------------------------------------

DBNavigator::DBNavigator(DatasetModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    const FixedTextTable& t = FixedTexts();
    First = MakeNavigatorButton(QStringLiteral("|\u25C0"), AnsiText(t.navFirst), "First", this);
    Prior = MakeNavigatorButton(QStringLiteral("\u25C0"), AnsiText(t.navPrior), "Prior", this);
    Next = MakeNavigatorButton(QStringLiteral("\u25B6"), AnsiText(t.navNext), "Next", this);
    Last = MakeNavigatorButton(QStringLiteral("\u25B6|"), AnsiText(t.navLast), "Last", this);
    int left = 0;
    for (QToolButton* button : {First, Prior, Next, Last}) {
        button->setGeometry(left, 0, kNavigatorButtonWidth, kNavigatorHeight);
        left += kNavigatorButtonWidth;
    }

    Dataset& dataset = model_.Data();
    connect(First, &QToolButton::clicked, this, [&dataset] { dataset.SetCurrentRow(0); });
    connect(Prior, &QToolButton::clicked, this, [&dataset] { dataset.SetCurrentRow(dataset.CurrentRow() - 1); });
    connect(Next, &QToolButton::clicked, this, [&dataset] { dataset.SetCurrentRow(dataset.CurrentRow() + 1); });
    connect(Last, &QToolButton::clicked, this, [&dataset] { dataset.SetCurrentRow(dataset.RowCount() - 1); });
    connect(&model_, &DatasetModel::currentRowChanged, this, [this] { UpdateButtons(); });
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] { UpdateButtons(); });
    UpdateButtons();
}

void DBNavigator::UpdateButtons() {
    const int rows = model_.rowCount();
    const int current = model_.Data().CurrentRow();
    First->setEnabled(rows > 0 && current > 0);
    Prior->setEnabled(rows > 0 && current > 0);
    Next->setEnabled(rows > 0 && current < rows - 1);
    Last->setEnabled(rows > 0 && current < rows - 1);
}

// ---- DataGrid ------------------------------------------------------------------

DataGrid::DataGrid(QWidget* parent) : QTableView(parent) {}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    const bool editing = state() == QAbstractItemView::EditingState;
    if (!editing && event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        emit insertPressed();
        return;
    }
    if (!editing && event->key() == Qt::Key_Delete && event->modifiers() == Qt::ControlModifier) {
        emit deletePressed();
        return;
    }
    QTableView::keyPressEvent(event);
}

// ---- Tf_Tabellen ---------------------------------------------------------------

Tf_Tabellen::Tf_Tabellen(MainState& state, QWidget* parent) : QWidget(parent), state_(state) { Build(); }

Tf_Tabellen::~Tf_Tabellen() {
    // The views and models go before the datasets they watch.
    delete DBNavigator1;
    delete DBNavigator2;
    delete dbg_SensorTab;
    delete dbg_WerteTab;
    delete ds_SensorTab;
    delete ds_WerteTab;
}

void Tf_Tabellen::Build() {
    setObjectName(QStringLiteral("f_Tabellen"));
    setWindowFlags(Qt::Window);
    const FixedTextTable& t = FixedTexts();
    setWindowTitle(AnsiText(t.tabellenCaption));
    setFont(VerdanaLike(11));
    move(254, 206);
    resize(870, 510);

    showError = [this](const std::exception& error) { ShowException(this, error); };
    confirmDelete = [this](const QString& question) {
        return QMessageBox::question(this, AnsiText(FixedTexts().confirmCaption), question,
                                     QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
    };

    ds_SensorTab = new DatasetModel(state_.sensorTab, state_.locale.decimalSeparator, this);
    ds_WerteTab = new DatasetModel(state_.werteTab, state_.locale.decimalSeparator, this);
    for (DatasetModel* model : {ds_SensorTab, ds_WerteTab})
        model->showError = [this](const std::exception& error) {
            if (showError) showError(error);
        };

    dbg_SensorTab = MakeGrid(ds_SensorTab, QRect(0, 24, 401, 409), {80, 100, 60, 120}, "dbg_SensorTab");
    dbg_WerteTab = MakeGrid(ds_WerteTab, QRect(464, 24, 340, 409), {60, 120, 120}, "dbg_WerteTab");

    DBNavigator1 = new DBNavigator(*ds_SensorTab, this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setGeometry(272, 440, 168, 25);
    DBNavigator2 = new DBNavigator(*ds_WerteTab, this);
    DBNavigator2->setObjectName(QStringLiteral("DBNavigator2"));
    DBNavigator2->setGeometry(672, 439, 168, 25);

    Label1 = MakeLabel(AnsiText(t.tabellenSensorTab), 40, 6, this, "Label1");
    Label2 = MakeLabel(AnsiText(t.tabellenWerteTab), 496, 6, this, "Label2");
    for (QLabel* label : {Label1, Label2}) {
        label->setFont(VerdanaLike(13));
        label->adjustSize();
    }

    setTabOrder(dbg_SensorTab, dbg_WerteTab);
    setTabOrder(dbg_WerteTab, DBNavigator1);
    setTabOrder(DBNavigator1, DBNavigator2);
}

DataGrid* Tf_Tabellen::MakeGrid(DatasetModel* model, const QRect& place, std::initializer_list<int> widths,
                                const char* name) {
    auto* grid = new DataGrid(this);
    grid->setObjectName(QLatin1String(name));
    grid->setGeometry(place);
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setWordWrap(false);
    grid->horizontalHeader()->setFont(VerdanaLike(11));
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setSectionsMovable(false);
    QHeaderView* rowsHeader = grid->verticalHeader();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setDefaultSectionSize(kRowHeight);
    rowsHeader->setMinimumSectionSize(kRowHeight);
    rowsHeader->setFixedWidth(kIndicatorWidth);
    rowsHeader->setDefaultAlignment(Qt::AlignCenter);
    int column = 0;
    for (const int width : widths) grid->setColumnWidth(column++, width);

    // The grid's current cell and the dataset's current row follow each other.
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, model,
            [model](const QModelIndex& current) {
                if (current.isValid()) model->Data().SetCurrentRow(current.row());
            });
    connect(model, &DatasetModel::currentRowChanged, grid, [grid, model](int row) {
        if (row < 0) return;
        const QModelIndex now = grid->currentIndex();
        if (now.isValid() && now.row() == row) return;
        grid->setCurrentIndex(model->index(row, now.isValid() ? now.column() : 0));
    });
    connect(grid, &DataGrid::insertPressed, this, [this, model] { InsertRow(*model); });
    connect(grid, &DataGrid::deletePressed, this, [this, model] { DeleteRow(*model); });
    return grid;
}

void Tf_Tabellen::InsertRow(DatasetModel& model) {
    try {
        const int row = model.Data().AppendEmptyRow();
        if (row >= 0) model.Data().SetCurrentRow(row);
    } catch (const ZelkError& error) {
        if (showError) showError(error);
    }
}

void Tf_Tabellen::DeleteRow(DatasetModel& model) {
    Dataset& dataset = model.Data();
    if (dataset.RowCount() == 0) return;
    if (confirmDelete && !confirmDelete(AnsiText(FixedTexts().confirmDelete))) return;
    try {
        dataset.DeleteRow(dataset.CurrentRow());
    } catch (const ZelkError& error) {
        if (showError) showError(error);
    }
}

void Tf_Tabellen::ShowWindow() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

}  // namespace zelk

#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <QWidget>
#include <exception>
#include <functional>

#include "data/Dataset.h"
#include "windowlogic/MainState.h"

class QLabel;
class QToolButton;

namespace zelk {

// A table model over a dataset: one column per field, the field names as titles,
// the current row marked in the row header, cells editable. It follows every
// change of the dataset; the notifications of one event-loop turn become one
// model reset (or one dataChanged for edited rows), so long imports stay fast.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // `decimalSeparator` is read at every use, so it follows the locale it belongs to.
    DatasetModel(Dataset& dataset, const char& decimalSeparator, QObject* parent = nullptr);
    ~DatasetModel() override;
    DatasetModel(const DatasetModel&) = delete;
    DatasetModel& operator=(const DatasetModel&) = delete;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Writes the edited text into the field; a refused change shows the error and
    // leaves the old value.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    Dataset& Data() const { return dataset_; }
    // The text of a field as the grid shows it.
    QString CellText(int row, int field) const;

    // Applies the changes reported so far at once.
    void Flush();

    // Shows an error of an edit; set by the window.
    std::function<void(const std::exception&)> showError;

signals:
    // The dataset's current row, after the model has caught up with the dataset.
    void currentRowChanged(int row);

private:
    void OnChange(const DatasetChange& change);
    void Schedule();

    Dataset& dataset_;
    const char& decimalSeparator_;
    int handle_ = 0;
    int rows_ = 0;           // the row count the views know
    int shownCurrent_ = -1;  // the row the header marks
    bool scheduled_ = false;
    bool resetPending_ = false;
    bool currentPending_ = false;
    int changedFirst_ = -1;
    int changedLast_ = -1;
};

// The four buttons first, prior, next and last that move a dataset's current row.
class DBNavigator : public QWidget {
    Q_OBJECT
public:
    DBNavigator(DatasetModel& model, QWidget* parent);

    QToolButton* First = nullptr;
    QToolButton* Prior = nullptr;
    QToolButton* Next = nullptr;
    QToolButton* Last = nullptr;

private:
    void UpdateButtons();

    DatasetModel& model_;
};

// A table view that adds a row on Insert and deletes the current one on Ctrl+Delete.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent);

signals:
    void insertPressed();
    void deletePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The table window: the readings SensorTab and the minute grid WerteTab side by
// side, editable, each with its navigator. It has one instance; a second show
// brings it to the front.
class Tf_Tabellen : public QWidget {
    Q_OBJECT
public:
    Tf_Tabellen(MainState& state, QWidget* parent);
    ~Tf_Tabellen() override;

    // Shows the window without a modal loop, or brings it to the front.
    void ShowWindow();

    // The message box for a refused edit and the question before a deletion;
    // replaceable, so tests can answer them.
    std::function<void(const std::exception&)> showError;
    std::function<bool(const QString&)> confirmDelete;

    DatasetModel* ds_SensorTab = nullptr;
    DatasetModel* ds_WerteTab = nullptr;
    DataGrid* dbg_SensorTab = nullptr;
    DataGrid* dbg_WerteTab = nullptr;
    DBNavigator* DBNavigator1 = nullptr;
    DBNavigator* DBNavigator2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;

private:
    void Build();
    DataGrid* MakeGrid(DatasetModel* model, const QRect& place, std::initializer_list<int> widths, const char* name);
    void InsertRow(DatasetModel& model);
    void DeleteRow(DatasetModel& model);

    MainState& state_;
};

}  // namespace zelk

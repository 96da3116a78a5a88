#pragma once

#include <QDialog>
#include <string_view>

#include "windowlogic/MainState.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zelk {

// The day dialog: the days of the file just read, the grid step, and the preview of
// the first five days. It shows and edits the day-dialog part of the main state.
// Its modal result is 1 for "weiter" with a chosen day and 3 for "Abbruch".
class Tf_Sensor : public QDialog {
    Q_OBJECT
public:
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 3;

    Tf_Sensor(MainState& state, QWidget* parent);

    void FormShow();
    void Button1Click();
    void Button3Click();
    // Minutes of the day of a clock text HH:MM; a pair that is no number counts 0.
    static int TimeToMinutes(std::string_view clockText);

    void ApplyTexts(const TextTable& texts);
    // Shows the day list, its selection and the grid step of the state.
    void RefreshFromState();

    QPushButton* Button1 = nullptr;
    QListWidget* lb_Sensor = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label14 = nullptr;
    QComboBox* cb_Raster = nullptr;
    QPushButton* Button3 = nullptr;
    QLabel* l_charTag = nullptr;
    QGroupBox* rg_Art = nullptr;
    QRadioButton* rg_ArtMesswerte = nullptr;
    QRadioButton* rg_ArtVergleichswerte = nullptr;

public slots:
    // The dialog has no close box; it ends through its two buttons only.
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;

private:
    DayDialogState& Day() { return state_.f_Sensor; }

    MainState& state_;
};

}  // namespace zelk

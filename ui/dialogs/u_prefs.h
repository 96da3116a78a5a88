#pragma once

#include <QDialog>
#include <QGroupBox>
#include <vector>

#include "windowlogic/MainState.h"

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace zelk {

// A radio group that shows an item index held elsewhere and writes the user's
// choice straight into it. An index of -1 shows no item chosen.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(int& itemIndex, const QString& caption, QWidget* parent);

    void SetItems(const QStringList& items);
    int ItemIndex() const { return itemIndex_; }
    // Limits the index as a radio group does (at or above the count: the last item;
    // below 0: none), stores it and shows it.
    void SetItemIndex(int index);
    // Shows the stored index again.
    void Refresh();
    QRadioButton* Button(int item) const { return buttons_.at(static_cast<size_t>(item)); }

private:
    int& itemIndex_;
    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
};

// The preferences dialog: the import unit and the display unit. Its two radio
// groups are views of MainState::rg_Import and rg_Anzeige, the program's only copy
// of the two choices. Modal result 1 for "übernehmen", 3 for "Abbruch".
class Tf_prefs : public QDialog {
    Q_OBJECT
public:
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 3;

    Tf_prefs(MainState& state, QWidget* parent);

    // Shows the dialog modally and returns its modal result.
    int ShowModal() { return exec(); }

    // Both groups from the section "Prefs" of the settings file at IniPath.
    void LoadPrefs();
    void FormShow();
    void Button2Click();
    // Caption, group captions and button texts of a language's text table.
    void ApplyTexts(const TextTable& texts);

    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    RadioGroup* rg_Import = nullptr;
    RadioGroup* rg_Anzeige = nullptr;

public slots:
    // The dialog has no close box; it ends through its two buttons only.
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;

private:
    MainState& state_;
    bool placed_ = false;
};

}  // namespace zelk

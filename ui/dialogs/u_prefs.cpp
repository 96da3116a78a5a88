#include "ui/dialogs/u_prefs.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "ui/Fonts.h"
#include "ui/QtText.h"
#include "ui/WidgetHelpers.h"
#include "windowlogic/Settings.h"

namespace zelk {
namespace {

// Places of the items as a radio group of 97 x 69 pixels arranges two of them.
constexpr int kItemLeft = 8;
constexpr int kItemTop = 14;
constexpr int kItemWidth = 87;
constexpr int kItemHeight = 25;

}  // namespace

RadioGroup::RadioGroup(int& itemIndex, const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent), itemIndex_(itemIndex), group_(new QButtonGroup(this)) {
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) itemIndex_ = id;
    });
}

void RadioGroup::SetItems(const QStringList& items) {
    for (qsizetype i = static_cast<qsizetype>(buttons_.size()); i < items.size(); ++i) {
        auto* button = new QRadioButton(this);
        button->setGeometry(kItemLeft, kItemTop + static_cast<int>(i) * kItemHeight, kItemWidth, kItemHeight);
        group_->addButton(button, static_cast<int>(i));
        buttons_.push_back(button);
    }
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const bool used = static_cast<qsizetype>(i) < items.size();
        buttons_[i]->setText(used ? items[static_cast<qsizetype>(i)] : QString());
        buttons_[i]->setVisible(used);
    }
    Refresh();
}

void RadioGroup::SetItemIndex(int index) {
    itemIndex_ = LimitRadioIndex(index, static_cast<int>(buttons_.size()));
    Refresh();
}

void RadioGroup::Refresh() {
    if (buttons_.empty()) return;
    const int index = LimitRadioIndex(itemIndex_, static_cast<int>(buttons_.size()));
    // An exclusive group cannot show no choice; uncheck with the exclusion off.
    group_->setExclusive(false);
    for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->setChecked(static_cast<int>(i) == index);
    group_->setExclusive(true);
    itemIndex_ = index;
}

Tf_prefs::Tf_prefs(MainState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("f_prefs"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    const TextTable& de = GermanTexts();
    setWindowTitle(AnsiText(de.prefsCaption));
    setFont(VerdanaLike(11));
    setFixedSize(361, 195);

    Button1 = MakeButton(AnsiText(de.prefsButton1), QRect(156, 156, 90, 25), this, "Button1");
    connect(Button1, &QPushButton::clicked, this, [this] { done(kResultOk); });
    Button2 = MakeButton(AnsiText(de.prefsButton2), QRect(252, 156, 90, 25), this, "Button2");
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

    const QStringList designItems{AnsiText(de.MmolUnitText), AnsiText(de.MgUnitText)};
    rg_Import = new RadioGroup(state_.rg_Import, AnsiText(de.prefsImport), this);
    rg_Import->setObjectName(QStringLiteral("rg_Import"));
    rg_Import->setGeometry(44, 32, 97, 69);
    rg_Import->SetItems(designItems);
    rg_Anzeige = new RadioGroup(state_.rg_Anzeige, AnsiText(de.prefsAnzeige), this);
    rg_Anzeige->setObjectName(QStringLiteral("rg_Anzeige"));
    rg_Anzeige->setGeometry(172, 32, 97, 69);
    rg_Anzeige->SetItems(designItems);

    setTabOrder(Button1, Button2);
    setTabOrder(Button2, rg_Import);
    setTabOrder(rg_Import, rg_Anzeige);
    Button1->setFocus();
}

void Tf_prefs::showEvent(QShowEvent* event) {
    FormShow();
    if (!placed_) {
        // Centred on the main window the first time; later showings keep the place.
        const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
        const QRect around = owner != nullptr      ? owner->frameGeometry()
                             : screen() != nullptr ? screen()->geometry()
                                                   : QRect();
        if (around.isValid()) {
            QRect frame = frameGeometry();
            frame.moveCenter(around.center());
            move(frame.topLeft());
        }
        placed_ = true;
    }
    QDialog::showEvent(event);
}

void Tf_prefs::LoadPrefs() {
    zelk::LoadPrefs(state_);
    rg_Import->Refresh();
    rg_Anzeige->Refresh();
}

void Tf_prefs::FormShow() {
    LoadPrefs();
    ApplyTexts(TextsFor(state_.Sprache));
    const QStringList units{AnsiText(state_.texts.MmolUnitText), AnsiText(state_.texts.MgUnitText)};
    rg_Import->SetItems(units);
    rg_Anzeige->SetItems(units);
}

void Tf_prefs::ApplyTexts(const TextTable& texts) {
    setWindowTitle(AnsiText(texts.prefsCaption));
    rg_Import->setTitle(AnsiText(texts.prefsImport));
    rg_Anzeige->setTitle(AnsiText(texts.prefsAnzeige));
    Button1->setText(AnsiText(texts.prefsButton1));
    Button2->setText(AnsiText(texts.prefsButton2));
}

void Tf_prefs::Button2Click() {
    LoadPrefs();
    done(kResultCancel);
}

}  // namespace zelk

#include "ui/ConvEdit.h"

#include "data/CodePages.h"

namespace zelk {

TConvEdit::TConvEdit(QWidget* parent) : QLineEdit(parent) { ApplyAlignment(); }

void TConvEdit::SetAlignment(zelk::Alignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    ApplyAlignment();
}

void TConvEdit::ApplyAlignment() {
    Qt::Alignment horizontal = Qt::AlignLeft;
    switch (alignment_) {
    case zelk::Alignment::LeftJustify: horizontal = Qt::AlignLeft; break;
    case zelk::Alignment::RightJustify: horizontal = Qt::AlignRight; break;
    case zelk::Alignment::Center: horizontal = Qt::AlignHCenter; break;
    }
    setAlignment(horizontal | Qt::AlignVCenter);
    ++alignmentChanges_;
}

void TConvEdit::SetValue(long double value) {
    setText(QString::fromStdString(AnsiToUtf8(FloatToStrF(value, format_, precision_, digits_, decimalSeparator_))));
}

void TConvEdit::ShowModel(const NumericEdit& model) {
    digits_ = model.Digits;
    precision_ = model.Precision;
    format_ = model.Format;
    SetAlignment(model.Alignment);
    const QString shown = QString::fromStdString(AnsiToUtf8(model.Text));
    if (text() != shown) setText(shown);
}

}  // namespace zelk

#pragma once

#include <QLineEdit>

#include "components/NumericEdit.h"

namespace zelk {

// A single-line edit that shows a floating-point value with its own number format,
// precision and number of decimals, and a horizontal text alignment.
class TConvEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TConvEdit(QWidget* parent = nullptr);

    int Digits() const { return digits_; }
    void SetDigits(int digits) { digits_ = digits; }
    int Precision() const { return precision_; }
    void SetPrecision(int precision) { precision_ = precision; }
    FloatFormat Format() const { return format_; }
    void SetFormat(FloatFormat format) { format_ = format; }
    zelk::Alignment Alignment() const { return alignment_; }
    // Changes the text position only when the alignment differs from the stored one.
    void SetAlignment(zelk::Alignment alignment);
    // How often the alignment was applied to the edit; SetAlignment with the stored
    // value leaves it unchanged.
    int AlignmentChanges() const { return alignmentChanges_; }

    char DecimalSeparator() const { return decimalSeparator_; }
    void SetDecimalSeparator(char separator) { decimalSeparator_ = separator; }

    // The value as text with Format, Precision and Digits; the settings stay.
    void SetValue(long double value);

    // Takes settings and text of a numeric edit model, touching only what differs.
    void ShowModel(const NumericEdit& model);

private:
    void ApplyAlignment();

    int digits_ = 2;
    int precision_ = 6;
    FloatFormat format_ = FloatFormat::Fixed;
    zelk::Alignment alignment_ = zelk::Alignment::LeftJustify;
    char decimalSeparator_ = '.';
    int alignmentChanges_ = 0;
};

}  // namespace zelk

#include "windowlogic/StatisticsDisplay.h"

#include "data/TextNumber.h"
#include "data/Units.h"

namespace zelk {

void ShowStatistics(MainState& s) {
    const char sep = s.locale.decimalSeparator;
    if (s.rg_Anzeige == 0) {
        s.ce_Mittelwert.Digits = 2;
        s.ce_StdAbw.Digits = 2;
        s.ce_ZELK.Digits = 1;
        s.ce_Mittelwert.SetValue(s.series.MeanGlucose, sep);
        s.ce_StdAbw.SetValue(s.series.SdGlucose, sep);
        s.Label4Caption = s.texts.MmolUnitText;
    } else {
        s.ce_Mittelwert.Digits = 0;
        s.ce_StdAbw.Digits = 0;
        s.ce_ZELK.Digits = 0;
        s.ce_Mittelwert.SetValue(kMgPerMmol * s.series.MeanGlucose, sep);
        s.ce_StdAbw.SetValue(kMgPerMmol * s.series.SdGlucose, sep);
        s.Label4Caption = s.texts.MgUnitText;
    }
}

void EditsToPoint(MainState& s) {
    for (NumericEdit* edit : {&s.ce_Mittelwert, &s.ce_StdAbw, &s.ce_ZELK})
        edit->Text = ReplaceChar(std::move(edit->Text), ',', '.');
}

void EditsToComma(MainState& s) {
    for (NumericEdit* edit : {&s.ce_Mittelwert, &s.ce_StdAbw, &s.ce_ZELK})
        edit->Text = ReplaceChar(std::move(edit->Text), '.', ',');
}

void GridToPoint(MainState& s) {
    StringGrid& grid = s.csg_Berechnung;
    const int rows = grid.RowCount();
    for (int r = 1; r < rows; ++r)
        for (const int c : {2, 4, 5}) grid.SetCell(c, r, ReplaceChar(grid.Cell(c, r), ',', '.'));
}

}  // namespace zelk

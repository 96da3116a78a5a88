#include "windowlogic/StateCalculation.h"

#include "windowlogic/StatisticsDisplay.h"

namespace zelk {

ResultsCalculation CalculationOn(MainState& state, const WindowHooks& hooks) {
    const CalculationInput input{state.series,
                                 state.cb_Startwert,
                                 state.cb_Endwert,
                                 state.rg_Anzeige,
                                 state.locale.decimalSeparator,
                                 state.StartHour,
                                 state.texts.PeakHeader,
                                 state.texts.NadirHeader};
    const CalculationOutput output{state.markers,  state.csg_Berechnung, state.ce_ZELK,      state.PeakFirst,
                                   state.PeakRows, state.NadirRows,      state.FirstRowIndex};
    CalculationHooks around{hooks, {}, {}};
    around.beforeRun = [&state] {
        if (state.en1) EditsToComma(state);
    };
    around.afterRun = [&state] {
        if (state.en1) {
            EditsToPoint(state);
            GridToPoint(state);
        }
    };
    return ResultsCalculation(input, output, std::move(around));
}

}  // namespace zelk

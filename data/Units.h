#pragma once

namespace zelk {

// Glucose in mg/dL per mmol/L, the factor every unit conversion uses.
inline constexpr long double kMgPerMmol = 18.0L;

}  // namespace zelk

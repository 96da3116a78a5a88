#pragma once

#include "data/ShortText.h"

namespace zelk {

inline constexpr int kTextFieldSize = 20;

// One reading: ID, Datum (lower case), Zeit, BG_Wert in mmol/L.
struct SensorRow {
    double bgWert = 0.0;
    int id = 0;
    ShortText<kTextFieldSize> datum;
    ShortText<kTextFieldSize> zeit;
    bool idNull = false;
    bool bgNull = false;
};

// Key order: Datum, then Zeit, byte by byte, a shorter text before a longer one it starts.
inline int CompareKey(const SensorRow& row, std::string_view datum, std::string_view zeit) {
    const int c = Compare(row.datum, datum);
    return c != 0 ? c : Compare(row.zeit, zeit);
}

inline int CompareRows(const SensorRow& a, const SensorRow& b) { return CompareKey(a, b.datum.View(), b.zeit.View()); }

}  // namespace zelk

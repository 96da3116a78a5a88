#include "data/ClockReadings.h"

#include "data/ShortText.h"

namespace zelk {
namespace {

// hh * 100 + mm of a text "hh:mm" in digits, or -1.
int ClockValue(std::string_view zeit) {
    if (zeit.size() != 5 || zeit[2] != ':') return -1;
    int value = 0;
    for (const size_t i : {0u, 1u, 3u, 4u}) {
        const unsigned digit = static_cast<unsigned char>(zeit[i]) - unsigned{'0'};
        if (digit > 9) return -1;
        value = value * 10 + static_cast<int>(digit);
    }
    return value;
}

}  // namespace

bool ClockReadings::Load(const SensorRowStore& store, std::string_view datum) {
    readings_.clear();
    next_ = 0;
    for (SensorRowStore::Walker walker(store, store.LowerBound(datum, {})); !walker.AtEnd(); walker.Next()) {
        const SensorRow& row = walker.Row();
        if (CompareTexts(row.datum.View(), datum) != 0) break;
        const int clock = ClockValue(row.zeit.View());
        if (clock < 0) return false;
        readings_.push_back({clock, &row});
    }
    return true;
}

float ClockReadings::NextWindowMean(int first, int last) {
    while (next_ < readings_.size() && readings_[next_].clock < first) ++next_;
    WindowSum sum;
    for (; next_ < readings_.size() && readings_[next_].clock <= last; ++next_) sum.Add(*readings_[next_].row);
    return sum.Mean();
}

}  // namespace zelk

#pragma once

#include <string_view>
#include <vector>

#include "data/SensorRowStore.h"

namespace zelk {

// A window's mean as the grid takes it: valued readings added in single precision
// through extended precision, in the order given.
class WindowSum {
public:
    void Add(const SensorRow& row) {
        if (!row.bgNull && row.bgWert > 0.0) {
            sum_ = static_cast<float>(static_cast<long double>(sum_) + row.bgWert);
            ++count_;
        }
    }
    // One reading is its own mean; the division, exact by one, is left out.
    float Mean() const {
        if (count_ <= 1) return sum_;
        return static_cast<float>(static_cast<long double>(sum_) / count_);
    }

private:
    float sum_ = 0.0f;
    int count_ = 0;
};

// The readings of one Datum when all its times are "hh:mm" in digits, by their clock
// value (hh * 100 + mm), which orders them as their texts do. The means of windows
// that follow each other through the day then take one pass over the readings.
class ClockReadings {
public:
    // False when a time of the Datum has another form.
    bool Load(const SensorRowStore& store, std::string_view datum);
    // The mean of the readings from clock value `first` to `last`; windows come in
    // order, none before the one asked for last.
    float NextWindowMean(int first, int last);

private:
    struct Reading {
        int clock;
        const SensorRow* row;
    };
    std::vector<Reading> readings_;
    size_t next_ = 0;
};

}  // namespace zelk

#pragma once

#include <array>
#include <vector>

#include "data/Dataset.h"

namespace zelk {

inline constexpr int kGridMinutes = 4320;

struct WerteRow {
    int minute = 0;
    double glukose = 0.0;
    double bgNeu = 0.0;
    bool minuteNull = false;
    bool glukoseNull = true;
    bool bgNeuNull = true;
};

// The minute grid: rows ordered by Minute (an empty Minute first), Glukose and the
// comparison column BG_Neu. An empty float reads as 0.
class WerteTab final : public Dataset {
public:
    const std::vector<FieldDef>& Fields() const override;
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    FieldValue Value(int row, int field) const override;
    int SetValue(int row, int field, const FieldValue& value) override;
    int AppendEmptyRow() override;
    void DeleteRow(int row) override;

    // Makes the 4320 rows, minutes 0 to 4319; the first minute of each hour of the
    // first two days carries demoValues[hour], every other row 0.0.
    void CreateWithDemo(const std::array<float, 48>& demoValues);

    // Empties Glukose in every row.
    void ClearGlukose();
    // Exact key search: the row holding this minute, or -1.
    int FindKey(int minute) const;
    // Edits and posts Glukose of a row.
    void SetGlukose(int row, double value);
    // Glukose of a row; an empty field reads as 0.
    double Glukose(int row) const {
        const WerteRow& r = rows_[static_cast<size_t>(row)];
        return r.glukoseNull ? 0.0 : r.glukose;
    }
    bool GlukoseEmpty(int row) const { return rows_[static_cast<size_t>(row)].glukoseNull; }
    int Minute(int row) const { return rows_[static_cast<size_t>(row)].minute; }
    bool MinuteEmpty(int row) const { return rows_[static_cast<size_t>(row)].minuteNull; }

    // Stops change notification for bulk edits; the closing call sends one reset.
    void BeginBulk() { ++bulk_; }
    void EndBulk();

private:
    void CheckRow(int row) const;
    int Reposition(int row);
    void Changed(int row);

    std::vector<WerteRow> rows_;
    int bulk_ = 0;
    bool bulkChanged_ = false;
};

}  // namespace zelk

#include "calc/Markers.h"

namespace zelk {
namespace {
float Difference(float a, float b) { return static_cast<float>(static_cast<long double>(a) - b); }
float Sum(float a, float b) { return static_cast<float>(static_cast<long double>(a) + b); }
}  // namespace

void ExcursionMarkers::ClearMarkers() {
    for (int i = 0; i <= s_.HighIndex; ++i) Diff(i) = 0.0f;
}

int ExcursionMarkers::Search(int s, float& minimum, float& maximum, float& diff) {
    for (int i = s; i <= s_.HighIndex; ++i) {
        const float v = Value(i);
        if (v != 0.0f) {
            if (v < minimum) {
                minimum = v;
                IdxMin = i;
            }
            if (v > maximum) {
                maximum = v;
                IdxMax = i;
            }
            diff = Difference(maximum, minimum);
        }
        if (diff > s_.SdGlucose) return i;
    }
    return -1;
}

int ExcursionMarkers::ComputeFirstExcursion() {
    LastDirection = 0;
    float diff = 0.0f;
    int f = -1;
    for (int i = 0; i <= s_.HighIndex; ++i) {
        if (Value(i) > 0.0f) {
            f = i;
            break;
        }
    }
    if (f < 0) return s_.HighIndex;
    IdxMin = f;
    IdxMax = f;
    float minimum = Value(f);
    float maximum = Value(f);
    const int i = Search(f, minimum, maximum, diff);
    if (i < 0) return s_.HighIndex;
    const bool rise = IdxMin < IdxMax;
    if (startValue_) {
        if (rise) {
            Diff(IdxMin) = diff;
            LastDirection = -1;
        } else {
            Diff(IdxMax) = -diff;
            LastDirection = 1;
        }
    } else {
        // The first excursion stays unmarked; the next search continues as if a
        // marker of the opposite direction had been recorded here.
        LastDirection = rise ? 1 : -1;
    }
    return i;
}

int ExcursionMarkers::ComputeNextExcursion(int a) {
    float minimum = Value(a);
    float maximum = Value(a);
    float diff = 0.0f;
    if (LastDirection == 1)
        IdxMax = a;
    else
        IdxMin = a;
    const int i = Search(a, minimum, maximum, diff);
    if (i < 0) return s_.HighIndex + 1;
    if (IdxMin < IdxMax) {
        Diff(IdxMin) = diff;
        LastDirection = -1;
    } else {
        Diff(IdxMax) = -diff;
        LastDirection = 1;
    }
    return i;
}

void ExcursionMarkers::MergeSignRuns() {
    int c = 0;
    while (c <= s_.HighIndex && Diff(c) == 0.0f) ++c;
    while (c <= s_.HighIndex) {
        float sum = Diff(c);
        int k = c + 1;
        if (sum > 0.0f) {
            for (; k <= s_.HighIndex && Diff(k) >= 0.0f; ++k) {
                sum = Sum(sum, Diff(k));
                Diff(k) = 0.0f;
            }
        } else if (sum < 0.0f) {
            for (; k <= s_.HighIndex && Diff(k) <= 0.0f; ++k) {
                sum = Sum(sum, Diff(k));
                Diff(k) = 0.0f;
            }
        }
        Diff(c) = sum;
        c = k;
    }
}

int ExcursionMarkers::FindLastExcursionFromEnd() const {
    float maximum = 0.0f;
    float minimum = 30.0f;
    for (int i = s_.HighIndex; i >= 0; --i) {
        const float v = Value(i);
        if (v > 0.0f && v < minimum) minimum = v;
        if (v > maximum) maximum = v;
        if (Difference(maximum, minimum) > s_.SdGlucose) return i;
    }
    return 0;
}

}  // namespace zelk

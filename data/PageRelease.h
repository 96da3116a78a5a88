#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "data/TrivialArray.h"

namespace zelk {

// Gives the memory of a large array back to the system page by page, as its values
// are used up in any order, so that what is built from them does not need room for
// both at once. Only pages that lie wholly within the array are given back; a used-up
// value is not to be read again.
template <typename T>
class PageRelease {
public:
    // Nothing is given back unless `active`.
    PageRelease(TrivialArray<T>& array, bool active) {
        if (!active || array.Size() == 0) return;
        page_ = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
        const auto begin = reinterpret_cast<std::uintptr_t>(array.Data());
        const std::uintptr_t used = begin + array.Size() * sizeof(T);
        first_ = (begin + page_ - 1) / page_ * page_;
        end_ = (begin + array.CapacityBytes()) / page_ * page_;
        if (end_ <= first_) return;
        base_ = begin;
        left_.resize((end_ - first_) / page_);
        for (size_t p = 0; p < left_.size(); ++p) {
            const std::uintptr_t from = first_ + p * page_;
            left_[p] = from >= used ? kGivenBack : static_cast<std::uint32_t>(std::min(used - from, page_));
        }
    }

    // Values [begin, end) are used up.
    void Done(size_t begin, size_t end) {
        if (left_.empty() || begin >= end) return;
        const std::uintptr_t from = std::max(base_ + begin * sizeof(T), first_);
        const std::uintptr_t to = std::min(base_ + end * sizeof(T), end_);
        if (from >= to) return;
        const size_t firstPage = (from - first_) / page_;
        const size_t endPage = (to - first_ + page_ - 1) / page_;
        for (size_t p = firstPage; p < endPage; ++p) {
            const std::uintptr_t at = first_ + p * page_;
            left_[p] -= static_cast<std::uint32_t>(std::min(at + page_, to) - std::max(at, from));
        }
        // Pages are given back in runs, few calls for many pages: a run grows until it
        // is long enough or lies between pages given back already.
        for (size_t p = firstPage; p < endPage; ++p) {
            if (left_[p] != 0) continue;
            size_t runBegin = p, runEnd = p + 1;
            while (runBegin > 0 && left_[runBegin - 1] == 0) --runBegin;
            while (runEnd < left_.size() && left_[runEnd] == 0) ++runEnd;
            const bool closed = (runBegin == 0 || left_[runBegin - 1] == kGivenBack) &&
                                (runEnd == left_.size() || left_[runEnd] == kGivenBack);
            if (runEnd - runBegin >= kRunPages || closed) {
                madvise(reinterpret_cast<void*>(first_ + runBegin * page_), (runEnd - runBegin) * page_, MADV_DONTNEED);
                std::fill(left_.begin() + static_cast<std::ptrdiff_t>(runBegin),
                          left_.begin() + static_cast<std::ptrdiff_t>(runEnd), kGivenBack);
            }
            p = runEnd;
        }
    }

private:
    static constexpr size_t kRunPages = 8;
    static constexpr std::uint32_t kGivenBack = ~std::uint32_t{0};

    std::uintptr_t page_ = 0;
    std::uintptr_t base_ = 0;
    std::uintptr_t first_ = 0;         // the first whole page
    std::uintptr_t end_ = 0;           // the end of the last whole page
    std::vector<std::uint32_t> left_;  // bytes of each page not used up yet, or kGivenBack
};

}  // namespace zelk

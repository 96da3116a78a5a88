#include "data/SensorRowStore.h"

#include <algorithm>
#include <cassert>
#include <iterator>

namespace zelk {

bool SensorRowStore::KeyLess::operator()(const Key& a, const Key& b) const {
    const int c = Compare(a.datum, b.datum);
    return c != 0 ? c < 0 : Compare(a.zeit, b.zeit) < 0;
}

void SensorRowStore::Clear() {
    // Emptied blocks wait for the next load, so that files read one after another
    // reuse them rather than give the memory back and take it again.
    for (auto& entry : blocks_) {
        if (spare_.size() >= kSpareBlocks) break;
        spare_.push_back(std::move(entry.second));
        spare_.back().clear();
    }
    blocks_.clear();
    bulk_.Clear();
    size_ = 0;
    index_.clear();
    prefix_.clear();
    indexDirty_ = false;
    lastValid_ = false;
}

bool SensorRowStore::FollowsLastInsert(std::string_view datum, std::string_view zeit, Tree::iterator& block,
                                       size_t& at) const {
    if (!lastValid_) return false;
    const Block& last = lastBlock_->second;
    if (CompareKey(last[lastOffset_], datum, zeit) >= 0) return false;
    const SensorRow* next = nullptr;
    if (lastOffset_ + 1 < last.size()) {
        next = &last[lastOffset_ + 1];
    } else if (const auto following = std::next(lastBlock_); following != blocks_.end()) {
        next = &following->second.front();
    }
    if (next && CompareKey(*next, datum, zeit) <= 0) return false;
    block = lastBlock_;
    at = lastOffset_ + 1;
    return true;
}

SensorRowStore::Tree::iterator SensorRowStore::Rekey(Tree::iterator block) {
    auto node = blocks_.extract(block);
    node.key() = KeyOf(node.mapped().front());
    return blocks_.insert(std::move(node)).position;
}

bool SensorRowStore::Insert(const SensorRow& row) {
    const std::string_view datum = row.datum.View();
    const std::string_view zeit = row.zeit.View();
    Tree::iterator it;
    size_t at = 0;
    if (blocks_.empty()) {
        it = blocks_.emplace(KeyOf(row), Block{}).first;
    } else if (!FollowsLastInsert(datum, zeit, it, at)) {
        // The last block whose first key is not after the key, or the first block.
        it = blocks_.upper_bound(KeyOf(row));
        if (it != blocks_.begin()) --it;
        const Block& found = it->second;
        const auto place =
            std::lower_bound(found.begin(), found.end(), row,
                             [](const SensorRow& a, const SensorRow& k) { return CompareRows(a, k) < 0; });
        if (place != found.end() && CompareKey(*place, datum, zeit) == 0) return false;
        at = static_cast<size_t>(place - found.begin());
    }

    Block& block = it->second;
    if (block.size() >= kMaxBlock && at == block.size()) {
        // Past the end of a full block: start a new one.
        it = blocks_.emplace_hint(std::next(it), KeyOf(row), Block{row});
        at = 0;
    } else if (block.size() >= kMaxBlock) {
        // Split at the insertion point when both parts stay reasonably full, so that
        // a run of increasing keys keeps appending to the end of a block.
        size_t split = at;
        if (split < kMaxBlock / 4 || split > kMaxBlock - kMaxBlock / 4) split = kMaxBlock / 2;
        Block tail(std::make_move_iterator(block.begin() + static_cast<std::ptrdiff_t>(split)),
                   std::make_move_iterator(block.end()));
        block.erase(block.begin() + static_cast<std::ptrdiff_t>(split), block.end());
        const auto second = blocks_.emplace_hint(std::next(it), KeyOf(tail.front()), std::move(tail));
        if (at > split) {
            it = second;
            at -= split;
        }
        it->second.insert(it->second.begin() + static_cast<std::ptrdiff_t>(at), row);
    } else {
        block.insert(block.begin() + static_cast<std::ptrdiff_t>(at), row);
    }
    // Only the first block can take a key before its first row.
    if (at == 0 && it->second.size() > 1) it = Rekey(it);
    lastValid_ = true;
    lastBlock_ = it;
    lastOffset_ = at;
    ++size_;
    Changed();
    return true;
}

bool SensorRowStore::BulkFinish() {
    assert(blocks_.empty());
    int count = 0;
    const bool unique = bulk_.TakeInOrder(
        [this, &count](Block&& block) {
            count += static_cast<int>(block.size());
            const Key key = KeyOf(block.front());
            blocks_.emplace_hint(blocks_.end(), key, std::move(block));
        },
        kMaxBlock, spare_);
    if (!unique) {
        blocks_.clear();
        count = 0;
    }
    size_ = count;
    Changed();
    lastValid_ = false;
    return unique;
}

void SensorRowStore::Erase(int pos) {
    size_t b = 0, off = 0;
    Locate(pos, b, off);
    const SensorRow& first = index_[b]->front();
    auto it = blocks_.find(KeyOf(first));
    assert(it != blocks_.end());
    lastValid_ = false;
    Block& block = it->second;
    block.erase(block.begin() + static_cast<std::ptrdiff_t>(off));
    if (block.empty())
        blocks_.erase(it);
    else if (off == 0)
        Rekey(it);
    --size_;
    Changed();
}

void SensorRowStore::RebuildIndex() const {
    index_.clear();
    prefix_.clear();
    index_.reserve(blocks_.size());
    prefix_.reserve(blocks_.size());
    int count = 0;
    for (const auto& [key, block] : blocks_) {
        index_.push_back(&block);
        prefix_.push_back(count);
        count += static_cast<int>(block.size());
    }
    indexDirty_ = false;
}

void SensorRowStore::Locate(int pos, size_t& block, size_t& offset) const {
    assert(pos >= 0 && pos < size_);
    if (indexDirty_) RebuildIndex();
    const auto it = std::upper_bound(prefix_.begin(), prefix_.end(), pos);
    block = static_cast<size_t>(it - prefix_.begin()) - 1;
    offset = static_cast<size_t>(pos - prefix_[block]);
}

const SensorRow& SensorRowStore::At(int pos) const {
    size_t b = 0, off = 0;
    Locate(pos, b, off);
    return (*index_[b])[off];
}

SensorRow& SensorRowStore::At(int pos) {
    size_t b = 0, off = 0;
    Locate(pos, b, off);
    return const_cast<Block&>(*index_[b])[off];
}

size_t SensorRowStore::IndexForKey(std::string_view datum, std::string_view zeit) const {
    const auto it = std::lower_bound(index_.begin(), index_.end(), 0, [&](const Block* block, int) {
        return CompareKey(block->back(), datum, zeit) < 0;
    });
    return it == index_.end() ? index_.size() - 1 : static_cast<size_t>(it - index_.begin());
}

int SensorRowStore::LowerBound(std::string_view datum, std::string_view zeit) const {
    if (blocks_.empty()) return 0;
    if (indexDirty_) RebuildIndex();
    const size_t b = IndexForKey(datum, zeit);
    const Block& block = *index_[b];
    const auto it = std::lower_bound(block.begin(), block.end(), 0,
                                     [&](const SensorRow& a, int) { return CompareKey(a, datum, zeit) < 0; });
    return prefix_[b] + static_cast<int>(it - block.begin());
}

int SensorRowStore::LowerBoundFrom(std::string_view datum, std::string_view zeit, int hint) const {
    return WalkFrom(datum, zeit, hint).Pos();
}

SensorRowStore::Walker SensorRowStore::WalkFrom(std::string_view datum, std::string_view zeit, int hint) const {
    if (hint >= 0 && hint < size_) {
        size_t b = 0, off = 0;
        Locate(hint, b, off);
        if (CompareKey((*index_[b])[off], datum, zeit) >= 0) {
            const SensorRow* previous = off > 0 ? &(*index_[b])[off - 1] : (b > 0 ? &index_[b - 1]->back() : nullptr);
            if (!previous || CompareKey(*previous, datum, zeit) < 0) return Walker(*this, hint, b, off);
        }
    } else if (hint == size_ && (size_ == 0 || CompareKey(std::prev(blocks_.end())->second.back(), datum, zeit) < 0)) {
        return Walker(*this, hint);
    }
    return Walker(*this, LowerBound(datum, zeit));
}

int SensorRowStore::UpperBoundDatum(std::string_view datum) const {
    if (blocks_.empty()) return 0;
    if (indexDirty_) RebuildIndex();
    const auto first = std::lower_bound(index_.begin(), index_.end(), 0, [&](const Block* block, int) {
        return Compare(block->back().datum, datum) <= 0;
    });
    if (first == index_.end()) return size_;
    const size_t b = static_cast<size_t>(first - index_.begin());
    const Block& block = *index_[b];
    const auto it = std::upper_bound(block.begin(), block.end(), 0,
                                     [&](int, const SensorRow& a) { return Compare(a.datum, datum) > 0; });
    return prefix_[b] + static_cast<int>(it - block.begin());
}

int SensorRowStore::Find(std::string_view datum, std::string_view zeit) const {
    const int pos = LowerBound(datum, zeit);
    if (pos < size_ && CompareKey(At(pos), datum, zeit) == 0) return pos;
    return -1;
}

SensorRowStore::Walker::Walker(const SensorRowStore& store, int pos) : store_(&store), pos_(pos) {
    if (pos_ < store.size_) store.Locate(pos_, block_, offset_);
}

void SensorRowStore::Walker::Next() {
    ++pos_;
    if (pos_ >= store_->size_) return;
    if (++offset_ >= store_->index_[block_]->size()) {
        ++block_;
        offset_ = 0;
    }
}

}  // namespace zelk

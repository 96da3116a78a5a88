#pragma once

#include <map>
#include <string_view>
#include <vector>

#include "data/BulkRows.h"
#include "data/SensorRow.h"

namespace zelk {

// Rows in key order (Datum, then Zeit), kept in blocks of at most 128 rows. The
// blocks sit in a search tree by their first key, so an insert costs a logarithmic
// search plus a move within one block, wherever the key falls; positions come from
// an index of the blocks that is rebuilt once after changes, when first needed.
class SensorRowStore {
public:
    int Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    void Clear();

    // Inserts in key order; returns false, storing nothing, when the key exists.
    bool Insert(const SensorRow& row);

    // Loading a whole file into an empty store: BulkAdd takes rows as they come,
    // without a key check; BulkFinish puts them in key order at once. BulkFinish
    // returns false, leaving the store empty, when a key came twice.
    bool BulkAdd(int id, std::string_view datum, std::string_view zeit, double bgWert) {
        return bulk_.Add(id, datum, zeit, bgWert);
    }
    bool BulkFinish();
    void BulkCancel() { bulk_.Clear(); }
    void Erase(int pos);

    const SensorRow& At(int pos) const;
    // Only for changes that keep the row's key.
    SensorRow& At(int pos);
    // Position of the first row whose key is equal to or after the given key.
    int LowerBound(std::string_view datum, std::string_view zeit) const;
    // The same, trying `hint` first: a run of searches in key order costs two
    // comparisons each when every search starts where the previous rows ended.
    int LowerBoundFrom(std::string_view datum, std::string_view zeit, int hint) const;
    // Position of the first row whose Datum is after the given one.
    int UpperBoundDatum(std::string_view datum) const;
    // Position of the row with exactly this key, or -1.
    int Find(std::string_view datum, std::string_view zeit) const;

    // Walks rows in order from a position without searching for each one. The store
    // must not change during a walk.
    class Walker {
    public:
        Walker(const SensorRowStore& store, int pos);
        Walker(const SensorRowStore& store, int pos, size_t block, size_t offset)
            : store_(&store), pos_(pos), block_(block), offset_(offset) {}
        bool AtEnd() const { return pos_ >= store_->size_; }
        const SensorRow& Row() const { return (*store_->index_[block_])[offset_]; }
        int Pos() const { return pos_; }
        void Next();

    private:
        const SensorRowStore* store_;
        int pos_;
        size_t block_ = 0;
        size_t offset_ = 0;
    };

    // A walk from LowerBoundFrom(datum, zeit, hint), placed with one lookup.
    Walker WalkFrom(std::string_view datum, std::string_view zeit, int hint) const;

private:
    static constexpr size_t kMaxBlock = 128;
    static constexpr size_t kSpareBlocks = 64;
    struct Key {
        ShortText<kTextFieldSize> datum;
        ShortText<kTextFieldSize> zeit;
    };
    struct KeyLess {
        bool operator()(const Key& a, const Key& b) const;
    };
    using Block = std::vector<SensorRow>;
    using Tree = std::map<Key, Block, KeyLess>;

    static Key KeyOf(const SensorRow& row) { return {row.datum, row.zeit}; }
    void Changed() { indexDirty_ = true; }
    void RebuildIndex() const;
    // The block of a position, through the index.
    void Locate(int pos, size_t& block, size_t& offset) const;
    // The index entry of the first block whose last row is equal to or after the key;
    // the last block otherwise. Needs a clean index.
    size_t IndexForKey(std::string_view datum, std::string_view zeit) const;
    // Where a key goes when it follows the row inserted last: true, with the place,
    // when it lies between that row and the next one.
    bool FollowsLastInsert(std::string_view datum, std::string_view zeit, Tree::iterator& block, size_t& at) const;
    // A block whose first row changed takes its new key.
    Tree::iterator Rekey(Tree::iterator block);

    Tree blocks_;
    int size_ = 0;
    BulkRows bulk_;
    std::vector<Block> spare_;  // emptied blocks for the next load
    // The blocks in order with the rows before each; valid while not dirty.
    mutable std::vector<const Block*> index_;
    mutable std::vector<int> prefix_;
    mutable bool indexDirty_ = false;
    // The row inserted last; files list the readings of a day in time order.
    bool lastValid_ = false;
    Tree::iterator lastBlock_;
    size_t lastOffset_ = 0;
};

}  // namespace zelk

#pragma once

#include <cstdlib>
#include <new>
#include <type_traits>

namespace zelk {

// A growing array of trivially copyable values on realloc, so that a large array
// grows by remapping its pages rather than copying them. Values are not initialised.
template <typename T>
class TrivialArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    TrivialArray() = default;
    TrivialArray(const TrivialArray&) = delete;
    TrivialArray& operator=(const TrivialArray&) = delete;
    ~TrivialArray() { std::free(data_); }

    size_t Size() const { return size_; }
    T* Data() { return data_; }
    const T* Data() const { return data_; }
    T& operator[](size_t i) { return data_[i]; }
    const T& operator[](size_t i) const { return data_[i]; }

    // A new value at the end, to be filled in.
    T& Push() {
        if (size_ == capacity_) Reserve(capacity_ < 64 ? 64 : capacity_ * 2);
        return data_[size_++];
    }
    // Room for `count` values, all to be filled in.
    void Resize(size_t count) {
        if (count > capacity_) Reserve(count);
        size_ = count;
    }
    // Empties the array; a buffer of at most `keepBytes` is kept for the next values.
    void Clear(size_t keepBytes) {
        if (capacity_ * sizeof(T) > keepBytes) Release();
        size_ = 0;
    }
    // Frees the values.
    void Release() {
        std::free(data_);
        data_ = nullptr;
        size_ = capacity_ = 0;
    }

private:
    void Reserve(size_t capacity) {
        void* grown = std::realloc(data_, capacity * sizeof(T));
        if (!grown) throw std::bad_alloc();
        data_ = static_cast<T*>(grown);
        capacity_ = capacity;
    }

    T* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

}  // namespace zelk

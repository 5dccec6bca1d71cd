#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

// An ordered list that owns its elements. Elements are held by unique_ptr so that a reference to an
// element stays valid while other elements are added, removed or reordered.
template <class T>
class TDelList {
public:
    TDelList() = default;
    TDelList(TDelList&&) noexcept = default;
    TDelList& operator=(TDelList&&) noexcept = default;
    TDelList(const TDelList&) = delete;
    TDelList& operator=(const TDelList&) = delete;
    ~TDelList() { Clear(); }

    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }

    T& operator[](int i) { return *items_[static_cast<std::size_t>(i)]; }
    const T& operator[](int i) const { return *items_[static_cast<std::size_t>(i)]; }

    // True when i names an element; stored indices are not trusted, so callers check with this.
    bool InRange(long long i) const { return i >= 0 && i < static_cast<long long>(items_.size()); }

    T& Add(std::unique_ptr<T> item)
    {
        items_.push_back(std::move(item));
        return *items_.back();
    }
    T& Add() { return Add(std::make_unique<T>()); }

    T& Insert(int i, std::unique_ptr<T> item)
    {
        auto it = items_.insert(items_.begin() + i, std::move(item));
        return **it;
    }

    // Destroys element i; later elements move down by one.
    void Delete(int i) { items_.erase(items_.begin() + i); }

    // Removes element i without destroying it.
    std::unique_ptr<T> Extract(int i)
    {
        auto item = std::move(items_[static_cast<std::size_t>(i)]);
        items_.erase(items_.begin() + i);
        return item;
    }

    void Exchange(int i, int j) { std::swap(items_[static_cast<std::size_t>(i)], items_[static_cast<std::size_t>(j)]); }

    void Move(int from, int to)
    {
        auto item = Extract(from);
        Insert(to, std::move(item));
    }

    // Destroys every element, first to last, then empties the list.
    void Clear()
    {
        for (auto& item : items_)
            item.reset();
        items_.clear();
    }

    // Deep copy: the list is emptied and refilled with copies of the source's elements, in order.
    void Assign(const TDelList& source)
    {
        if (&source == this)
            return;
        Clear();
        items_.reserve(source.items_.size());
        for (const auto& item : source.items_) {
            auto copy = std::make_unique<T>();
            copy->Assign(*item);
            items_.push_back(std::move(copy));
        }
    }

    void Reserve(std::size_t n) { items_.reserve(n); }

    class iterator {
    public:
        using Base = typename std::vector<std::unique_ptr<T>>::iterator;
        explicit iterator(Base b) : b_(b) {}
        T& operator*() const { return **b_; }
        T* operator->() const { return b_->get(); }
        iterator& operator++() { ++b_; return *this; }
        bool operator==(const iterator& o) const { return b_ == o.b_; }
        bool operator!=(const iterator& o) const { return b_ != o.b_; }
    private:
        Base b_;
    };
    class const_iterator {
    public:
        using Base = typename std::vector<std::unique_ptr<T>>::const_iterator;
        explicit const_iterator(Base b) : b_(b) {}
        const T& operator*() const { return **b_; }
        const T* operator->() const { return b_->get(); }
        const_iterator& operator++() { ++b_; return *this; }
        bool operator==(const const_iterator& o) const { return b_ == o.b_; }
        bool operator!=(const const_iterator& o) const { return b_ != o.b_; }
    private:
        Base b_;
    };
    iterator begin() { return iterator(items_.begin()); }
    iterator end() { return iterator(items_.end()); }
    const_iterator begin() const { return const_iterator(items_.begin()); }
    const_iterator end() const { return const_iterator(items_.end()); }

private:
    std::vector<std::unique_ptr<T>> items_;
};

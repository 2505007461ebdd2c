#pragma once
// The sections of a cell, in order. Most cells (every one-line table cell)
// hold a single section: it is kept in place, and a list is made only when a
// second one arrives. The interface is the part of std::vector cells use.
#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

class TSectionBase;

class TSectionVector {
public:
    using Item = std::unique_ptr<TSectionBase>;
    using iterator = Item*;
    using const_iterator = const Item*;
    using reverse_iterator = std::reverse_iterator<iterator>;
    using const_reverse_iterator = std::reverse_iterator<const_iterator>;

    TSectionVector() = default;
    ~TSectionVector();
    TSectionVector(const TSectionVector&) = delete;
    TSectionVector& operator=(const TSectionVector&) = delete;

    iterator begin() { return FMore ? FMore->data() : &FOne; }
    iterator end() { return begin() + size(); }
    const_iterator begin() const { return FMore ? FMore->data() : &FOne; }
    const_iterator end() const { return begin() + size(); }
    reverse_iterator rbegin() { return reverse_iterator(end()); }
    reverse_iterator rend() { return reverse_iterator(begin()); }
    const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
    const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }

    size_t size() const { return FMore ? FMore->size() : (FOne ? 1 : 0); }
    bool empty() const { return size() == 0; }
    Item& operator[](size_t i) { return begin()[i]; }
    const Item& operator[](size_t i) const { return begin()[i]; }
    Item& front() { return *begin(); }
    const Item& front() const { return *begin(); }
    Item& back() { return end()[-1]; }
    const Item& back() const { return end()[-1]; }

    // A null section is not kept.
    void push_back(Item section);
    iterator erase(const_iterator position);
    void clear();
    void reserve(size_t count);

private:
    Item FOne;
    // All sections once there are (or were) two or more.
    std::unique_ptr<std::vector<Item>> FMore;
};

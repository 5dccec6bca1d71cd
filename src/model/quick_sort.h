#pragma once

// The one sort every list of the program uses: a classic recursive quicksort with the middle
// element as pivot. It is not stable, and the order in which it leaves equal keys is visible to
// the user and saved with the case, so every list must go through this same procedure rather than
// std::sort or std::stable_sort.
//
// Keys are taken by a key function; text keys (std::string or std::string_view) compare without
// regard to letter case, everything else with < and >. An optional swap observer hears every
// exchange of two positions, for callers that keep a parallel permutation table.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "model/del_list.h"

enum class SortOrder { Ascending, Descending };

using SwapObserver = std::function<void(int, int)>;

// Lower-case of one windows-1252 byte: ASCII letters and the accented capitals of the code page.
inline unsigned char foldCaseCp1252(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: return 0x9A; // S caron
    case 0x8C: return 0x9C; // OE ligature
    case 0x8E: return 0x9E; // Z caron
    case 0x9F: return 0xFF; // Y diaeresis
    default: return c;
    }
}

// Case-insensitive three-way comparison of windows-1252 text: negative, zero or positive.
inline int compareText(std::string_view a, std::string_view b)
{
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t k = 0; k < n; ++k) {
        const int ca = foldCaseCp1252(static_cast<unsigned char>(a[k]));
        const int cb = foldCaseCp1252(static_cast<unsigned char>(b[k]));
        if (ca != cb)
            return ca - cb;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

namespace quick_sort_detail {

// A text key is held as its own string: the pivot must survive the swaps of the elements it
// was read from.
template <class K>
using StoredKey = std::conditional_t<std::is_convertible_v<K, std::string_view>, std::string, std::decay_t<K>>;

template <class K>
int compareKeys(const K& a, const K& b)
{
    if constexpr (std::is_convertible_v<const K&, std::string_view>)
        return compareText(a, b);
    else
        return a < b ? -1 : (b < a ? 1 : 0);
}

template <class KeyAt, class Swap>
void sortRange(int left, int right, KeyAt& keyAt, Swap& swap, SortOrder order)
{
    using Key = StoredKey<decltype(keyAt(0))>;
    const auto compare = [order](const Key& a, const Key& b) {
        return order == SortOrder::Ascending ? compareKeys(a, b) : compareKeys(b, a);
    };
    int i = 0;
    do {
        i = left;
        int j = right;
        const Key pivot(keyAt((left + right) / 2));
        do {
            while (compare(Key(keyAt(i)), pivot) < 0)
                ++i;
            while (compare(Key(keyAt(j)), pivot) > 0)
                --j;
            if (i <= j) {
                if (i != j)
                    swap(i, j);
                ++i;
                --j;
            }
        } while (i <= j);
        if (left < j)
            sortRange(left, j, keyAt, swap, order);
        left = i;
    } while (i < right);
}

} // namespace quick_sort_detail

// Sorts positions 0..count-1 of any sequence: keyAt(i) gives the key of the element now at
// position i, swap(i, j) exchanges two elements.
template <class KeyAt, class Swap>
void quickSort(int count, KeyAt keyAt, Swap swap, SortOrder order)
{
    if (count > 1)
        quick_sort_detail::sortRange(0, count - 1, keyAt, swap, order);
}

// Sorts an owning model list in place by keyOf(element).
template <class T, class KeyOf>
void quickSort(TDelList<T>& list, KeyOf keyOf, SortOrder order, const SwapObserver& onSwap = {})
{
    quickSort(
        list.Count(), [&](int i) { return keyOf(list[i]); },
        [&](int i, int j) {
            list.Exchange(i, j);
            if (onSwap)
                onSwap(i, j);
        },
        order);
}

// Sorts a plain vector in place by keyOf(element), e.g. a view's list of model positions.
template <class T, class KeyOf>
void quickSort(std::vector<T>& list, KeyOf keyOf, SortOrder order, const SwapObserver& onSwap = {})
{
    quickSort(
        static_cast<int>(list.size()), [&](int i) { return keyOf(list[static_cast<std::size_t>(i)]); },
        [&](int i, int j) {
            using std::swap;
            swap(list[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(j)]);
            if (onSwap)
                onSwap(i, j);
        },
        order);
}

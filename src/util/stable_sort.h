#pragma once

#include <iterator>
#include <utility>

// Sorts [first, last) by key(element), keeping elements of equal keys in the
// order they came in. An insertion sort: the lists the program sorts this
// way are short (at most a few hundred rows, mostly in order already), and
// std::stable_sort would bring some 2 KB of merging code for each of them.
template <typename Iterator, typename Key>
void StableSortBy(Iterator first, Iterator last, Key key) {
  for (Iterator i = first; i != last; ++i) {
    auto moving = std::move(*i);
    Iterator j = i;
    for (; j != first && key(moving) < key(*std::prev(j)); --j) *j = std::move(*std::prev(j));
    *j = std::move(moving);
  }
}

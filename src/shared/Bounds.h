#pragma once
// Bounds-checked element access for indexes that come from the line, a file
// or a control: an index out of range gives nullptr, so that step does nothing.

#include <array>
#include <cstddef>

template <class T, std::size_t N>
T *At(const std::array<T *, N> &arr, long long i)
{
    return i >= 0 && static_cast<std::size_t>(i) < N ? arr[static_cast<std::size_t>(i)] : nullptr;
}

template <class T, std::size_t N>
T *Slot(std::array<T, N> &arr, long long i)
{
    return i >= 0 && static_cast<std::size_t>(i) < N ? &arr[static_cast<std::size_t>(i)] : nullptr;
}

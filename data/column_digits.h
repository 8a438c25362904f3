// How many significant digits a column of a data file is written with, so that data keep their
// distinct values: "%g"'s six as long as they keep apart every two values that lie a millionth of
// the column's range or more apart (ordinary data), else the fewest digits that do, at most 17.
// Values that sit far from zero relative to their spread (timestamps, large offsets) are the ones
// that need more.
#pragma once

#include <cstddef>
#include <cstring>

namespace rizari {

inline constexpr int kPlainDigits = 6;

// The digits of a column of n values of type T at `column` (raw entries, NaN ignored).
template <class T> int columnDigits(const unsigned char* column, std::size_t n);

// The same over doubles read through a function: value(i) for i below n.
class ColumnValues {
public:
    using Reader = double (*)(const unsigned char* column, std::size_t i);
    ColumnValues(const unsigned char* column, std::size_t n, Reader read) : column_(column), n_(n), read_(read) {}
    std::size_t size() const { return n_; }
    double operator[](std::size_t i) const { return read_(column_, i); }

private:
    const unsigned char* column_;
    std::size_t n_;
    Reader read_;
};

int columnDigits(const ColumnValues& values);

template <class T> int columnDigits(const unsigned char* column, std::size_t n)
{
    return columnDigits(ColumnValues(column, n, [](const unsigned char* base, std::size_t i) {
        T v;
        std::memcpy(&v, base + i * sizeof(T), sizeof(T));
        return static_cast<double>(v);
    }));
}

}  // namespace rizari

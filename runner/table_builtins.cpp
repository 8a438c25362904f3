// The built-ins that build tables for data(): columns side by side, a table turned over, rows
// and values appended.
#include "runner/table_builtins.h"

#include <algorithm>
#include <climits>

#include "runner/script_error.h"

namespace rizari::runner {
namespace {

// "5 values" or "2 rows of 3", for messages.
std::string shapeText(const Array& a)
{
    const std::vector<int>& shape = a.shape();
    const std::string count = std::to_string(shape[0]);
    if (shape.size() == 1) return count + (shape[0] == 1 ? " value" : " values");
    return count + (shape[0] == 1 ? " row of " : " rows of ") + std::to_string(shape[1]);
}

const Array& table(const BuiltinCall& call, std::size_t position)
{
    const Array* a = std::get_if<Array>(&call.args[position]);
    if (!a || a->shape().size() > 2)
        throw ScriptError(call.name + "(): argument " + std::to_string(position + 1) + " must be an array of one or two dimensions");
    return *a;
}

// A number as an array of one value; an array as it is.
Array asArray(const BuiltinCall& call, std::size_t position)
{
    const Value& v = call.args[position];
    if (!isNumber(v)) return table(call, position);
    Array one({1});
    one.writable()[0] = toDouble(v);
    return one;
}

int sumOfExtents(const std::string& name, int a, int b)
{
    if (a > INT_MAX - b) throw ScriptError(name + "(): the result would have more than " + std::to_string(INT_MAX) + " rows");
    return a + b;
}

Array joined(const Array& first, const Array& second, std::vector<int> shape)
{
    Array out(std::move(shape));
    double* values = std::copy(first.values(), first.values() + first.size(), out.writable());
    std::copy(second.values(), second.values() + second.size(), values);
    return out;
}

}  // namespace

Value columnsOf(BuiltinCall& call)
{
    const std::size_t width = call.args.size();
    const int rows = table(call, 0).shape()[0];
    for (std::size_t c = 0; c < width; ++c) {
        const Array& column = table(call, c);
        if (column.shape().size() != 1)
            throw ScriptError("columns(): argument " + std::to_string(c + 1) + " must be a one-dimensional array, got " + shapeText(column));
        if (column.shape()[0] != rows)
            throw ScriptError("columns(): argument " + std::to_string(c + 1) + " has " + shapeText(column) + ", argument 1 has " +
                              std::to_string(rows));
    }
    Array out({rows, static_cast<int>(width)});
    double* values = out.writable();
    for (std::size_t c = 0; c < width; ++c) {
        const Array& column = std::get<Array>(call.args[c]);
        for (std::size_t r = 0; r < static_cast<std::size_t>(rows); ++r) values[r * width + c] = column[r];
    }
    return out;
}

Value transposed(BuiltinCall& call)
{
    const Array& a = table(call, 0);
    const int rows = a.shape().size() == 1 ? 1 : a.shape()[0];
    const int cols = a.shape().back();
    Array out({cols, rows});
    double* values = out.writable();
    for (std::size_t r = 0; r < static_cast<std::size_t>(rows); ++r)
        for (std::size_t c = 0; c < static_cast<std::size_t>(cols); ++c) values[c * rows + r] = a[r * cols + c];
    return out;
}

Value appended(BuiltinCall& call)
{
    const Array first = asArray(call, 0);
    const Array second = asArray(call, 1);
    const std::vector<int>& a = first.shape();
    const std::vector<int>& b = second.shape();
    if (a.size() == 1 && b.size() == 1) return joined(first, second, {sumOfExtents("append", a[0], b[0])});
    // An empty list starts a table.
    if (a.size() == 1 && a[0] == 0) return second;
    if (a.size() == 2 && b.back() == a[1]) {
        const int added = b.size() == 1 ? 1 : b[0];
        return joined(first, second, {sumOfExtents("append", a[0], added), a[1]});
    }
    throw ScriptError("append(): cannot append " + shapeText(second) + " to " + shapeText(first));
}

}  // namespace rizari::runner

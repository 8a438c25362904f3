// Comparing values, and taking elements and slices of arrays and texts.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "runner/evaluator.h"
#include "runner/script_error.h"

namespace rizari::runner {
namespace {

const char* opText(CompareOp op)
{
    switch (op) {
    case CompareOp::Equal: return "==";
    case CompareOp::NotEqual: return "!=";
    case CompareOp::Less: return "<";
    case CompareOp::LessEqual: return "<=";
    case CompareOp::Greater: return ">";
    case CompareOp::GreaterEqual: return ">=";
    }
    return "";
}

template <class T> bool ordered(CompareOp op, const T& a, const T& b)
{
    switch (op) {
    case CompareOp::Less: return a < b;
    case CompareOp::LessEqual: return a <= b;
    case CompareOp::Greater: return a > b;
    case CompareOp::GreaterEqual: return a >= b;
    default: return false;
    }
}

// The number of elements along the first dimension: rows of an array, bytes of a text.
std::size_t lengthOf(const Value& v, const char* what)
{
    if (const Array* a = std::get_if<Array>(&v)) return static_cast<std::size_t>(a->shape()[0]);
    if (const std::string* text = std::get_if<std::string>(&v)) return text->size();
    throw ScriptError(std::string("cannot ") + what + " " + typeName(v) + ", only an array or a text");
}

int64_t indexOf(const Value& i)
{
    const std::optional<int64_t> n = integral(i);
    if (!n) throw ScriptError(std::string("an index must be an int, got ") + typeName(i) + (std::holds_alternative<double>(i) ? " " + formatValue(i) : ""));
    return *n;
}

// A slice bound, counted from the end when below 0, clamped to 0 .. length.
std::size_t bound(const std::optional<Value>& b, std::size_t length, std::size_t absent)
{
    if (!b) return absent;
    const int64_t n = indexOf(*b);
    const auto len = static_cast<int64_t>(length);
    const int64_t at = n < 0 ? std::max<int64_t>(n + len, 0) : std::min(n, len);
    return static_cast<std::size_t>(at);
}

// Rows [from, to) of an array.
Array rows(const Array& a, std::size_t from, std::size_t to)
{
    std::vector<int> shape = a.shape();
    const std::size_t rowSize = shape[0] == 0 ? 0 : a.size() / static_cast<std::size_t>(shape[0]);
    shape[0] = static_cast<int>(to - from);
    Array out(std::move(shape));
    std::copy(a.values() + from * rowSize, a.values() + to * rowSize, out.writable());
    return out;
}

}  // namespace

std::optional<int64_t> integral(const Value& v)
{
    if (const int64_t* i = std::get_if<int64_t>(&v)) return *i;
    const double* d = std::get_if<double>(&v);
    // 2^63 is the first double past the int64 range.
    if (!d || *d != std::floor(*d) || *d < -9223372036854775808.0 || *d >= 9223372036854775808.0) return std::nullopt;
    return static_cast<int64_t>(*d);
}

bool equal(const Value& a, const Value& b)
{
    if (isNumber(a) && isNumber(b)) {
        if (std::holds_alternative<int64_t>(a) && std::holds_alternative<int64_t>(b)) return std::get<int64_t>(a) == std::get<int64_t>(b);
        return toDouble(a) == toDouble(b);
    }
    if (a.index() != b.index()) return false;
    return std::visit(Overloaded{[](std::monostate) { return true; }, [](int64_t) { return false; }, [](double) { return false; },
                                 [&](const std::string& text) { return text == std::get<std::string>(b); },
                                 [&](const Array& x) {
                                     const Array& y = std::get<Array>(b);
                                     return x.shape() == y.shape() && std::equal(x.values(), x.values() + x.size(), y.values());
                                 },
                                 [&](const Instance& x) { return x.ptr == std::get<Instance>(b).ptr; }},
                      a);
}

bool compare(CompareOp op, const Value& a, const Value& b)
{
    if (op == CompareOp::Equal) return equal(a, b);
    if (op == CompareOp::NotEqual) return !equal(a, b);
    if (isNumber(a) && isNumber(b)) {
        if (std::holds_alternative<int64_t>(a) && std::holds_alternative<int64_t>(b))
            return ordered(op, std::get<int64_t>(a), std::get<int64_t>(b));
        return ordered(op, toDouble(a), toDouble(b));
    }
    const auto* x = std::get_if<std::string>(&a);
    const auto* y = std::get_if<std::string>(&b);
    if (x && y) return ordered(op, *x, *y);
    throw ScriptError(std::string("cannot compare ") + typeName(a) + " and " + typeName(b) + " with '" + opText(op) + "'");
}

Value element(const Value& v, const Value& i)
{
    const std::size_t length = lengthOf(v, "index");
    const int64_t n = indexOf(i);
    const auto len = static_cast<int64_t>(length);
    if (n >= len || n < -len)
        throw ScriptError("index " + std::to_string(n) + " is out of range for " + std::to_string(length) +
                          (std::holds_alternative<Array>(v) ? " elements" : " characters"));
    const auto at = static_cast<std::size_t>(n < 0 ? n + len : n);
    if (const std::string* text = std::get_if<std::string>(&v)) return text->substr(at, 1);
    const Array& a = std::get<Array>(v);
    if (a.shape().size() == 1) return a[at];
    return a.row(at);
}

Value slice(const Value& v, const std::optional<Value>& from, const std::optional<Value>& to)
{
    const std::size_t length = lengthOf(v, "slice");
    const std::size_t start = bound(from, length, 0);
    const std::size_t end = std::max(start, bound(to, length, length));
    if (const std::string* text = std::get_if<std::string>(&v)) return text->substr(start, end - start);
    return rows(std::get<Array>(v), start, end);
}

}  // namespace rizari::runner

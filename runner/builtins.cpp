// Built-ins: CPlot(), linspace, range, random, the element-wise maths functions, meshx/meshy,
// len and str; the table of them all.
#include "runner/builtins.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

#include "runner/script_error.h"
#include "runner/table_builtins.h"

namespace rizari::runner {
namespace {

// The most values that linspace, range, random and the meshes make (800 MB of doubles).
constexpr int64_t kMostValues = 100000000;

double number(const std::string& name, const Value& v, int position)
{
    if (!isNumber(v))
        throw ScriptError(name + "(): argument " + std::to_string(position) + " must be a number, got " + typeName(v));
    return toDouble(v);
}

const Array& list(const std::string& name, const Value& v, int position)
{
    const Array* a = std::get_if<Array>(&v);
    if (!a || a->shape().size() != 1)
        throw ScriptError(name + "(): argument " + std::to_string(position) + " must be a one-dimensional array");
    return *a;
}

Value linspace(BuiltinCall& call)
{
    const std::vector<Value>& args = call.args;
    double a = number("linspace", args[0], 1);
    double b = number("linspace", args[1], 2);
    const std::optional<int64_t> n = integral(args[2]);
    if (!n || *n < 0 || *n > kMostValues)
        throw ScriptError("linspace(): argument 3 must be a count from 0 to " + std::to_string(kMostValues));
    Array out({static_cast<int>(*n)});
    double* values = out.writable();
    for (int64_t i = 0; i < *n; ++i)
        values[i] = *n == 1 ? a : a + (b - a) * static_cast<double>(i) / static_cast<double>(*n - 1);
    if (*n > 1) values[*n - 1] = b;
    return out;
}

// The nx * ny grid in the order data3D reads it: x index as the row, y fastest.
Value mesh(const BuiltinCall& call, bool wantX)
{
    const std::string& name = call.name;
    const std::vector<Value>& args = call.args;
    const Array& x = list(name, args[0], 1);
    const Array& y = list(name, args[1], 2);
    // Each size is below the limit, so their product fits in 64 bits.
    if (x.size() * y.size() > static_cast<std::size_t>(kMostValues))
        throw ScriptError(name + "(): a grid of " + std::to_string(x.size()) + " x " + std::to_string(y.size()) +
                          " points is more than " + std::to_string(kMostValues));
    Array out({static_cast<int>(x.size() * y.size())});
    double* values = out.writable();
    for (std::size_t i = 0; i < x.size(); ++i)
        for (std::size_t j = 0; j < y.size(); ++j) *values++ = wantX ? x[i] : y[j];
    return out;
}

// An int, or a double without a fraction part (as members take them).
int64_t intArgument(const std::string& name, const Value& v, int position)
{
    const std::optional<int64_t> i = integral(v);
    if (!i)
        throw ScriptError(name + "(): argument " + std::to_string(position) + " must be an int, got " + typeName(v) +
                          (std::holds_alternative<double>(v) ? " " + formatValue(v) : ""));
    return *i;
}

Value meshX(BuiltinCall& call) { return mesh(call, true); }
Value meshY(BuiltinCall& call) { return mesh(call, false); }

Value rangeArray(BuiltinCall& call)
{
    const RangeSpec range = rangeOf(call.args);
    if (range.count > static_cast<uint64_t>(kMostValues))
        throw ScriptError("range(): more than " + std::to_string(kMostValues) + " values");
    Array out({static_cast<int>(range.count)});
    double* values = out.writable();
    for (uint64_t k = 0; k < range.count; ++k) values[k] = static_cast<double>(range.at(k));
    return out;
}

// n values in [0, 1) from the 64-bit Mersenne Twister seeded with seed: the top 53 bits of each
// output over 2^53. The generator's outputs are fixed by the C++ standard and the mapping is
// written here (not a standard distribution, whose algorithm each library chooses), so a seed
// gives the same values everywhere.
Value random(BuiltinCall& call)
{
    const std::vector<Value>& args = call.args;
    const int64_t n = intArgument("random", args[0], 1);
    const int64_t seed = intArgument("random", args[1], 2);
    if (n < 0 || n > kMostValues) throw ScriptError("random(): argument 1 must be a count from 0 to " + std::to_string(kMostValues));
    std::mt19937_64 generator(static_cast<uint64_t>(seed));
    Array out({static_cast<int>(n)});
    double* values = out.writable();
    for (int64_t k = 0; k < n; ++k) values[k] = static_cast<double>(generator() >> 11) * 0x1.0p-53;
    return out;
}

// A printf format for one number: text, one conversion %[-+ 0#][width][.precision](d|i|f|e|g|E|G|F)
// of at most two-digit width and precision, more text; %% for a percent sign. The int conversions
// are rewritten for int64_t.
std::string checkedFormat(const std::string& format, bool& wantsInt)
{
    std::string out;
    int conversions = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        out += format[i];
        if (format[i] != '%') continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += format[++i];
            continue;
        }
        std::size_t j = i + 1;
        while (j < format.size() && std::strchr("-+ 0#", format[j])) ++j;
        auto digits = [&] {
            std::size_t start = j;
            while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j]))) ++j;
            return j - start;
        };
        bool fits = digits() <= 2;
        if (j < format.size() && format[j] == '.') {
            ++j;
            fits = digits() <= 2 && fits;
        }
        if (!fits || j >= format.size() || !std::strchr("difeEgGF", format[j]) || ++conversions > 1)
            throw ScriptError("str(): the format must hold one conversion such as %d, %.2f, %8.3e or %g (width and precision below 100)");
        wantsInt = format[j] == 'd' || format[j] == 'i';
        out += format.substr(i + 1, j - i - 1);
        if (wantsInt) out += "ll";
        out += format[j];
        i = j;
    }
    if (conversions == 0) throw ScriptError("str(): the format must hold one conversion such as %d, %.2f, %8.3e or %g");
    return out;
}

Value str(BuiltinCall& call)
{
    const std::vector<Value>& args = call.args;
    if (args.size() == 1) return formatValue(args[0]);
    const std::string* format = std::get_if<std::string>(&args[1]);
    if (!format) throw ScriptError(std::string("str(): argument 2 must be a text, got ") + typeName(args[1]));
    if (!isNumber(args[0])) throw ScriptError(std::string("str(): argument 1 must be a number to format, got ") + typeName(args[0]));
    bool wantsInt = false;
    const std::string checked = checkedFormat(*format, wantsInt);
    std::optional<int64_t> whole;
    if (wantsInt && !(whole = integral(args[0])))
        throw ScriptError("str(): " + formatValue(args[0]) + " is not an int for %d");
    auto print = [&](char* buffer, std::size_t size) {
        return wantsInt ? std::snprintf(buffer, size, checked.c_str(), static_cast<long long>(*whole))
                        : std::snprintf(buffer, size, checked.c_str(), toDouble(args[0]));
    };
    const int n = print(nullptr, 0);
    if (n < 0) throw ScriptError("str(): the number cannot be written in that format");
    std::string out(static_cast<std::size_t>(n) + 1, '\0');
    print(out.data(), out.size());
    out.pop_back();
    return out;
}

Value length(BuiltinCall& call)
{
    const std::vector<Value>& args = call.args;
    if (auto a = std::get_if<Array>(&args[0])) return static_cast<int64_t>(a->shape()[0]);
    if (auto s = std::get_if<std::string>(&args[0])) return static_cast<int64_t>(s->size());
    throw ScriptError(std::string("len(): argument 1 must be an array or a text, got ") + typeName(args[0]));
}

Value newPlot(BuiltinCall& call) { return call.evaluator.newPlot(); }

// sin, cos ...: of a number, or of each value of an array.
template <double (*F)(double)> Value elementWise(BuiltinCall& call)
{
    Value& arg = call.args[0];
    if (isNumber(arg)) return F(toDouble(arg));
    if (auto a = std::get_if<Array>(&arg)) {
        const double* in = a->values();
        Array out = resultFor(std::move(*a));
        double* result = out.writable();
        for (std::size_t i = 0; i < out.size(); ++i) result[i] = F(in[i]);
        return out;
    }
    throw ScriptError(call.name + "(): argument 1 must be a number or an array, got " + typeName(arg));
}

double sine(double x) { return std::sin(x); }
double cosine(double x) { return std::cos(x); }
double tangent(double x) { return std::tan(x); }
double exponential(double x) { return std::exp(x); }
double logarithm(double x) { return std::log(x); }
double squareRoot(double x) { return std::sqrt(x); }
double absolute(double x) { return std::fabs(x); }
double floorOf(double x) { return std::floor(x); }

const Builtin kBuiltins[] = {
    {"CPlot", "", newPlot, "a new plot; delete p destroys it"},
    {"linspace", "a, b, n", linspace, "n values from a to b, evenly spaced"},
    {"range", "first, end[, step]", rangeArray, "the ints first, first + step, ... up to before end"},
    {"random", "n, seed", random, "n values in [0, 1), the same everywhere for a seed"},
    {"len", "a", length, "the length of an array's first dimension, or a text's bytes"},
    {"str", "value[, format]", str, "a value as print writes it, or a number in a format such as %.2f"},
    {"sin", "x", elementWise<sine>, "sine, element by element"},
    {"cos", "x", elementWise<cosine>, "cosine, element by element"},
    {"tan", "x", elementWise<tangent>, "tangent, element by element"},
    {"exp", "x", elementWise<exponential>, "e to the power x, element by element"},
    {"log", "x", elementWise<logarithm>, "natural logarithm, element by element"},
    {"sqrt", "x", elementWise<squareRoot>, "square root, element by element"},
    {"abs", "x", elementWise<absolute>, "absolute value, element by element"},
    {"floor", "x", elementWise<floorOf>, "the largest whole number not above x, element by element"},
    {"meshx", "x, y", meshX, "the x of each point of the grid x by y, as data3D reads it"},
    {"meshy", "x, y", meshY, "the y of each point of the grid x by y, as data3D reads it"},
    {"columns", "a, b[, c, d, e, f]", columnsOf, "the table whose columns are the arrays given: row i holds their i-th values"},
    {"transpose", "a", transposed, "the table turned over: its columns become rows"},
    {"append", "a, b", appended, "values after values, or rows after the rows of a table"},
};

}  // namespace

RangeSpec rangeOf(const std::vector<Value>& args)
{
    RangeSpec range;
    range.first = intArgument("range", args[0], 1);
    const int64_t end = intArgument("range", args[1], 2);
    if (args.size() == 3) range.step = intArgument("range", args[2], 3);
    if (range.step == 0) throw ScriptError("range(): the step must not be 0");
    // The distance as an unsigned number: it may exceed the int64 range.
    const bool up = range.step > 0;
    if (up ? end <= range.first : end >= range.first) return range;
    const uint64_t distance = up ? static_cast<uint64_t>(end) - static_cast<uint64_t>(range.first)
                                 : static_cast<uint64_t>(range.first) - static_cast<uint64_t>(end);
    const uint64_t stride = up ? static_cast<uint64_t>(range.step) : 0 - static_cast<uint64_t>(range.step);
    range.count = (distance - 1) / stride + 1;
    return range;
}

std::size_t Builtin::leastArguments() const
{
    const std::string_view required = parameters.substr(0, parameters.find('['));
    if (required.find_first_not_of(" ,") == std::string_view::npos) return 0;
    return static_cast<std::size_t>(std::count(required.begin(), required.end(), ',')) + 1;
}

std::size_t Builtin::mostArguments() const
{
    if (parameters.empty()) return 0;
    return static_cast<std::size_t>(std::count(parameters.begin(), parameters.end(), ',')) + 1;
}

void Builtin::checkCount(std::size_t given) const
{
    if (given < leastArguments() || given > mostArguments())
        throw wrongArgumentCount(std::string(name) + "()", leastArguments(), mostArguments(), given);
}

std::span<const Builtin> allBuiltins() { return kBuiltins; }

const Builtin* findBuiltin(std::string_view name)
{
    for (const Builtin& b : kBuiltins)
        if (b.name == name) return &b;
    return nullptr;
}

std::vector<Value> Evaluator::evalArguments(const Expr& e)
{
    std::vector<Value> args;
    args.reserve(e.args.size());
    for (const ExprPtr& a : e.args) args.push_back(eval(*a));
    return args;
}

Value Evaluator::callBuiltin(const Expr& e)
{
    const Builtin* builtin = findBuiltin(e.name);
    if (!builtin) {
        std::vector<std::string> known;
        for (const Builtin& b : kBuiltins) known.emplace_back(b.name);
        throw ScriptError("unknown function '" + e.name + "'" + suggestion(e.name, known));
    }
    BuiltinCall call{e.name, evalArguments(e), *this};
    builtin->checkCount(call.args.size());
    return builtin->function(call);
}

Value Evaluator::newPlot()
{
    void* ptr = module_.create();
    if (!ptr) throw ScriptError("CPlot(): the module could not create an instance");
    trees_.push_back(Tree{ptr, true, 0, 0, 1, {}});
    return Instance{ptr, trees_.size() - 1, true, 0};
}

}  // namespace rizari::runner

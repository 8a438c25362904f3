// Built-in functions: CPlot(), linspace, the element-wise maths functions, meshx/meshy, len.
#include <cmath>
#include <cstring>

#include "runner/evaluator.h"
#include "runner/script_error.h"

namespace rizari::runner {
namespace {

using MathFn = double (*)(double);

// The most values an array that a built-in makes may hold (800 MB of doubles).
constexpr std::size_t kMaxBuiltArray = 100000000;

struct MathBuiltin {
    const char* name;
    MathFn fn;
};

const MathBuiltin kMath[] = {
    {"sin", [](double x) { return std::sin(x); }},   {"cos", [](double x) { return std::cos(x); }},
    {"tan", [](double x) { return std::tan(x); }},   {"exp", [](double x) { return std::exp(x); }},
    {"log", [](double x) { return std::log(x); }},   {"sqrt", [](double x) { return std::sqrt(x); }},
    {"abs", [](double x) { return std::fabs(x); }},
};

void expectArgs(const std::string& name, const std::vector<Value>& args, std::size_t n)
{
    if (args.size() != n)
        throw ScriptError(name + "() expects " + std::to_string(n) + " argument" + (n == 1 ? "" : "s") +
                          ", got " + std::to_string(args.size()));
}

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

Value linspace(const std::vector<Value>& args)
{
    expectArgs("linspace", args, 3);
    double a = number("linspace", args[0], 1);
    double b = number("linspace", args[1], 2);
    const int64_t* n = std::get_if<int64_t>(&args[2]);
    if (!n || *n < 0 || *n > static_cast<int64_t>(kMaxBuiltArray))
        throw ScriptError("linspace(): argument 3 must be a count from 0 to " + std::to_string(kMaxBuiltArray));
    Array out({static_cast<int>(*n)});
    double* values = out.writable();
    for (int64_t i = 0; i < *n; ++i)
        values[i] = *n == 1 ? a : a + (b - a) * static_cast<double>(i) / static_cast<double>(*n - 1);
    if (*n > 1) values[*n - 1] = b;
    return out;
}

// The nx * ny grid in the order data3D reads it: x index as the row, y fastest.
Value mesh(const std::string& name, const std::vector<Value>& args, bool wantX)
{
    expectArgs(name, args, 2);
    const Array& x = list(name, args[0], 1);
    const Array& y = list(name, args[1], 2);
    // Each size is below the limit, so their product fits in 64 bits.
    if (x.size() * y.size() > kMaxBuiltArray)
        throw ScriptError(name + "(): a grid of " + std::to_string(x.size()) + " x " + std::to_string(y.size()) +
                          " points is more than " + std::to_string(kMaxBuiltArray));
    Array out({static_cast<int>(x.size() * y.size())});
    double* values = out.writable();
    for (std::size_t i = 0; i < x.size(); ++i)
        for (std::size_t j = 0; j < y.size(); ++j) *values++ = wantX ? x[i] : y[j];
    return out;
}

Value length(const std::vector<Value>& args)
{
    expectArgs("len", args, 1);
    if (auto a = std::get_if<Array>(&args[0])) return static_cast<int64_t>(a->shape()[0]);
    if (auto s = std::get_if<std::string>(&args[0])) return static_cast<int64_t>(s->size());
    throw ScriptError(std::string("len(): argument 1 must be an array or a text, got ") + typeName(args[0]));
}

}  // namespace

Value Evaluator::callBuiltin(const Expr& e)
{
    std::vector<Value> args;
    for (const ExprPtr& a : e.args) args.push_back(eval(*a));
    const std::string& name = e.name;
    if (name == "CPlot") {
        expectArgs(name, args, 0);
        void* ptr = module_.create();
        if (!ptr) throw ScriptError("CPlot(): the module could not create an instance");
        trees_.push_back(Tree{ptr, true, 0, 0, 1, {}});
        return Instance{ptr, trees_.size() - 1, true, 0};
    }
    if (name == "linspace") return linspace(args);
    if (name == "meshx" || name == "meshy") return mesh(name, args, name == "meshx");
    if (name == "len") return length(args);
    for (const MathBuiltin& m : kMath) {
        if (name != m.name) continue;
        expectArgs(name, args, 1);
        if (isNumber(args[0])) return m.fn(toDouble(args[0]));
        if (auto a = std::get_if<Array>(&args[0])) {
            const double* in = a->values();
            Array out = resultFor(std::move(*a));
            double* result = out.writable();
            for (std::size_t i = 0; i < out.size(); ++i) result[i] = m.fn(in[i]);
            return out;
        }
        throw ScriptError(name + "(): argument 1 must be a number or an array, got " + typeName(args[0]));
    }
    throw ScriptError("unknown function '" + name + "'");
}

}  // namespace rizari::runner

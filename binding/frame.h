// The frame shared by every exported entry point: start reading the interpreter's argument list,
// take the instance and the arguments by kind, call the member, end the reading exactly once and
// hand back the result. No exception leaves an entry point.
#pragma once

#include <cstdint>
#include <cstring>
#include <utility>
#include <tuple>
#include <type_traits>

#include "rizari/cplot.h"
#include "zu/zu.h"

// On Windows the module's .def file, made from the same list as the ELF version script, names the
// exports.
#ifdef _WIN32
#define RIZARI_EXPORT extern "C"
#else
#define RIZARI_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Exported by the module itself; forwards to the interpreter's kernel.
RIZARI_EXPORT void* __builtin_Zu_VaArg(ZuInterp* interp, ZuVaList* cursor);

namespace rizari::binding {

class Frame {
public:
    explicit Frame(ZuArgs* args) : cursor_(__builtin_Zu_VaStart(&interp_, args)) {}
    ~Frame() { end(); }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    CPlot* instance() { return take<CPlot*>(); }
    int i32() { return take<int32_t>(); }
    double f64() { return take<double>(); }
    const char* text() { return take<const char*>(); }
    const double* array() { return take<const double*>(); }
    template <class T> T* pointer() { return take<T*>(); }

    // Shape of the next argument (an array), asked before the array itself is taken.
    int dims() const { return Zu_VaArrayDim(interp_, cursor_); }
    int extent(int dim) const { return Zu_VaArrayExtent(interp_, cursor_, dim); }

    ZuInterp* interp() const { return interp_; }

    // Ends the reading; later calls return the first result without ending again.
    int32_t end()
    {
        if (!ended_) {
            ended_ = true;
            endResult_ = Zu_VaEnd(interp_, cursor_);
        }
        return endResult_;
    }

private:
    template <class T> T take()
    {
        T value;
        std::memcpy(&value, __builtin_Zu_VaArg(interp_, &cursor_), sizeof value);
        return value;
    }

    ZuInterp* interp_ = nullptr;
    ZuVaList cursor_;
    bool ended_ = false;
    int32_t endResult_ = 0;
};

// Entry point results: int members give their int, members without a result give what Zu_VaEnd
// returned, members returning a text or an instance give the pointer itself.
template <class R>
using EntryResult = std::conditional_t<std::is_pointer_v<R>, void*, int32_t>;

// The result of an int member whose trailing count selects no form.
inline constexpr int32_t kNoForm = -1;

// Runs body(frame) inside the frame. body returns void, an int or a pointer.
template <class Body>
auto guarded(ZuArgs* args, Body body) noexcept -> EntryResult<std::invoke_result_t<Body, Frame&>>
{
    using R = std::invoke_result_t<Body, Frame&>;
    try {
        Frame frame(args);
        if constexpr (std::is_void_v<R>) {
            body(frame);
            return frame.end();
        } else if constexpr (std::is_pointer_v<R>) {
            R result = body(frame);
            frame.end();
            return const_cast<void*>(static_cast<const void*>(result));
        } else {
            int32_t result = body(frame);
            frame.end();
            return result;
        }
    } catch (...) {
        // Only memory exhaustion can get here; the frame has ended the reading while unwinding.
        if constexpr (std::is_pointer_v<R>) return nullptr;
        else return kNoForm;
    }
}

// ---- Members whose arguments are all fixed: read them by the kinds of the C++ parameters ----

template <class T> T take(Frame& f)
{
    if constexpr (std::is_same_v<T, int>) return f.i32();
    else if constexpr (std::is_same_v<T, bool>) return f.i32() != 0;
    else if constexpr (std::is_same_v<T, double>) return f.f64();
    else if constexpr (std::is_same_v<T, const char*>) return f.text();
    else if constexpr (std::is_same_v<T, const double*>) return f.array();
    else static_assert(sizeof(T) == 0, "no argument kind for this parameter type");
}

template <class M> struct MemberTraits;
template <class R, class... A> struct MemberTraits<R (CPlot::*)(A...)> {
    using Result = R;
    using Args = std::tuple<A...>;
    // Braced initialisation takes the arguments from left to right.
    static Args takeAll(Frame& f) { return Args{take<A>(f)...}; }
};
template <class R, class... A> struct MemberTraits<R (CPlot::*)(A...) const> : MemberTraits<R (CPlot::*)(A...)> {};

template <auto Member, class Tuple> auto callWith(CPlot* plot, const Tuple& args)
{
    return std::apply([plot](auto... a) { return (plot->*Member)(a...); }, args);
}

template <auto M> auto callFixed(Frame& f)
{
    CPlot* plot = f.instance();
    return callWith<M>(plot, MemberTraits<decltype(M)>::takeAll(f));
}

template <auto M> auto fixedEntry(ZuArgs* args) noexcept
{
    return guarded(args, [](Frame& f) { return callFixed<M>(f); });
}

// ---- Members with a trailing count: count k calls form k, after reading the arguments that
// form k has beyond the fixed ones (those of form 0). Any other count calls nothing. ----

template <class Args, std::size_t Skip, std::size_t... K> auto takeTail(Frame& f, std::index_sequence<K...>)
{
    return std::tuple<std::tuple_element_t<Skip + K, Args>...>{take<std::tuple_element_t<Skip + K, Args>>(f)...};
}

template <class R, int K, class Fixed, auto Form, auto... More>
R callForm(Frame& f, CPlot* plot, const Fixed& fixed, int count)
{
    if (count == K) {
        using Args = typename MemberTraits<decltype(Form)>::Args;
        constexpr std::size_t skip = std::tuple_size_v<Fixed>;
        auto tail = takeTail<Args, skip>(f, std::make_index_sequence<std::tuple_size_v<Args> - skip>{});
        return callWith<Form>(plot, std::tuple_cat(fixed, tail));
    }
    if constexpr (sizeof...(More) > 0) return callForm<R, K + 1, Fixed, More...>(f, plot, fixed, count);
    else if constexpr (!std::is_void_v<R>) return kNoForm;
}

template <auto First, auto... More> auto formsEntry(ZuArgs* args) noexcept
{
    using R = typename MemberTraits<decltype(First)>::Result;
    return guarded(args, [](Frame& f) -> R {
        CPlot* plot = f.instance();
        const auto fixed = MemberTraits<decltype(First)>::takeAll(f);
        const int count = f.i32();
        return callForm<R, 0, std::decay_t<decltype(fixed)>, First, More...>(f, plot, fixed, count);
    });
}

// The member function pointer of one overload: pick<int(double, double)>(&CPlot::name).
template <class Sig> constexpr auto pick(Sig CPlot::*member) { return member; }

}  // namespace rizari::binding

// Defines CPlot_<member>_zudl as the given entry implementation.
#define RIZARI_ENTRY(member, ...)                                                              \
    RIZARI_EXPORT decltype(__VA_ARGS__(nullptr)) CPlot_##member##_zudl(ZuArgs* args)          \
    {                                                                                          \
        return __VA_ARGS__(args);                                                              \
    }

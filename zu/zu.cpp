// libzu: argument lists as the interpreter hands them to module entry points, and the host
// calls that build them. See zu.h for the value layout and the calling convention.
#include "zu/zu.h"

#include "platform/unicode.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

struct ZuInterp {
    int unused = 0;
};

namespace {

enum class Kind { Instance, Int, Double, Text, Array, Pointer, Null, End };

ZuInterp g_interp;

// The value of a missing argument: reads as 0, 0.0 or a null pointer.
alignas(8) const unsigned char kZero[8] = {};

}  // namespace

struct ZuArgSlot {
    Kind kind = Kind::End;
    alignas(8) unsigned char bytes[8] = {};  // the value as the entry point reads it
    std::unique_ptr<char[]> text;            // owned copy of a text
    std::vector<int32_t> extents;            // of an array, whose values stay the host's
    double noValues = 0.0;                   // the address an empty array hands out
    ZuArgs* owner = nullptr;
    std::size_t index = 0;

    template <class T> void store(T value)
    {
        static_assert(sizeof(T) <= sizeof(bytes));
        std::memcpy(bytes, &value, sizeof value);
    }
};

struct ZuArgs {
    std::vector<std::unique_ptr<ZuArgSlot>> slots;
    ZuArgSlot end;  // the cursor stops here after the last argument
    int32_t read = 0;
    int32_t starts = 0;
    int32_t ends = 0;

    ZuArgs() { end.owner = this; }

    const ZuArgSlot* at(std::size_t i) const { return i < slots.size() ? slots[i].get() : &end; }

    // Appends a slot prepared by fill; -1 (list unchanged) when memory runs out.
    template <class F> int add(Kind kind, F&& fill)
    {
        try {
            auto slot = std::make_unique<ZuArgSlot>();
            slot->kind = kind;
            slot->owner = this;
            slot->index = slots.size();
            fill(*slot);
            slots.push_back(std::move(slot));
            end.index = slots.size();
            return 0;
        } catch (...) {
            return -1;
        }
    }
};

extern "C" {

ZuVaList __builtin_Zu_VaStart(ZuInterp** interp, ZuArgs* args)
{
    if (interp) *interp = &g_interp;
    if (!args) return nullptr;
    args->starts++;
    args->read = 0;
    return args->at(0);
}

void* __builtin_Zu_VaArg_kernel(ZuInterp*, ZuVaList* cursor)
{
    if (!cursor || !*cursor || (*cursor)->kind == Kind::End) return const_cast<unsigned char*>(kZero);
    const ZuArgSlot* slot = *cursor;
    slot->owner->read++;
    *cursor = slot->owner->at(slot->index + 1);
    return const_cast<unsigned char*>(slot->bytes);
}

int32_t Zu_VaArrayDim(ZuInterp*, ZuVaList cursor)
{
    if (!cursor || cursor->kind != Kind::Array) return 0;
    return static_cast<int32_t>(cursor->extents.size());
}

int32_t Zu_VaArrayExtent(ZuInterp*, ZuVaList cursor, int32_t dim)
{
    if (!cursor || cursor->kind != Kind::Array || dim < 0) return 0;
    auto d = static_cast<std::size_t>(dim);
    return d < cursor->extents.size() ? cursor->extents[d] : 0;
}

int32_t Zu_VaEnd(ZuInterp*, ZuVaList cursor)
{
    if (cursor) cursor->owner->ends++;
    return 0;
}

const char* Zu_Home(ZuInterp*)
{
    // UTF-8 on every platform; valid until the thread's next call.
    thread_local std::optional<std::string> home;
    try {
        home = rizari::unicode::environment("ZUHOME");
    } catch (...) {
        home.reset();
    }
    return home ? home->c_str() : nullptr;
}

ZuArgs* Zu_ArgsNew(void) { return new (std::nothrow) ZuArgs; }

void Zu_ArgsFree(ZuArgs* args) { delete args; }

int Zu_ArgsAddInstance(ZuArgs* args, void* instance)
{
    if (!args) return -1;
    return args->add(Kind::Instance, [&](ZuArgSlot& s) { s.store(instance); });
}

int Zu_ArgsAddInt(ZuArgs* args, int32_t value)
{
    if (!args) return -1;
    return args->add(Kind::Int, [&](ZuArgSlot& s) { s.store(value); });
}

int Zu_ArgsAddDouble(ZuArgs* args, double value)
{
    if (!args) return -1;
    return args->add(Kind::Double, [&](ZuArgSlot& s) { s.store(value); });
}

int Zu_ArgsAddText(ZuArgs* args, const char* text)
{
    if (!args) return -1;
    return args->add(Kind::Text, [&](ZuArgSlot& s) {
        if (text) {
            std::size_t n = std::strlen(text) + 1;
            s.text = std::make_unique<char[]>(n);
            std::memcpy(s.text.get(), text, n);
        }
        s.store(static_cast<const char*>(s.text.get()));
    });
}

int Zu_ArgsAddArray(ZuArgs* args, const double* values, int32_t dims, const int32_t* extents)
{
    if (!args || dims < 1 || !extents) return -1;
    std::size_t count = 1;
    for (int32_t d = 0; d < dims; ++d) {
        if (extents[d] < 0) return -1;
        count *= static_cast<std::size_t>(extents[d]);
    }
    if (count > 0 && !values) return -1;
    return args->add(Kind::Array, [&](ZuArgSlot& s) {
        s.extents.assign(extents, extents + dims);
        // An empty array still hands out a valid address, so that it differs from null.
        s.store(count > 0 ? values : static_cast<const double*>(&s.noValues));
    });
}

int Zu_ArgsAddPointer(ZuArgs* args, void* pointer)
{
    if (!args) return -1;
    return args->add(Kind::Pointer, [&](ZuArgSlot& s) { s.store(pointer); });
}

int Zu_ArgsAddNull(ZuArgs* args)
{
    if (!args) return -1;
    return args->add(Kind::Null, [](ZuArgSlot&) {});
}

int32_t Zu_ArgsCount(const ZuArgs* args) { return args ? static_cast<int32_t>(args->slots.size()) : 0; }
int32_t Zu_ArgsRead(const ZuArgs* args) { return args ? args->read : 0; }
int32_t Zu_ArgsStarts(const ZuArgs* args) { return args ? args->starts : 0; }
int32_t Zu_ArgsEnds(const ZuArgs* args) { return args ? args->ends : 0; }

}  // extern "C"

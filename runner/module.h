// The plotting module, loaded with dlopen (LoadLibrary on Windows); every entry point is resolved
// by name at load time.
#pragma once

#include <map>
#include <string>

#include "zu/zu.h"

namespace rizari::runner {

class Module {
public:
    using IntEntry = int32_t (*)(ZuArgs*);
    using PointerEntry = void* (*)(ZuArgs*);
    using Create = void* (*)();

    // Loads the module; throws std::runtime_error with the reason when it or an entry point is
    // missing.
    explicit Module(const std::string& path);
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    void* symbol(const std::string& member) const;  // CPlot_<member>_zudl
    void* create() const;
    void destroy(void* instance) const;

private:
    void* handle_ = nullptr;
    std::map<std::string, void*> entries_;
};

// The module beside the running program or in its installed library folder, unless
// RIZARI_MODULE names another.
std::string defaultModulePath();

}  // namespace rizari::runner

#include "module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <stdexcept>

#include "member_table.h"

namespace rizari::runner {

Module::Module(const std::string& path)
{
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) throw std::runtime_error(std::string("cannot load module: ") + dlerror());
    for (const MemberInfo& m : allMembers()) {
        std::string name = std::string("CPlot_") + m.name + "_zudl";
        void* entry = dlsym(handle_, name.c_str());
        if (!entry) {
            dlclose(handle_);
            throw std::runtime_error("module " + path + " has no entry point " + name);
        }
        entries_[m.name] = entry;
    }
}

Module::~Module()
{
    if (handle_) dlclose(handle_);
}

void* Module::symbol(const std::string& member) const
{
    auto it = entries_.find(member);
    return it == entries_.end() ? nullptr : it->second;
}

void* Module::create() const { return reinterpret_cast<Create>(symbol("CPlot"))(); }

void Module::destroy(void* instance) const
{
    ZuArgs* args = Zu_ArgsNew();
    if (!args || Zu_ArgsAddInstance(args, instance) != 0) {
        Zu_ArgsFree(args);
        return;
    }
    reinterpret_cast<IntEntry>(symbol("dCPlot"))(args);
    Zu_ArgsFree(args);
}

std::string defaultModulePath()
{
    if (const char* env = std::getenv("RIZARI_MODULE"); env && *env) return env;
    char self[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "librizari.dl";
    std::string dir(self, static_cast<std::size_t>(n));
    dir.erase(dir.find_last_of('/') + 1);
    return dir + "librizari.dl";
}

}  // namespace rizari::runner

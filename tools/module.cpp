#include "module.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "member_table.h"

namespace rizari::runner {

namespace {
constexpr const char* kModuleName = "librizari.dl";
}

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
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return kModuleName;
    // In a build tree the module sits beside the runner; in an installed tree in the library folder.
    const std::filesystem::path beside = self.parent_path() / kModuleName;
    const std::filesystem::path installed = self.parent_path() / RIZARI_INSTALLED_MODULE_DIR / kModuleName;
    return (std::filesystem::exists(beside, error) || !std::filesystem::exists(installed, error)
                ? beside : installed.lexically_normal()).string();
}

}  // namespace rizari::runner

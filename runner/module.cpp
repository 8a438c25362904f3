#include "runner/module.h"

#include "platform/unicode.h"

#ifndef _WIN32
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#endif

#include <filesystem>
#include <stdexcept>

#include "runner/member_table.h"

namespace rizari::runner {

namespace {

#ifdef _WIN32

std::string systemMessage(DWORD error)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out = text ? unicode::narrow(text) : "error " + std::to_string(error);
    LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) out.pop_back();
    return out;
}

// The module's own folder is searched first for the libraries it needs (zu.dll).
void* openLibrary(const std::string& path)
{
    std::wstring wide = unicode::widen(path);
    for (wchar_t& c : wide)
        if (c == L'/') c = L'\\';
    HMODULE library = LoadLibraryExW(wide.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!library) throw std::runtime_error("cannot load module: " + path + ": " + systemMessage(GetLastError()));
    return library;
}

void* findSymbol(void* library, const std::string& name)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
}

void closeLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

// The running program's folder, with its separator.
std::string programFolder()
{
    std::wstring self(MAX_PATH, L'\0');
    DWORD n = 0;
    while ((n = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()))) == self.size())
        self.resize(self.size() * 2);
    self.resize(n);
    return unicode::narrow(self.substr(0, self.find_last_of(L"\\/") + 1));
}

#else

void* openLibrary(const std::string& path)
{
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) throw std::runtime_error(std::string("cannot load module: ") + dlerror());
    return library;
}

void* findSymbol(void* library, const std::string& name) { return dlsym(library, name.c_str()); }

void closeLibrary(void* library) { dlclose(library); }

std::string programFolder()
{
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "";
    std::string dir(self, static_cast<std::size_t>(n));
    return dir.erase(dir.find_last_of('/') + 1);
}

#endif

}  // namespace

Module::Module(const std::string& path) : handle_(openLibrary(path))
{
    for (const MemberInfo& m : allMembers()) {
        const std::string name = "CPlot_" + m.name + "_zudl";
        void* entry = findSymbol(handle_, name);
        if (!entry) {
            closeLibrary(handle_);
            throw std::runtime_error("module " + path + " has no entry point " + name);
        }
        entries_[m.name] = entry;
    }
}

Module::~Module()
{
    if (handle_) closeLibrary(handle_);
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
    if (auto env = unicode::environment("RIZARI_MODULE"); env && !env->empty()) return *env;
    // In a build tree the module sits beside the runner; in an installed tree in the library folder.
    constexpr const char* kModuleName = "librizari.dl";
    const std::string beside = programFolder() + kModuleName;
    const std::string installed = programFolder() + RIZARI_INSTALLED_MODULE_DIR + "/" + kModuleName;
    std::error_code error;
    const bool useInstalled = !std::filesystem::exists(unicode::utf8Path(beside), error) &&
                              std::filesystem::exists(unicode::utf8Path(installed), error);
    return useInstalled ? unicode::utf8String(unicode::utf8Path(installed).lexically_normal()) : beside;
}

}  // namespace rizari::runner

// Texts are UTF-8 everywhere inside the project. Windows speaks UTF-16 at its boundary (paths,
// the environment, the command line), and its narrow calls use the ANSI code page, which cannot
// spell every name; these helpers convert at that boundary. On POSIX they pass bytes through.
// Header-only: the library, the runner, libzu, the tests and the fake engine share it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>
#else
#include <cstdlib>
#endif

namespace rizari::unicode {

// A path from UTF-8 text, and back.
inline std::filesystem::path utf8Path(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8String(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

#ifdef _WIN32

inline std::wstring widen(std::string_view text)
{
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), length);
    return out;
}

inline std::string narrow(std::wstring_view text)
{
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

// The process environment itself, which child processes get (the C runtime's _wputenv updates it).
inline std::optional<std::string> environment(const char* name)
{
    const std::wstring wideName = widen(name);
    std::wstring value(256, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        if (length < value.size()) {
            value.resize(length);
            return narrow(value);
        }
        value.resize(length);  // the size it needs, its terminator included
    }
}

// The program's arguments as the command line gives them, not as the ANSI code page spells them.
inline std::vector<std::string> arguments(int, char**)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> out;
    for (int i = 0; wide && i < count; ++i) out.push_back(narrow(wide[i]));
    LocalFree(wide);
    return out;
}

#else

inline std::optional<std::string> environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

inline std::vector<std::string> arguments(int argc, char** argv) { return {argv, argv + argc}; }

#endif

}  // namespace rizari::unicode

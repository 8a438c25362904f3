#ifdef _WIN32

#define _CRT_RAND_S  // rand_s: the names of temporary files
#include "platform/platform.h"
#include "platform/temporary_files.h"
#include "platform/unicode.h"

#include <fcntl.h>
#include <io.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace rizari::platform {

using unicode::narrow;
using unicode::widen;

namespace {

constexpr int kWriteAccess = 2;
// The longest path the wide calls take.
constexpr std::size_t kMaxPath = 32768;
constexpr int kNameAttempts = 100;
constexpr int kDeleteAttempts = 100;
constexpr DWORD kDeleteRetryMilliseconds = 20;

// errno for the last Win32 error, so that perror and strerror tell what went wrong.
void setErrnoFromLastError()
{
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: errno = ENOENT; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT: errno = EACCES; break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: errno = EEXIST; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: errno = ENOSPC; break;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: errno = ENOMEM; break;
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH: errno = ENOEXEC; break;
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
    case ERROR_INVALID_PARAMETER: errno = EINVAL; break;
    default: errno = EIO; break;
    }
}

// A handle closed when it goes.
class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~Handle() { reset(); }
    Handle(Handle&& other) noexcept : h_(other.release()) {}
    Handle& operator=(Handle&& other) noexcept
    {
        if (this != &other) {
            reset();
            h_ = other.release();
        }
        return *this;
    }
    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset()
    {
        if (h_) CloseHandle(h_);
        h_ = nullptr;
    }
    HANDLE release() { return std::exchange(h_, nullptr); }

private:
    HANDLE h_ = nullptr;
};

bool writableDirectory(const std::wstring& dir)
{
    const DWORD attributes = GetFileAttributesW(dir.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           _waccess(dir.c_str(), kWriteAccess) == 0;
}

// The Temp folder of the Windows folder, where programs without a TMP have always written.
std::optional<std::string> windowsTemp()
{
    std::array<wchar_t, MAX_PATH> windows{};
    const UINT length = GetWindowsDirectoryW(windows.data(), static_cast<UINT>(windows.size()));
    if (length == 0 || length >= windows.size()) return std::nullopt;
    const std::wstring dir = std::wstring(windows.data(), length) + L"\\Temp";
    return writableDirectory(dir) ? std::optional<std::string>(narrow(dir)) : std::nullopt;
}

// Six letters or digits, as mkstemp uses.
std::string randomSuffix()
{
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string out;
    for (int i = 0; i < 6; ++i) {
        unsigned int r = 0;
        rand_s(&r);
        out += kLetters[r % (sizeof kLetters - 1)];
    }
    return out;
}

bool isRegularFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// An inheritable copy of a handle for a child; none for a missing handle.
Handle inheritableCopy(HANDLE h)
{
    HANDLE copy = nullptr;
    if (!h || h == INVALID_HANDLE_VALUE) return Handle();
    if (!DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS))
        return Handle();
    return Handle(copy);
}

struct StandardHandles {
    HANDLE input;
    HANDLE output;
    HANDLE error;
};

// Starts the program with these standard handles; the child inherits them and no other handle of
// ours (another thread may be starting an engine of its own at the same time). Its process handle,
// or none with errno set.
Handle startProcess(const std::string& program, const std::vector<std::string>& argv, StandardHandles handles)
{
    const std::wstring application = widen(program);
    std::wstring commandLine = widen(windowsCommandLine(argv));
    Handle copies[] = {inheritableCopy(handles.input), inheritableCopy(handles.output), inheritableCopy(handles.error)};
    std::vector<HANDLE> inherited;
    for (const Handle& h : copies)
        if (h) inherited.push_back(h.get());

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = copies[0].get();
    startup.StartupInfo.hStdOutput = copies[1].get();
    startup.StartupInfo.hStdError = copies[2].get();
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<unsigned char> storage(size);
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    const bool listed = !inherited.empty() && InitializeProcThreadAttributeList(attributes, 1, 0, &size) &&
                        UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited.data(),
                                                  inherited.size() * sizeof(HANDLE), nullptr, nullptr);
    if (listed) startup.lpAttributeList = attributes;

    std::fflush(nullptr);  // the child shares our standard output
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, listed,
                                        listed ? EXTENDED_STARTUPINFO_PRESENT : 0, nullptr, nullptr,
                                        &startup.StartupInfo, &process);
    if (!started) setErrnoFromLastError();
    if (listed) DeleteProcThreadAttributeList(attributes);
    if (!started) return Handle();
    CloseHandle(process.hThread);
    return Handle(process.hProcess);
}

// Waits for the process; its exit status.
int exitCodeOf(const Handle& process)
{
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<int>(code);
}

}  // namespace

std::optional<std::string> temporaryDirectory()
{
    std::string dir;
    for (const char* name : {"TMP", "TEMP"}) {
        if (auto value = getEnv(name); value && !value->empty()) {
            dir = std::move(*value);
            break;
        }
    }
    if (dir.empty()) {
        auto fallback = windowsTemp();
        if (!fallback) return std::nullopt;
        dir = std::move(*fallback);
    }
    if (dir.back() != '\\' && dir.back() != '/') dir += '\\';
    return dir;
}

std::optional<TemporaryFile> createTemporaryFile()
{
    const auto dir = temporaryDirectory();
    if (!dir) return std::nullopt;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = *dir + "rizari" + randomSuffix();
        // CREATE_NEW fails on an existing name: no file of anyone else is ever taken over.
        Handle created(CreateFileW(widen(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!created) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;
            setErrnoFromLastError();
            return std::nullopt;
        }
        // Binary: scripts and data files are byte for byte the POSIX ones, and gnuplot reads LF
        // line ends on Windows too.
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(created.get()), _O_WRONLY | _O_BINARY);
        if (fd < 0) {
            created.reset();
            DeleteFileW(widen(name).c_str());
            return std::nullopt;
        }
        created.release();  // the descriptor owns it now
        std::FILE* file = (keepTemporaryFiles() || temporary_files::add(name)) ? _fdopen(fd, "wb") : nullptr;
        if (!file) {
            _close(fd);
            removeTemporaryFile(name);
            return std::nullopt;
        }
        return TemporaryFile{std::move(name), file};
    }
    errno = EEXIST;
    return std::nullopt;
}

int removeTemporaryFile(const std::string& path)
{
    temporary_files::forget(path);
    if (keepTemporaryFiles()) return 0;
    return removeFile(path);
}

void unlinkNow(const char* path) noexcept
{
    wchar_t wide[kMaxPath];  // no allocation: this may run while the process stops
    if (MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, static_cast<int>(kMaxPath)) > 0) DeleteFileW(wide);
}

void removeFolderNow(const char* path) noexcept
{
    wchar_t wide[kMaxPath];
    if (MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, static_cast<int>(kMaxPath)) > 0) RemoveDirectoryW(wide);
}

bool othersMayReplaceFiles(std::string_view) { return false; }

std::FILE* openFile(std::string_view path, const char* mode)
{
    return _wfopen(widen(path).c_str(), widen(mode).c_str());
}

int removeFile(std::string_view path)
{
    // Unlike POSIX, Windows refuses to delete a file that another program has open (an engine
    // reading it, a virus scanner): such a refusal is waited out for a while.
    const std::wstring wide = widen(path);
    for (int attempt = 0;; ++attempt) {
        if (DeleteFileW(wide.c_str())) return 0;
        if (GetLastError() != ERROR_SHARING_VIOLATION || attempt == kDeleteAttempts) break;
        Sleep(kDeleteRetryMilliseconds);
    }
    setErrnoFromLastError();
    return -1;
}

namespace {

// The state of the file a handle is open on.
std::optional<FileState> stateOf(HANDLE h)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info)) return std::nullopt;
    FileState state;
    state.regular = GetFileType(h) == FILE_TYPE_DISK && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    state.device = info.dwVolumeSerialNumber;
    state.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    state.size = (static_cast<long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return state;
}

// The path opened for its attributes only, links followed or not.
Handle openForState(std::string_view path, bool followLinks)
{
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    return Handle(CreateFileW(widen(path).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, flags, nullptr));
}

// Reads up to `bytes` bytes from the start or the end of a regular file.
std::optional<std::string> readPart(std::string_view path, std::size_t bytes, bool fromEnd)
{
    const Handle file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    const auto state = stateOf(file.get());
    if (!state || !state->regular) return std::nullopt;
    const auto size = static_cast<std::size_t>(state->size);
    const std::size_t length = size < bytes ? size : bytes;
    LARGE_INTEGER offset{};
    offset.QuadPart = fromEnd ? static_cast<LONGLONG>(size - length) : 0;
    if (!SetFilePointerEx(file.get(), offset, nullptr, FILE_BEGIN)) return std::nullopt;
    std::string text(length, '\0');
    DWORD got = 0;
    if (length > 0 && !ReadFile(file.get(), text.data(), static_cast<DWORD>(length), &got, nullptr)) return std::nullopt;
    text.resize(got);
    return text;
}

}  // namespace

std::optional<OpenedFile> openRegularFile(std::string_view path)
{
    Handle file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        setErrnoFromLastError();
        return std::nullopt;
    }
    const auto state = stateOf(file.get());
    if (!state || !state->regular) {
        errno = EINVAL;
        return std::nullopt;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file.get()), _O_RDONLY | _O_TEXT);
    if (fd < 0) return std::nullopt;
    file.release();  // the descriptor owns it now
    std::FILE* stream = _fdopen(fd, "r");
    if (!stream) {
        _close(fd);
        return std::nullopt;
    }
    return OpenedFile{stream, state->size};
}

std::optional<FileState> fileState(std::string_view path)
{
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // Devices such as NUL have no attributes but open all the same.
        const Handle device = openForState(path, true);
        return device ? stateOf(device.get()) : std::nullopt;
    }
    const Handle target = openForState(path, true);
    std::optional<FileState> state = target ? stateOf(target.get()) : FileState{};
    if (!state) state = FileState{};
    state->link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    return state;
}

bool removeIfStillEmpty(std::string_view path, const FileState& known)
{
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    const auto now = fileState(path);
    if (!now || !now->regular || now->size != 0 || !now->sameFile(known)) return false;
    return removeFile(path) == 0;
}

std::optional<std::string> fileHead(std::string_view path, std::size_t bytes) { return readPart(path, bytes, false); }

std::optional<std::string> fileTail(std::string_view path, std::size_t bytes) { return readPart(path, bytes, true); }

DeferredStopSignals::DeferredStopSignals() = default;
DeferredStopSignals::~DeferredStopSignals() = default;
bool DeferredStopSignals::stopRequested() const { return false; }

bool isWritable(std::string_view path) { return _waccess(widen(path).c_str(), kWriteAccess) == 0; }

void* allocateBlock(std::size_t bytes) noexcept { return std::malloc(bytes); }

void freeBlock(void* block) noexcept { std::free(block); }

bool putEnv(std::string_view assignment)
{
    try {
        return _wputenv(widen(assignment).c_str()) == 0;  // the runtime keeps a copy
    } catch (...) {
        return false;
    }
}

std::string homeEngine(std::string_view home) { return std::string(home) + "\\sbin\\wgnuplot.exe"; }

std::vector<std::string> engineCandidates(std::string_view home)
{
    std::vector<std::string> found;
    if (const std::string own = homeEngine(home); !home.empty() && isRegularFile(own)) found.push_back(own);
    const std::string path = getEnv("PATH").value_or("");
    for (std::string_view rest = path; !rest.empty();) {
        const std::size_t end = rest.find(';');
        std::string dir(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (dir.size() >= 2 && dir.front() == '"' && dir.back() == '"') dir = dir.substr(1, dir.size() - 2);
        if (dir.empty()) continue;
        if (dir.back() != '\\' && dir.back() != '/') dir += '\\';
        for (const char* name : {"wgnuplot.exe", "gnuplot.exe"}) {
            if (isRegularFile(dir + name)) {
                found.push_back(dir + name);
                return found;
            }
        }
    }
    return found;
}

RunResult runAndWait(const std::string& program, const std::vector<std::string>& argv, RunOptions options)
{
    // Our ends of the pipes stay with us (not inheritable); the child's copies close when it ends.
    Handle inputRead, inputWrite, errorsRead, errorsWrite;
    auto openPipe = [](Handle& read, Handle& write) {
        HANDLE r = nullptr, w = nullptr;
        if (!CreatePipe(&r, &w, nullptr, 0)) {
            setErrnoFromLastError();
            return false;
        }
        read = Handle(r);
        write = Handle(w);
        return true;
    };
    if ((options.holdInput && !openPipe(inputRead, inputWrite)) || (options.captureErrors && !openPipe(errorsRead, errorsWrite)))
        return {RunResult::End::NotStarted, errno, {}};
    const HANDLE input = options.holdInput ? inputRead.get() : GetStdHandle(STD_INPUT_HANDLE);
    const HANDLE error = options.captureErrors ? errorsWrite.get() : GetStdHandle(STD_ERROR_HANDLE);
    const Handle process = startProcess(program, argv, {input, GetStdHandle(STD_OUTPUT_HANDLE), error});
    if (!process) return {RunResult::End::NotStarted, errno, {}};
    inputRead.reset();
    RunResult result{RunResult::End::Exited, 0, {}};
    if (options.captureErrors) {
        errorsWrite.reset();  // the pipe ends when the program's copy closes
        char buffer[4096];
        DWORD n = 0;
        while (ReadFile(errorsRead.get(), buffer, sizeof buffer, &n, nullptr) && n > 0) {
            try {
                result.errors.append(buffer, n);
            } catch (...) {
                // Without memory to keep the text the program still runs to its end.
            }
        }
    }
    result.code = exitCodeOf(process);
    return result;
}

bool inputIsTerminal()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

bool hasDisplay() { return true; }  // a Windows session always has its desktop

std::optional<std::string> outputOf(const std::string& program, const std::vector<std::string>& argv)
{
    HANDLE r = nullptr, w = nullptr;
    if (!CreatePipe(&r, &w, nullptr, 0)) return std::nullopt;
    Handle readEnd(r), writeEnd(w);
    const Handle nothing(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    const Handle process = startProcess(program, argv, {nothing.get(), writeEnd.get(), GetStdHandle(STD_ERROR_HANDLE)});
    writeEnd.reset();  // the pipe ends when the program's copy closes
    if (!process) return std::nullopt;
    std::string out;
    char buffer[512];
    DWORD n = 0;
    while (ReadFile(readEnd.get(), buffer, sizeof buffer, &n, nullptr) && n > 0)
        if (out.size() < kMaxProgramOutput) out.append(buffer, n);
    if (exitCodeOf(process) != 0) return std::nullopt;
    return out;
}

bool setStdoutBinary(bool binary)
{
    std::fflush(stdout);
    return _setmode(_fileno(stdout), binary ? _O_BINARY : _O_TEXT) != -1;
}

bool writeStdout(const void* data, std::size_t size)
{
    if (std::fflush(stdout) != 0) return false;
    const char* p = static_cast<const char*>(data);
    constexpr std::size_t kChunk = 1 << 20;  // _write takes an unsigned int
    while (size > 0) {
        const int n = _write(_fileno(stdout), p, static_cast<unsigned int>(size < kChunk ? size : kChunk));
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace rizari::platform

#endif

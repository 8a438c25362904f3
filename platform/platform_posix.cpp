#ifndef _WIN32

#include "platform/huge_pages.h"
#include "platform/platform.h"
#include "platform/posix_io.h"
#include "platform/temporary_files.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace rizari::platform {

std::optional<std::string> temporaryDirectory()
{
    std::string dir;
    for (const char* name : {"TMP", "TEMP", "TMPDIR"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            dir = value;
            break;
        }
    }
    if (dir.empty()) {
        if (access("/tmp", W_OK) != 0) return std::nullopt;
        dir = "/tmp";
    }
    if (dir.back() != '/') dir += '/';
    return dir;
}

bool othersMayReplaceFiles(std::string_view folder)
{
    struct stat st {};
    if (stat(std::string(folder).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    return (st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (st.st_mode & S_ISVTX) == 0;
}

void unlinkNow(const char* path) noexcept { unlink(path); }

void removeFolderNow(const char* path) noexcept { rmdir(path); }

std::FILE* openFile(std::string_view path, const char* mode) { return std::fopen(std::string(path).c_str(), mode); }

std::optional<OpenedFile> openRegularFile(std::string_view path)
{
    // Without O_NONBLOCK, opening a FIFO would wait for a writer.
    const int fd = open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    std::FILE* file = nullptr;
    // Reads block again once it is known to be a regular file, as stdio expects.
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && fcntl(fd, F_SETFL, 0) == 0) file = fdopen(fd, "r");
    if (!file) {
        close(fd);
        return std::nullopt;
    }
    return OpenedFile{file, static_cast<long long>(st.st_size)};
}

int removeFile(std::string_view path) { return std::remove(std::string(path).c_str()) == 0 ? 0 : -1; }

bool isWritable(std::string_view path) { return access(std::string(path).c_str(), W_OK) == 0; }

std::optional<FileState> fileState(std::string_view path)
{
    const std::string name(path);
    struct stat own {}, target {};
    if (lstat(name.c_str(), &own) != 0) return std::nullopt;
    FileState state;
    state.link = S_ISLNK(own.st_mode);
    if (stat(name.c_str(), &target) != 0) return state;  // a dangling link
    state.regular = S_ISREG(target.st_mode);
    state.device = static_cast<std::uint64_t>(target.st_dev);
    state.inode = static_cast<std::uint64_t>(target.st_ino);
    state.size = static_cast<long long>(target.st_size);
    return state;
}

bool removeIfStillEmpty(std::string_view path, const FileState& known)
{
    const std::string name(path);
    struct stat now {};
    if (lstat(name.c_str(), &now) != 0 || !S_ISREG(now.st_mode) || now.st_size != 0) return false;
    if (static_cast<std::uint64_t>(now.st_dev) != known.device || static_cast<std::uint64_t>(now.st_ino) != known.inode)
        return false;
    return unlink(name.c_str()) == 0;
}

namespace {

// Reads up to `bytes` bytes at `offset` (from the end when fromEnd).
std::optional<std::string> readPart(std::string_view path, std::size_t bytes, bool fromEnd)
{
    const int fd = open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    std::optional<std::string> out;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        const auto size = static_cast<std::size_t>(st.st_size);
        const std::size_t length = size < bytes ? size : bytes;
        const off_t offset = fromEnd ? static_cast<off_t>(size - length) : 0;
        std::string text(length, '\0');
        const ssize_t n = pread(fd, text.data(), length, offset);
        if (n >= 0) {
            text.resize(static_cast<std::size_t>(n));
            out = std::move(text);
        }
    }
    close(fd);
    return out;
}

}  // namespace

std::optional<std::string> fileHead(std::string_view path, std::size_t bytes) { return readPart(path, bytes, false); }

std::optional<std::string> fileTail(std::string_view path, std::size_t bytes) { return readPart(path, bytes, true); }

namespace {

sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, signal);
    return set;
}

}  // namespace

static_assert(sizeof(sigset_t) <= DeferredStopSignals::kMaskBytes, "room for the thread's signal mask");

DeferredStopSignals::DeferredStopSignals()
{
    const sigset_t set = stopSignals();
    sigset_t old;
    deferring_ = pthread_sigmask(SIG_BLOCK, &set, &old) == 0;
    std::memcpy(saved_, &old, sizeof old);
}

DeferredStopSignals::~DeferredStopSignals()
{
    if (!deferring_) return;
    sigset_t old;
    std::memcpy(&old, saved_, sizeof old);
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

bool DeferredStopSignals::stopRequested() const
{
    sigset_t pending;
    if (!deferring_ || sigpending(&pending) != 0) return false;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        if (sigismember(&pending, signal) == 1) return true;
    return false;
}

namespace {

// Large blocks are mapped on their own, aligned to the huge page size so that huge pages cover
// them whole. Unmapping gives the memory back at once, which the heap does not promise for blocks
// below its own mapping threshold.
constexpr std::size_t kMappedFrom = kHugePage;

// In front of every block, the length of its own mapping (0 for a block from the heap); the
// values behind it start a cache line further on.
constexpr std::size_t kHeaderBytes = 64;

std::size_t roundUp(std::size_t n, std::size_t to) { return (n + to - 1) / to * to; }

// A mapping of at least `bytes` starting on a huge page boundary; mapped one huge page longer,
// then trimmed.
unsigned char* mapAligned(std::size_t bytes, std::size_t& length)
{
    if (bytes > SIZE_MAX - 2 * kHugePage) return nullptr;
    length = roundUp(bytes, kHugePage);
    void* raw = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    auto* start = static_cast<unsigned char*>(raw);
    auto* aligned = reinterpret_cast<unsigned char*>(roundUp(reinterpret_cast<std::uintptr_t>(start), kHugePage));
    if (aligned > start) munmap(start, static_cast<std::size_t>(aligned - start));
    if (aligned < start + kHugePage) munmap(aligned + length, static_cast<std::size_t>(start + kHugePage - aligned));
    adviseHugePages(aligned, length);
    return aligned;
}

}  // namespace

void* allocateBlock(std::size_t bytes) noexcept
{
    if (bytes > SIZE_MAX - kHeaderBytes) return nullptr;
    const std::size_t total = bytes + kHeaderBytes;
    std::size_t mapped = 0;
    unsigned char* header = total >= kMappedFrom ? mapAligned(total, mapped) : static_cast<unsigned char*>(std::malloc(total));
    if (!header) return nullptr;
    std::memcpy(header, &mapped, sizeof mapped);
    return header + kHeaderBytes;
}

void freeBlock(void* block) noexcept
{
    if (!block) return;
    unsigned char* header = static_cast<unsigned char*>(block) - kHeaderBytes;
    std::size_t mapped;
    std::memcpy(&mapped, header, sizeof mapped);
    if (mapped > 0) munmap(header, mapped);
    else std::free(header);
}

bool putEnv(std::string_view assignment)
{
    // putenv keeps the pointer: the storage is deliberately never freed.
    char* storage = static_cast<char*>(std::malloc(assignment.size() + 1));
    if (!storage) return false;
    std::memcpy(storage, assignment.data(), assignment.size());
    storage[assignment.size()] = '\0';
    return putenv(storage) == 0;
}

std::string homeEngine(std::string_view home)
{
    std::string engine = std::string(home) + "/sbin/gnuplot";
    for (char& c : engine)
        if (c == '\\') c = '/';
    return engine;
}

std::vector<std::string> engineCandidates(std::string_view home)
{
    std::vector<std::string> found;
    const std::string own = homeEngine(home);
    if (!home.empty() && access(own.c_str(), X_OK) == 0) found.push_back(own);
    const char* path = std::getenv("PATH");
    for (std::string_view rest = path ? path : ""; !rest.empty();) {
        const std::size_t end = rest.find(':');
        const std::string dir(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/gnuplot";
        if (access(candidate.c_str(), X_OK) == 0) {
            found.push_back(candidate);
            break;
        }
    }
    return found;
}

namespace {

// A pipe between us and the child; both ends are closed on exec, so that no other child holds
// them, and closed when it goes.
struct Pipe {
    int read = -1;
    int write = -1;
    ~Pipe()
    {
        posix::closeEnd(read);
        posix::closeEnd(write);
    }
    bool open()
    {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0) return false;
        read = ends[0];
        write = ends[1];
        return true;
    }
};

}  // namespace

RunResult runAndWait(const std::string& program, const std::vector<std::string>& argv, RunOptions options)
{
    std::vector<char*> args = posix::argvPointers(argv);
    Pipe input, errors;
    if ((options.holdInput && !input.open()) || (options.captureErrors && !errors.open()))
        return {RunResult::End::NotStarted, errno, {}};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.holdInput) posix_spawn_file_actions_adddup2(&actions, input.read, STDIN_FILENO);
    if (options.captureErrors) posix_spawn_file_actions_adddup2(&actions, errors.write, STDERR_FILENO);
    std::fflush(nullptr);  // the child shares our standard output
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return {RunResult::End::NotStarted, rc, {}};
    RunResult result{RunResult::End::Exited, 0, {}};
    bool interrupted = false;
    // A signal the host handles without SA_RESTART stops the wait: the engine is ended too.
    auto interrupt = [&] {
        if (!interrupted) kill(pid, SIGTERM);
        interrupted = true;
    };
    if (options.captureErrors) {
        posix::closeEnd(errors.write);
        while (!posix::readToEnd(errors.read, result.errors)) interrupt();
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return {RunResult::End::NotStarted, errno, std::move(result.errors)};
        interrupt();
    }
    if (interrupted) result.end = RunResult::End::Interrupted, result.code = SIGTERM;
    else if (WIFSIGNALED(status)) result.end = RunResult::End::Signaled, result.code = WTERMSIG(status);
    else result.code = WEXITSTATUS(status);
    return result;
}

bool inputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

bool hasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (const auto value = getEnv(name); value && !value->empty()) return true;
    return false;
}

std::optional<std::string> outputOf(const std::string& program, const std::vector<std::string>& argv)
{
    std::vector<char*> args = posix::argvPointers(argv);
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    std::string out;
    char buffer[512];
    for (ssize_t n; rc == 0 && (n = read(ends[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        if (out.size() < kMaxProgramOutput) out.append(buffer, static_cast<std::size_t>(n));
    }
    close(ends[0]);
    if (rc != 0) return std::nullopt;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return out;
}

bool setStdoutBinary(bool) { return true; }

namespace {

// While alive, SIGPIPE waits for the calling thread instead of ending the process; one that a
// write raised meanwhile is taken away when it goes, so the write only fails with EPIPE.
class HeldBrokenPipe {
public:
    HeldBrokenPipe()
    {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        waitingBefore_ = sigismember(&pending, SIGPIPE) == 1;
        holding_ = pthread_sigmask(SIG_BLOCK, &pipe_, &saved_) == 0;
    }
    ~HeldBrokenPipe()
    {
        if (!holding_) return;
        const int error = errno;
        const timespec now{0, 0};
        if (!waitingBefore_)
            while (sigtimedwait(&pipe_, nullptr, &now) < 0 && errno == EINTR) {
            }
        pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
        errno = error;
    }
    HeldBrokenPipe(const HeldBrokenPipe&) = delete;
    HeldBrokenPipe& operator=(const HeldBrokenPipe&) = delete;

private:
    sigset_t pipe_;
    sigset_t saved_;
    bool waitingBefore_ = false;
    bool holding_ = false;
};

}  // namespace

bool writeStdout(const void* data, std::size_t size)
{
    const HeldBrokenPipe held;
    if (std::fflush(stdout) != 0) return false;
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = write(STDOUT_FILENO, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace rizari::platform

#endif

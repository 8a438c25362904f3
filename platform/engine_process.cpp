#include "platform/engine_process.h"

#include <cerrno>

#ifndef _WIN32

#include "platform/posix_io.h"

#include <fcntl.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

extern char** environ;

namespace rizari::platform {

namespace {

// How often the end of a session looks whether the windows its engine left open are closed.
constexpr long kGroupPollNanoseconds = 100'000'000;
// The program's command channel, and the lowest descriptor our ends of its pipes may have, so
// that handing them to the program as 0, 2 and 3 never overwrites one of them.
constexpr int kCommandDescriptor = 3;
constexpr int kFirstFreeDescriptor = kCommandDescriptor + 1;

RunResult endOf(int status)
{
    if (WIFSIGNALED(status)) return {RunResult::End::Signaled, WTERMSIG(status), {}};
    return {RunResult::End::Exited, WEXITSTATUS(status), {}};
}

// Both ends of a new pipe, closed on exec, at kFirstFreeDescriptor or above; false with errno set.
bool openPipe(int (&ends)[2])
{
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    for (int& end : ends) {
        if (end >= kFirstFreeDescriptor) continue;
        const int moved = fcntl(end, F_DUPFD_CLOEXEC, kFirstFreeDescriptor);
        const int error = errno;
        close(end);
        end = moved;
        if (moved < 0) {
            for (int& other : ends) posix::closeEnd(other);
            errno = error;
            return false;
        }
    }
    return true;
}

}  // namespace

// Ends a process group once a limit has passed, unless it is disarmed first. One thread waits for
// every limit of its EngineProcess, so that arming and disarming cost no thread start and no
// wait; it takes no signal, since the thread that reads the program's messages must see them. It
// ends a group only while armed, under its lock, so once disarm() has returned the group's
// number may be given back (the program reaped).
class EngineProcess::GroupWatch {
public:
    GroupWatch()
    {
        sigset_t all, old;
        sigfillset(&all);
        pthread_sigmask(SIG_SETMASK, &all, &old);
        try {
            thread_ = std::thread([this] { watch(); });
        } catch (...) {
            // Without a thread waits have no limit.
        }
        pthread_sigmask(SIG_SETMASK, &old, nullptr);
    }
    ~GroupWatch()
    {
        if (!thread_.joinable()) return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            quit_ = true;
        }
        changed_.notify_one();
        thread_.join();
    }
    GroupWatch(const GroupWatch&) = delete;
    GroupWatch& operator=(const GroupWatch&) = delete;

    void arm(pid_t group, std::chrono::milliseconds limit)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            group_ = group;
            deadline_ = std::chrono::steady_clock::now() + limit;
            fired_ = false;
        }
        changed_.notify_one();
    }
    // Whether the group was ended since arm(); from here on it is left alone.
    bool disarm()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        deadline_.reset();
        return fired_;
    }

private:
    void watch()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!quit_) {
            if (!deadline_) {
                changed_.wait(lock);
            } else if (std::chrono::steady_clock::now() < *deadline_) {
                changed_.wait_until(lock, *deadline_);
            } else {
                kill(-group_, SIGKILL);  // also a stopped program; not yet reaped, so the group is still its own
                fired_ = true;
                deadline_.reset();
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    pid_t group_ = -1;
    bool fired_ = false;
    bool quit_ = false;
    std::thread thread_;
};

EngineProcess::EngineProcess() = default;

EngineProcess::~EngineProcess()
{
    stop();
    // In a forked copy of the process the watching thread is not there to end: its record is left.
    if (watch_ && owner_ != getpid()) static_cast<void>(watch_.release());
}

bool EngineProcess::start(const std::string& program, const std::vector<std::string>& argv)
{
    if (running()) return false;
    int input[2], messages[2];
    if (!openPipe(input)) return false;
    if (!openPipe(messages)) {
        const int error = errno;
        close(input[0]), close(input[1]);
        errno = error;
        return false;
    }
    std::vector<char*> args = posix::argvPointers(argv);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, messages[1], STDERR_FILENO);
    posix_spawn_file_actions_adddup2(&actions, input[0], kCommandDescriptor);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::fflush(nullptr);  // the program shares our standard output
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(messages[1]);
    if (rc != 0) {
        close(input[1]), close(messages[0]);
        end_ = {RunResult::End::NotStarted, rc, {}};
        errno = rc;
        return false;
    }
    pid_ = pid;
    owner_ = getpid();
    input_ = input[1];
    messages_ = messages[0];
    pending_.clear();
    end_ = {RunResult::End::Exited, 0, {}};
    return true;
}

bool EngineProcess::running() const { return pid_ > 0 && owner_ == getpid(); }

void EngineProcess::closeChannels()
{
    posix::closeEnd(input_);
    posix::closeEnd(messages_);
}

void EngineProcess::reap(bool interruptible)
{
    int status = 0;
    for (;;) {
        if (waitpid(pid_, &status, 0) == pid_) break;
        if (errno != EINTR) {
            end_ = {RunResult::End::NotStarted, errno, {}};
            pid_ = -1;
            return;
        }
        if (interruptible) kill(-pid_, SIGTERM);
    }
    std::string errors = std::move(end_.errors);
    end_ = endOf(status);
    end_.errors = std::move(errors);
    pid_ = -1;
}

bool EngineProcess::endedByItself()
{
    if (!running()) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return false;
    pid_ = -1;
    end_ = endOf(status);
    closeChannels();
    return true;
}

bool EngineProcess::send(std::string_view text)
{
    if (!running()) return false;
    // Writing into the pipe of a program that has ended raises SIGPIPE: it is held back here and
    // taken away again, unless one was already waiting.
    sigset_t pipeSignal, saved, waiting;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &saved);
    sigpending(&waiting);
    const bool pipeSignalWaited = sigismember(&waiting, SIGPIPE) == 1;
    int error = 0;
    while (!text.empty()) {
        const ssize_t n = write(input_, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : EPIPE;
            break;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    if (error == EPIPE && !pipeSignalWaited) {
        const timespec none{0, 0};
        sigtimedwait(&pipeSignal, nullptr, &none);
    }
    pthread_sigmask(SIG_SETMASK, &saved, nullptr);
    return error == 0;
}

EngineProcess::Read EngineProcess::readUntil(std::string_view marker, std::string& before, std::string& line,
                                             std::chrono::milliseconds limit)
{
    const bool limited = limit.count() > 0;
    if (limited) {
        if (!watch_) watch_ = std::make_unique<GroupWatch>();
        watch_->arm(pid_, limit);
    }
    const Read read = readMarkerLine(marker, before, line);
    const bool timedOut = limited && watch_->disarm();
    if (read != Read::Ended) return read;
    reap(false);
    if (timedOut) end_ = {RunResult::End::TimedOut, static_cast<int>(limit.count()), {}};
    return timedOut ? Read::TimedOut : Read::Ended;
}

EngineProcess::Read EngineProcess::readMarkerLine(std::string_view marker, std::string& before, std::string& line)
{
    std::size_t searched = 0;  // lines before this offset of pending_ hold no marker
    for (;;) {
        for (std::size_t end; (end = pending_.find('\n', searched)) != std::string::npos; searched = end + 1) {
            if (std::string_view(pending_).substr(searched, end - searched).starts_with(marker)) {
                before.append(pending_, 0, searched);
                line.assign(pending_, searched + marker.size(), end - searched - marker.size());
                pending_.erase(0, end + 1);
                return Read::Marker;
            }
        }
        char buffer[4096];
        const ssize_t n = read(messages_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) return Read::Interrupted;
        if (n <= 0) {
            before += pending_;
            pending_.clear();
            closeChannels();
            return Read::Ended;  // not yet reaped
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

const RunResult& EngineProcess::finish(bool waitForGroup, std::chrono::milliseconds limit)
{
    if (!running()) return end_;
    const pid_t group = pid_;
    posix::closeEnd(input_);
    std::string last = std::move(pending_);
    pending_.clear();
    const bool limited = !waitForGroup && limit.count() > 0;
    if (limited) {
        if (!watch_) watch_ = std::make_unique<GroupWatch>();
        watch_->arm(group, limit);
    }
    while (!posix::readToEnd(messages_, last)) kill(-group, SIGTERM);  // a signal ends the wait: the engine goes at once
    if (limited) watch_->disarm();
    posix::closeEnd(messages_);
    reap(true);
    end_.errors = std::move(last);
    if (!waitForGroup) return end_;
    // What the engine left behind (its windows, kept by a process of its own) is in its group.
    const timespec pause{0, kGroupPollNanoseconds};
    while (kill(-group, 0) == 0) {
        if (nanosleep(&pause, nullptr) != 0 && errno == EINTR) {
            kill(-group, SIGTERM);
            break;
        }
    }
    return end_;
}

const RunResult& EngineProcess::stop()
{
    if (!running()) return end_;
    kill(-pid_, SIGTERM);
    closeChannels();
    pending_.clear();
    reap(false);
    return end_;
}

}  // namespace rizari::platform

#else  // Windows: no engine process; each plot runs its own engine.

namespace rizari::platform {

class EngineProcess::GroupWatch {};
EngineProcess::EngineProcess() = default;
EngineProcess::~EngineProcess() = default;
bool EngineProcess::start(const std::string&, const std::vector<std::string>&)
{
    errno = ENOSYS;
    return false;
}
bool EngineProcess::running() const { return false; }
bool EngineProcess::endedByItself() { return false; }
bool EngineProcess::send(std::string_view) { return false; }
EngineProcess::Read EngineProcess::readUntil(std::string_view, std::string&, std::string&, std::chrono::milliseconds)
{
    return Read::Ended;
}
EngineProcess::Read EngineProcess::readMarkerLine(std::string_view, std::string&, std::string&) { return Read::Ended; }
const RunResult& EngineProcess::finish(bool, std::chrono::milliseconds) { return end_; }
const RunResult& EngineProcess::stop() { return end_; }
void EngineProcess::closeChannels() {}
void EngineProcess::reap(bool) {}

}  // namespace rizari::platform

#endif

#include "platform/engine_process.h"

#include <cerrno>

#ifndef _WIN32

#include "platform/posix_io.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <ctime>

extern char** environ;

namespace rizari::platform {

namespace {

// How often the end of a session looks whether the windows its engine left open are closed.
constexpr long kGroupPollNanoseconds = 100'000'000;

RunResult endOf(int status)
{
    if (WIFSIGNALED(status)) return {RunResult::End::Signaled, WTERMSIG(status), {}};
    return {RunResult::End::Exited, WEXITSTATUS(status), {}};
}

}  // namespace

EngineProcess::~EngineProcess() { stop(); }

bool EngineProcess::start(const std::string& program, const std::vector<std::string>& argv)
{
    if (pid_ > 0) return false;
    // The input is a socket, not a pipe: writing to it after the program ended fails with EPIPE
    // instead of raising SIGPIPE in a host that did not ask for it.
    int input[2], messages[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, input) != 0) return false;
    if (pipe2(messages, O_CLOEXEC) != 0) {
        const int error = errno;
        close(input[0]), close(input[1]);
        errno = error;
        return false;
    }
    std::vector<char*> args = posix::argvPointers(argv);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, messages[1], STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::fflush(nullptr);  // the program shares our standard output
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(input[1]);
    close(messages[1]);
    if (rc != 0) {
        close(input[0]), close(messages[0]);
        end_ = {RunResult::End::NotStarted, rc, {}};
        errno = rc;
        return false;
    }
    pid_ = pid;
    input_ = input[0];
    messages_ = messages[0];
    pending_.clear();
    end_ = {RunResult::End::Exited, 0, {}};
    return true;
}

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
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return false;
    pid_ = -1;
    end_ = endOf(status);
    closeChannels();
    return true;
}

bool EngineProcess::send(std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = ::send(input_, text.data(), text.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

EngineProcess::Read EngineProcess::readUntil(std::string_view marker, std::string& before, std::string& line)
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
            reap(false);
            return Read::Ended;
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

const RunResult& EngineProcess::finish(bool waitForGroup)
{
    if (pid_ <= 0) return end_;
    const pid_t group = pid_;
    posix::closeEnd(input_);
    std::string last = std::move(pending_);
    pending_.clear();
    while (!posix::readToEnd(messages_, last)) kill(-group, SIGTERM);  // a signal ends the wait: the engine goes at once
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
    if (pid_ <= 0) return end_;
    kill(-pid_, SIGTERM);
    closeChannels();
    pending_.clear();
    reap(false);
    return end_;
}

}  // namespace rizari::platform

#else  // Windows: no engine process; each plot runs its own engine.

namespace rizari::platform {

EngineProcess::~EngineProcess() = default;
bool EngineProcess::start(const std::string&, const std::vector<std::string>&)
{
    errno = ENOSYS;
    return false;
}
bool EngineProcess::endedByItself() { return false; }
bool EngineProcess::send(std::string_view) { return false; }
EngineProcess::Read EngineProcess::readUntil(std::string_view, std::string&, std::string&) { return Read::Ended; }
const RunResult& EngineProcess::finish(bool) { return end_; }
const RunResult& EngineProcess::stop() { return end_; }
void EngineProcess::closeChannels() {}
void EngineProcess::reap(bool) {}

}  // namespace rizari::platform

#endif

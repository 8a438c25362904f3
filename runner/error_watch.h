// Tells whether a call into the module wrote to standard error. The module reports a refused
// argument with a line there, and has no other way to say so (void members return nothing). While
// the call runs, file descriptor 2 points at a scratch file of the runner; then it is restored to
// whatever it was (a terminal, a file, a test's capture) and what the call wrote is copied there,
// so the text and its order stay as they were.
#pragma once

#include <utility>

namespace rizari::runner {

class ErrorWatch {
public:
    ErrorWatch() = default;
    ~ErrorWatch();
    ErrorWatch(const ErrorWatch&) = delete;
    ErrorWatch& operator=(const ErrorWatch&) = delete;

    // Runs call(); true when it wrote anything to standard error. Without a scratch file (none
    // could be made) the call runs unwatched and counts as silent.
    template <class Call> bool run(Call&& call)
    {
        const bool watching = begin();
        std::forward<Call>(call)();
        return watching && end();
    }

private:
    bool begin();
    bool end();

    int scratch_ = -1;  // made at the first call
    int saved_ = -1;    // the descriptor 2 of before the call; -1 when it was closed
};

}  // namespace rizari::runner

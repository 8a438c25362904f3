// Many plots, one engine: in a session the first plotting() starts one gnuplot that reads its
// commands from a pipe, and every plotting() of the process has it load the plot's script and
// waits until it has finished it. Each plot starts clean: the engine forgets the settings,
// variables, error state, output and multiplot of the plot before it; a file terminal whose
// options differ from the ones the engine used before gets a fresh engine, since gnuplot keeps a
// terminal's options from one "set terminal" to the next. An engine that died is started again.
//
// A session is on while RIZARI_SESSION=1 is in the environment (its engine then ends with the
// process, after the windows it drew are closed) or an EngineSession lives (its engine ends, and
// its windows close, with the last one). POSIX only: on Windows every plot runs its own engine.
#pragma once

#include <string>

#include "platform/platform.h"

namespace rizari::session {

// Whether plotting() hands its script to the session's engine.
bool active();

// Starts the session's engine for this program unless it runs already: its start then overlaps
// the writing of the script.
void prepare(const std::string& program);

// The major version of the session's engine, as it tells at its start; 0 when it does not run.
int majorVersion(const std::string& program);

// What the engine is to run: the script, its lines that set terminal options ("set terminal",
// "set termoption"), and whether it draws into a window.
struct Job {
    const std::string& script;
    std::string terminalLines;
    bool window;
};

// Has the session's engine run the script and waits until it has finished it, with its output
// file complete and closed. The engine's own messages about it are in the result's errors; a
// script that failed ends as exit status 1, as a gnuplot of its own would have ended.
platform::RunResult run(const std::string& program, const Job& job);

// The lines of a script file that set terminal options; empty when it cannot be read.
std::string terminalLinesOf(const std::string& script);

// A window of its own for a plot in a session (a per-process number, from 1).
int newWindow();

}  // namespace rizari::session

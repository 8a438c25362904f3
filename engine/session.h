// Many plots, one engine: the first plotting() of a process starts one gnuplot that reads its
// commands from a channel of its own, and every plotting() after it has that engine load the
// plot's script and waits until it has finished it. A plot draws exactly as it would alone:
// - the engine forgets the settings, variables, error state and multiplot of the plot before it
//   (reset session), and every plot sets its own output;
// - what reset leaves, a terminal's options, is known from the writer (EngineEffects): a plot
//   keeps the engine only when its terminal lines are those of the file plot before it and set
//   every cell alike, so that repeating them leaves the terminal as a fresh engine has it;
// - a file or stream plot whose texts hold gnuplot code that can set anything runs a gnuplot of
//   its own (plotting() decides); a live window plot with such code has the engine started
//   afresh after it; so has a change of the working folder or of the engine program (a file plot
//   that would start it afresh while it holds live windows runs a gnuplot of its own instead);
// - the engine's answer after a plot carries a random marker, new for each engine, and the
//   plot's number, so no text of a plot can pass for it; a plot that has not ended within a limit
//   ends the engine and fails alone.
//
// Sessions are on for file and stream plots unless RIZARI_SESSION=0 is in the environment or the
// program called useEngineSession(false); window plots are live (drawn by the session's engine,
// plotting() returning once the window is drawn) when the plot asked for it (liveWindow), with
// RIZARI_SESSION=1, or while an EngineSession lives. The engine ends with the process (after the
// live windows are closed) or with the last EngineSession (its windows close). POSIX only: on
// Windows every plot runs its own engine.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"
#include "script/script_writer.h"

namespace rizari::session {

// Whether file and stream plots go to the session's engine.
bool forFiles();

// Whether a plot's window plots are live; `asked` is the plot's own liveWindow(1).
bool forWindows(bool asked);

// Starts the session's engine for this program unless it runs already: its start then overlaps
// the writing of the script.
void prepare(const std::string& program);

// The major version of the session's engine, as it tells at its start; 0 when it does not run.
int majorVersion(const std::string& program);

// What the engine is to run: the script, what it sets beyond its plot, and whether it draws into
// a window.
struct Job {
    const std::string& script;
    const EngineEffects& effects;
    bool window;
};

// Has the session's engine run the script and waits until it has finished it, with its output
// file complete and closed. The engine's own messages about it are in the result's errors; a
// script that failed ends the engine, with gnuplot's own exit status. None for a file plot that
// the engine cannot draw as a fresh one would while it holds live windows, which starting it
// afresh would close: that plot runs a gnuplot of its own.
std::optional<platform::RunResult> run(const std::string& program, const Job& job);

// A window of its own for a live window plot (a per-process number, from 1).
int newWindow();

}  // namespace rizari::session

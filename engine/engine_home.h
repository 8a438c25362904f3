// Where a plot looks for its engine.
#pragma once

#include <string>

#include "platform/platform.h"
#include "plot/plot_state.h"

namespace rizari {

// The installation home of the engine: the one handed to the plot, else (for programs that use
// the class directly) the interpreter's home from the environment.
inline std::string engineHomeOf(const PlotImpl& top)
{
    if (top.engineHome) return *top.engineHome;
    return platform::getEnv("ZUHOME").value_or("");
}

}  // namespace rizari

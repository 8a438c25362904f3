// The command script of a plot as a text.
#include "engine/script_text.h"

#include "engine/engine_home.h"
#include "engine/plot_script.h"
#include "platform/platform.h"

namespace rizari {

std::optional<std::string> plotScriptText(PlotImpl& top)
{
    handOutQueuedLegends(top.state);
    const std::vector<std::string> engines = platform::engineCandidates(engineHomeOf(top));
    std::string text;
    ScriptWriter w(text, [&] { return engines.empty() ? 0 : platform::engineMajorVersion(engines.front()); });
    if (!writePlotScript(w, top, true)) return std::nullopt;
    return text;
}

}  // namespace rizari

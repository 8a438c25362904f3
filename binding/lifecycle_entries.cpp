// Creation and destruction of instances, the plotting entry point with its environment set-up,
// and the argument reader that every entry point calls.
#include <cstdio>
#include <new>
#include <string>

#include "binding/frame.h"
#include "platform/platform.h"

using namespace rizari;
using namespace rizari::binding;

RIZARI_EXPORT void* __builtin_Zu_VaArg(ZuInterp* interp, ZuVaList* cursor)
{
    return __builtin_Zu_VaArg_kernel(interp, cursor);
}

// Takes no argument list.
RIZARI_EXPORT void* CPlot_CPlot_zudl()
{
    try {
        return new CPlot;
    } catch (...) {
        return nullptr;
    }
}

RIZARI_EXPORT int32_t CPlot_dCPlot_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) { delete f.instance(); });
}

namespace {

// Points the engine at the interpreter's PostScript files unless the caller chose a folder.
void exportPostScriptDir(const char* home)
{
    if (platform::getEnv("GNUPLOT_PS_DIR")) return;
    try {
        platform::putEnv(std::string("GNUPLOT_PS_DIR=") + home + "/sbin/PostScript");
    } catch (...) {
        // Without the storage the variable simply stays unset.
    }
}

// The home in the interpreter's native form, every "/" a backslash; none when out of memory.
const char* nativeHome(const char* home, std::string& storage)
{
    try {
        storage = home;
    } catch (...) {
        std::fputs("Error: no memory in CPLot::CPlot()\n", stderr);
        return nullptr;
    }
    for (char& c : storage)
        if (c == '/') c = '\\';
    return storage.c_str();
}

}  // namespace

// Every call hands the interpreter's current home to the plot before plotting(). Without a home
// (ZUHOME unset) the environment is left alone and the plot gets no home.
RIZARI_EXPORT int32_t CPlot_plotting_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        const char* home = Zu_Home(f.interp());
        std::string storage;
        const char* engineHome = nullptr;
        if (home) {
            exportPostScriptDir(home);
            engineHome = nativeHome(home, storage);
        }
        plot->setEngineHome(engineHome);
        return plot->plotting();
    });
}

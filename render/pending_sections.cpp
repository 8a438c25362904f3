// TEMPORARY: placeholders until the style members are written. Remove each function from this
// file as its real definition lands; delete the file when it is empty.
#include "plot/cplot.h"

namespace rizari {

int CPlot::applyPendingFill() { return -1; }

}  // namespace rizari

// Releasing what a plot owns on disk: shared by the reset, the destructor and deleteData.
#pragma once

#include "plot/plot_state.h"

namespace rizari {

// Releases every data set; a temporary data file goes with its data set (reported when it has
// vanished), a caller's data file never does.
void removeDataSets(PlotState& s);

// Removes the temporary files that plotting() wrote for the data set (its data file and the image
// of its dots' shades) and forgets them; -1 (errno set) when one of them could not be removed.
int removeTemporaryData(DataSet& set);

// Removes the command script of the latest plotting() and the stream output's image, both made by
// the plot, and forgets their names.
void removeTemporaryOutputs(OutputState& out);

// The data set of a number as the style members address it: 0 or below is the first; null when
// the plot has none or the number lies beyond the last.
DataSet* dataSetByNumber(PlotState& s, int num);

}  // namespace rizari

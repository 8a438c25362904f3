// The built-ins that build tables: columns(a, b, ...), transpose(a) and append(a, b).
#pragma once

#include "runner/builtins.h"

namespace rizari::runner {

// The table whose columns are the arrays given, each of the same length: row i holds their i-th
// values, as data() reads a table of x, y, dy.
Value columnsOf(BuiltinCall& call);
// The table turned over: row i holds column i (a one-dimensional array is one row).
Value transposed(BuiltinCall& call);
// Values after values, or rows after the rows of a table (a row, or a table of as many columns);
// an empty array starts a table.
Value appended(BuiltinCall& call);

}  // namespace rizari::runner

// The places where gnuplot 5.4 rejects a line of the command language as this library writes it,
// or where the line breaks other plots of the same canvas. Every such replacement lives here.
#pragma once

namespace rizari::engine_compat {

// The time stamp section switches the stamp off with "unset time"; gnuplot 5.4 answers
// "Unrecognized option" and stops reading the script. Its own spelling is "timestamp".
inline constexpr const char* kUnsetTimeStamp = "unset timestamp\n";

// A plot with only objects or labels draws one inline point ("plot '-' with dots" and " 0 0").
// gnuplot keeps reading inline data until a line "e", so without it every later line (the next
// cells of a multiplot, "unset multiplot") would be swallowed as data.
inline constexpr const char* kEndInlineData = "e\n";

// A background rectangle from screen 0,0 to 1,1 drawn in one cell of a multiplot paints over
// the cells drawn before it. In a cell the rectangle covers the cell's own box instead:
// from its origin to origin + size (all fractions of the canvas).
inline constexpr const char* kCellBackground =
    "set object rectangle from screen %g,%g to screen %g,%g fillcolor rgb \"%q\" behind\n";

}  // namespace rizari::engine_compat

// The lines that differ between the engine as this library's command language was written for and
// the gnuplot versions it runs: every version-dependent line lives in this one table, beside the
// lines that replace a spelling of the language that no version reads. A script is written for one
// dialect, chosen by the version of the engine that will read it; the version is asked only when a
// script needs one of the table's lines.
#pragma once

namespace rizari {

// The time stamp section switches the stamp off with "unset time"; gnuplot 5.4 answers
// "Unrecognized option" and stops reading the script. Its own spelling is "timestamp".
inline constexpr const char* kUnsetTimeStamp = "unset timestamp\n";

// A background rectangle from screen 0,0 to 1,1 drawn in one cell of a multiplot paints over the
// cells drawn before it. In a cell the rectangle covers the cell's own box instead: from its
// origin to origin + size (all fractions of the canvas).
inline constexpr const char* kCellBackground =
    "set object rectangle from screen %g,%g to screen %g,%g fillcolor rgb \"%q\" behind\n";

struct EngineDialect {
    // A plot with only objects or labels draws one point so that the engine draws them. Inline
    // data needs the "e" that ends it, or every later line (the next cells of a multiplot, "unset
    // multiplot") would be read as data; gnuplot 6 warns about inline data in a multiplot, so it
    // draws the point from the pseudo-file '+' instead (the key entry stays "'-'").
    const char* emptyPlot;

    // Contour labels in the key: gnuplot 6 no longer knows "set clabel"; "unset cntrlabel" is
    // its spelling of the same look.
    const char* contourLabelsOn;
};

inline constexpr EngineDialect kGnuplot5{
    "plot '-' with dots\n 0 0\ne\n",
    "set clabel\n",
};

inline constexpr EngineDialect kGnuplot6{
    "plot '+' using (0):(0) every ::0::0 title \"'-'\" with dots\n",
    "unset cntrlabel\n",
};

// The dialect of an engine of this major version (0 when it is not known: the 5.4 dialect).
constexpr const EngineDialect& dialectFor(int majorVersion) { return majorVersion >= 6 ? kGnuplot6 : kGnuplot5; }

}  // namespace rizari

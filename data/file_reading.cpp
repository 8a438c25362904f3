// Reading data files: dataFileSeparator, dataFileHeader, the separator line of the script and
// the words of each data set's clause that say how the engine reads its file.
#include "data/file_reading.h"

#include <cctype>
#include <cstring>
#include <string>

#include "platform/messages.h"

namespace rizari {

namespace {

// A caller's data file, named by dataFile; the library writes the files of the other data sets.
bool isCallerFile(const DataSet& set) { return !set.values && set.fileName; }

bool isCsvName(const std::string& name)
{
    constexpr std::string_view kCsv = ".csv";
    if (name.size() < kCsv.size()) return false;
    for (std::size_t i = 0; i < kCsv.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[name.size() - kCsv.size() + i])) != kCsv[i]) return false;
    return true;
}

// The separator the engine is told: none while it reads blank-separated columns, as it does by
// default and in the files the library writes.
std::optional<char> separatorOf(const PlotState& s)
{
    bool callerFiles = false, csv = false;
    for (const DataSet& set : s.dataSets) {
        if (!isCallerFile(set)) continue;
        callerFiles = true;
        csv = csv || isCsvName(*set.fileName);
    }
    const char separator = s.reading.separator.value_or(csv ? ',' : ' ');
    if (!callerFiles || separator == ' ') return std::nullopt;
    return separator;
}

// A separator the engine can split numbers and times by: a tab, a blank, or a punctuation mark
// that no number holds and that does not start a comment or a quoted field.
bool isSeparator(char c)
{
    return c == '\t' || c == ' ' || (std::ispunct(static_cast<unsigned char>(c)) && !std::strchr(".+-#\"'", c));
}

// The columns of a file the library writes for the data set.
int ownColumns(const DataSet& set, int dimension)
{
    if (set.matrix) return set.matrix->cols;
    return dimension == 3 ? 3 : 2;
}

// The library's own file as the plot must read it: split at blanks whatever the plot's
// separator, its times as the plain seconds it holds, a box width of its own as a column.
bool writeOwnFileWords(ScriptWriter& w, const PlotState& s, const DataSet& set)
{
    const bool separated = separatorOf(s).has_value();
    const bool times = s.timeAxes.first(s.dimension) != nullptr;
    const bool widths = set.binWidth && set.plotType == Style::Boxes && s.dimension == 2;
    if (!separated && !times && !widths) return false;
    w.put("using ");
    for (int column = 1; column <= ownColumns(set, s.dimension); ++column) {
        if (column > 1) w.put(":");
        // The whole line is one field for the separator; an expression is read as a number,
        // never in the time format.
        if (separated) w.print("(real(word(strcol(1),%d)))", column);
        else if (times) w.print("($%d)", column);
        else w.print("%d", column);
    }
    if (widths) w.print(":(%g)", *set.binWidth);
    w.put(" ");
    return true;
}

}  // namespace

void CPlot::dataFileSeparator(const char* separator)
{
    std::optional<char>& chosen = impl_->state.reading.separator;
    if (!separator || !*separator) {
        chosen.reset();
    } else if (separator[1] != '\0' || !isSeparator(separator[0])) {
        report("CPlot::dataFileSeparator(): invalid separator\n");
    } else {
        chosen = separator[0];
    }
}

void CPlot::dataFileHeader(int flag)
{
    if (flag != 0 && flag != 1) {
        report("CPlot::dataFileHeader(): invalid parameter\n");
        return;
    }
    PlotState& s = impl_->state;
    s.reading.headerNames = flag == 1;
    // The names are legends: the legend box shows them.
    if (flag == 1 && s.text.legend == LegendMode::Off) s.text.legend = LegendMode::On;
}

void writeFileReading(ScriptWriter& w, const PlotState& s)
{
    if (const auto separator = separatorOf(s)) w.print("set datafile separator \"%q\"\n", std::string(1, *separator));
}

bool titleFromHeader(const PlotState& s, const DataSet& set)
{
    // The outline of a filled curve (which takes no legend) draws the same file without a title.
    return s.reading.headerNames && isCallerFile(set) && !set.legend && set.takesQueuedLegend;
}

bool writeReadingWords(ScriptWriter& w, const PlotState& s, const DataSet& set)
{
    if (!isCallerFile(set)) return set.values && writeOwnFileWords(w, s, set);
    // A title from the header reads the header line itself; any other must skip it.
    if (s.reading.headerNames && !titleFromHeader(s, set)) w.put("skip 1 ");
    // Time columns are read only where the columns are named.
    if (s.dimension == 2 && !set.fileOption && s.timeAxes.first(2)) {
        w.put("using 1:2 ");
        return true;
    }
    return false;
}

}  // namespace rizari

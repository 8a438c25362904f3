#include "engine/layout_probe.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>

#include "data/data_file_writer.h"
#include "platform/platform.h"

namespace rizari {

namespace {

// What the probe has gnuplot print, in this order: the axes' ranges, the plot area's edges in the
// terminal's units, the picture's last column and row in them, and its units per pixel.
constexpr const char* kLayoutLine =
    "print sprintf(\"%.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g\", GPVAL_X_MIN, GPVAL_X_MAX, GPVAL_Y_MIN, "
    "GPVAL_Y_MAX, GPVAL_TERM_XMIN * GPVAL_TERM_SCALE, GPVAL_TERM_XMAX * GPVAL_TERM_SCALE, GPVAL_TERM_YMIN * GPVAL_TERM_SCALE, "
    "GPVAL_TERM_YMAX * GPVAL_TERM_SCALE, GPVAL_TERM_XSIZE, GPVAL_TERM_YSIZE, GPVAL_TERM_SCALE)\n";
constexpr std::size_t kLayoutNumbers = 11;

// The temporary files of one probe, removed when it ends.
class ProbeFiles {
public:
    ProbeFiles() = default;
    ProbeFiles(const ProbeFiles&) = delete;
    ProbeFiles& operator=(const ProbeFiles&) = delete;
    ~ProbeFiles()
    {
        for (const std::string& name : names_) platform::removeTemporaryFile(name);
    }
    std::optional<platform::TemporaryFile> make()
    {
        auto file = platform::createTemporaryFile();
        if (file) names_.push_back(file->name);
        return file;
    }

private:
    std::vector<std::string> names_;
};

// The plot's data file names, their reductions and output file, put back when the probe ends. The
// probe draws no image of an earlier plot's dots (data/dot_shades.h).
class Borrowed {
public:
    Borrowed(PlotState& s, OutputState& output) : s_(s), output_(output), file_(output.file)
    {
        for (DataSet& set : s.dataSets) {
            names_.push_back(set.fileName);
            reductions_.push_back(std::exchange(set.reduction, std::nullopt));
        }
    }
    Borrowed(const Borrowed&) = delete;
    Borrowed& operator=(const Borrowed&) = delete;
    ~Borrowed()
    {
        output_.file = file_;
        for (std::size_t i = 0; i < names_.size() && i < s_.dataSets.size(); ++i) {
            s_.dataSets[i].fileName = names_[i];
            s_.dataSets[i].reduction = reductions_[i];
        }
    }

private:
    PlotState& s_;
    OutputState& output_;
    std::optional<std::string> file_;
    std::vector<std::optional<std::string>> names_;
    std::vector<std::optional<Reduction>> reductions_;
};

// The points that set the set's ranges, written as its whole data would be; false when they
// could not be.
bool writeStandIn(const DataSet& set, int dimension, const ReductionTarget& target, ProbeFiles& files, std::string& name)
{
    auto file = files.make();
    if (!file) return false;
    ReductionTarget extremes = target;
    extremes.extremesOnly = true;
    Reduction reduction;
    reduction.target = extremes;
    name = file->name;
    return WriteDataFile(set, dimension, file->file, &reduction) == WriteResult::Written && reduction.keptPoints;
}

// The layout gnuplot printed; none unless it is whole and makes sense.
std::optional<PlotLayout> layoutIn(const std::string& text)
{
    std::array<double, kLayoutNumbers> v{};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (double& number : v) {
        while (at < end && *at == ' ') ++at;
        const auto [next, error] = std::from_chars(at, end, number);
        if (error != std::errc() || !std::isfinite(number)) return std::nullopt;
        at = next;
    }
    const auto whole = [](double units) { return static_cast<int>(std::lround(units)); };
    PlotLayout l{v[0], v[1], v[2], v[3], whole(v[4]), whole(v[5]), whole(v[6]), whole(v[7]), whole(v[8]), whole(v[9]), whole(v[10])};
    const bool sensible = l.xMin != l.xMax && l.yMin != l.yMax && l.pixel > 0 && l.left < l.right && l.bottom < l.top && l.left >= 0 &&
                          l.bottom >= 0 && l.right <= l.width && l.top <= l.height && std::fabs(v[4]) < 1e9 && std::fabs(v[8]) < 1e9;
    if (!sensible) return std::nullopt;
    return l;
}

}  // namespace

std::optional<PlotLayout> probeLayout(PlotState& s, OutputState& output, const std::vector<LaidOutSet>& sets, const LayoutProbe& probe,
                                      const std::function<void(ScriptWriter&)>& writeBlock)
{
    ProbeFiles files;
    const Borrowed borrowed(s, output);
    for (const LaidOutSet& laidOut : sets) {
        std::string name;
        if (!writeStandIn(s.dataSets[laidOut.index], s.dimension, laidOut.target, files, name)) return std::nullopt;
        s.dataSets[laidOut.index].fileName = name;
    }
    auto image = files.make(), printed = files.make(), script = files.make();
    if (!image || !printed || !script) return std::nullopt;
    std::fclose(image->file);
    std::fclose(printed->file);
    output.file = image->name;
    EngineEffects effects;
    ScriptWriter w(script->file, probe.version);
    w.noteEffects(effects);
    writeBlock(w);
    w.print("set print \"%q\"\n", engineFileName(printed->name));
    w.put(kLayoutLine);
    w.put("set print\n");
    const bool written = w.ok();
    if (std::fclose(script->file) != 0 || !written || !probe.run(script->name, effects)) return std::nullopt;
    std::FILE* in = platform::openFile(printed->name.c_str(), "rb");
    if (!in) return std::nullopt;
    char text[1024];
    const std::size_t got = std::fread(text, 1, sizeof text, in);
    std::fclose(in);
    return layoutIn(std::string(text, got));
}

}  // namespace rizari

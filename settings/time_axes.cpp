// Time axes: timeAxis, axisRangeTime, the reading of times in an input format and the time axes'
// lines of the command script.
#include "settings/time_axes.h"

#include <array>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cstring>

#include "platform/messages.h"
#include "plot/checks.h"

namespace rizari {

namespace {

// The conversions the engine reads in an input format.
constexpr std::string_view kInputConversions = "YymdjHMSsbBp%";

constexpr std::array<std::string_view, 12> kMonthNames = {"january", "february", "march",     "april",   "may",      "june",
                                                          "july",    "august",   "september", "october", "november", "december"};

// What a text in an input format gives, field by field.
struct TimeFields {
    long long year = 1970;
    unsigned month = 1;
    unsigned day = 1;
    std::optional<unsigned> yearDay;
    unsigned hour = 0;
    unsigned minute = 0;
    double second = 0;
    std::optional<bool> afternoon;     // %p
    std::optional<double> epochSeconds;  // %s gives the time itself
};

// Reads a text against an input format, one field at a time.
class TimeReader {
public:
    explicit TimeReader(std::string_view text) : text_(text) {}

    bool atEnd() const { return at_ == text_.size(); }

    void skipBlanks()
    {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
    }

    bool literal(char c)
    {
        if (at_ == text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }

    // An unsigned number of one to `most` digits: without a character between two fields, each
    // reads its own width.
    std::optional<unsigned> digits(std::size_t most, unsigned low, unsigned high)
    {
        const std::size_t end = std::min(text_.size(), at_ + most);
        unsigned value = 0;
        const auto [stop, error] = std::from_chars(text_.data() + at_, text_.data() + end, value);
        if (error != std::errc() || value < low || value > high) return std::nullopt;
        at_ = static_cast<std::size_t>(stop - text_.data());
        return value;
    }

    // A decimal number with an optional sign and fraction.
    std::optional<double> number()
    {
        double value = 0;
        const auto [stop, error] = std::from_chars(text_.data() + at_, text_.data() + text_.size(), value, std::chars_format::fixed);
        if (error != std::errc()) return std::nullopt;
        at_ = static_cast<std::size_t>(stop - text_.data());
        return value;
    }

    // The fraction after the seconds, when a decimal point follows them.
    double fraction()
    {
        if (at_ + 1 >= text_.size() || text_[at_] != '.' || !std::isdigit(static_cast<unsigned char>(text_[at_ + 1]))) return 0;
        double value = 0;
        const auto [stop, error] = std::from_chars(text_.data() + at_, text_.data() + text_.size(), value, std::chars_format::fixed);
        at_ = static_cast<std::size_t>(stop - text_.data());
        return value;
    }

    // A month by its name: the whole name, or its first three letters (%b), in any case.
    std::optional<unsigned> month(bool abbreviated)
    {
        for (std::size_t m = 0; m < kMonthNames.size(); ++m) {
            const std::string_view name = abbreviated ? kMonthNames[m].substr(0, 3) : kMonthNames[m];
            if (startsWithFolded(name)) {
                at_ += name.size();
                return static_cast<unsigned>(m + 1);
            }
        }
        return std::nullopt;
    }

    // "am" (false) or "pm" (true), in any case.
    std::optional<bool> afternoon()
    {
        const bool am = startsWithFolded("am");
        if (!am && !startsWithFolded("pm")) return std::nullopt;
        at_ += 2;
        return !am;
    }

private:
    bool startsWithFolded(std::string_view word) const
    {
        if (text_.size() - at_ < word.size()) return false;
        for (std::size_t i = 0; i < word.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(text_[at_ + i])) != word[i]) return false;
        return true;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// Reads the field of one conversion into `fields`; false when the text does not hold it.
bool readField(TimeReader& in, char conversion, TimeFields& fields)
{
    auto into = [](auto& field, auto value) {
        if (value) field = *value;
        return value.has_value();
    };
    switch (conversion) {
    case 'Y': return into(fields.year, in.digits(4, 0, 9999));
    case 'y': {
        const auto year = in.digits(2, 0, 99);
        if (year) fields.year = *year < 69 ? 2000 + *year : 1900 + *year;  // 1969 to 2068
        return year.has_value();
    }
    case 'm': return into(fields.month, in.digits(2, 1, 12));
    case 'd': return into(fields.day, in.digits(2, 1, 31));
    case 'j': return into(fields.yearDay, in.digits(3, 1, 366));
    case 'H': return into(fields.hour, in.digits(2, 0, 24));
    case 'M': return into(fields.minute, in.digits(2, 0, 60));
    case 'S': {
        const auto whole = in.digits(2, 0, 60);
        if (whole) fields.second = *whole + in.fraction();
        return whole.has_value();
    }
    case 's': return into(fields.epochSeconds, in.number());
    case 'b': return into(fields.month, in.month(true));
    case 'B': return into(fields.month, in.month(false));
    case 'p': return into(fields.afternoon, in.afternoon());
    case '%': return in.literal('%');
    default: return false;
    }
}

std::optional<double> secondsOf(const TimeFields& f)
{
    using namespace std::chrono;
    if (f.epochSeconds) return f.epochSeconds;
    const year y{static_cast<int>(f.year)};
    const year_month_day date = f.yearDay ? year_month_day{sys_days{y / January / 1} + days{*f.yearDay - 1}}
                                          : year_month_day{y, month{f.month}, day{f.day}};
    // Day 366 of a common year, or a 31st of a shorter month, names no day.
    if (!date.ok() || date.year() != y) return std::nullopt;
    unsigned hour = f.hour;
    if (f.afternoon) {
        if (hour < 1 || hour > 12) return std::nullopt;
        hour = hour % 12 + (*f.afternoon ? 12 : 0);
    }
    const double daySeconds = static_cast<double>(sys_days{date}.time_since_epoch().count()) * 86400.0;
    return daySeconds + hour * 3600.0 + f.minute * 60.0 + f.second;
}

// Whether the engine reads times in this format: at least one conversion, and only its own.
bool isInputFormat(std::string_view format)
{
    bool converts = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (++i == format.size() || kInputConversions.find(format[i]) == std::string_view::npos) return false;
        converts = converts || format[i] != '%';
    }
    return converts;
}

}  // namespace

std::optional<double> parseTime(std::string_view text, std::string_view format)
{
    TimeReader in(text);
    TimeFields fields;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == ' ') in.skipBlanks();
        else if (c != '%') {
            if (!in.literal(c)) return std::nullopt;
        } else if (++i == format.size() || !readField(in, format[i], fields)) {
            return std::nullopt;
        }
    }
    if (!in.atEnd()) return std::nullopt;
    return secondsOf(fields);
}

void CPlot::timeAxis(int axis, const char* inputFormat, const char* labelFormat)
{
    if (!isAxisCode(axis)) {
        report("CPlot::timeAxis(): invalid axis\n");
        return;
    }
    auto& axes = impl_->state.timeAxes.axes;
    if (!inputFormat) {
        for (AxisIndex i : AxisSet(axis)) axes[i].reset();
        return;
    }
    if (!isInputFormat(inputFormat)) {
        reportf("CPlot::timeAxis(): invalid input format \"%s\"\n", inputFormat);
        return;
    }
    // The engine reads every time of a plot in one format.
    for (int i = 0; i < AxisCount; ++i) {
        if (axes[i] && !AxisSet(axis).contains(static_cast<AxisIndex>(i)) && axes[i]->inputFormat != inputFormat) {
            reportf("CPlot::timeAxis(): the plot reads its times in \"%s\": one input format for all its time axes\n",
                    axes[i]->inputFormat.c_str());
            return;
        }
    }
    const TimeAxis time{inputFormat, labelFormat ? labelFormat : inputFormat};
    for (AxisIndex i : AxisSet(axis)) axes[i] = time;
}

void CPlot::axisRangeTime(int axis, const char* from, const char* to)
{
    if (!isAxisCode(axis)) {
        report("CPlot::axisRangeTime(): invalid axis\n");
        return;
    }
    const auto& axes = impl_->state.timeAxes.axes;
    for (AxisIndex i : AxisSet(axis)) {
        if (!axes[i]) {
            report("CPlot::axisRangeTime(): not a time axis: call timeAxis() first\n");
            return;
        }
    }
    if (!from || !to) {
        reportInvalidParameter("axisRangeTime");
        return;
    }
    const std::string& format = axes[*AxisSet(axis).begin()]->inputFormat;
    std::optional<double> ends[2];
    for (int k = 0; k < 2; ++k) {
        const char* text = k == 0 ? from : to;
        ends[k] = parseTime(text, format);
        if (!ends[k]) {
            reportf("CPlot::axisRangeTime(): \"%s\" is no time in the input format \"%s\"\n", text, format.c_str());
            return;
        }
    }
    axisRange(axis, *ends[0], *ends[1]);
}

void writeTimeAxes(ScriptWriter& w, const PlotState& s)
{
    const TimeAxis* first = s.timeAxes.first(s.dimension);
    if (!first) return;
    for (int i = 0; i < AxisCount; ++i) {
        const auto& time = s.timeAxes.axes[i];
        const auto axis = static_cast<AxisIndex>(i);
        if (!time || (axis == AxisZ && s.dimension != 3)) continue;
        const char* name = kAxisName[i];
        w.print("set %sdata time\n", name);
        w.print("set format %s \"%t\" timedate\n", name, time->labelFormat);
        // Fitted to the data: the engine would widen the range to the next whole tic (a month,
        // a year) on either side.
        if (s.axes.autoscaled.contains(axis) && !s.axes.range[i]) w.print("set autoscale %sfix\n", name);
    }
    w.print("set timefmt \"%q\"\n", first->inputFormat);
}

}  // namespace rizari

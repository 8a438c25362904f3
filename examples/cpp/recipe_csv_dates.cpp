// Recipe: a daily time series read from a CSV file, with dates on the x axis (run it where data/ is).
#include <rizari/plot.h>

int main()
{
    rizari::Plot plot;
    plot.styleSheet(rizari::StyleSheet::Clean).title("Daily temperature, 2024").ylabel("°C");
    plot.timeAxis(rizari::Axis::X, "%Y-%m-%d", "%b").fileHeader(true);
    plot.addFile("data/daily_weather.csv", "using 1:2");
    plot.save("recipe_csv_dates.png", {800, 400});
}

import csv
import datetime
import matplotlib.pyplot as plt
import matplotlib.dates as mdates

with open("data/daily_weather.csv") as f:
    rows = list(csv.DictReader(f))
dates = [datetime.date.fromisoformat(r["date"]) for r in rows]
temperature = [float(r["temperature"]) for r in rows]
fig, ax = plt.subplots(figsize=(8, 4))
ax.plot(dates, temperature, label="temperature")
ax.xaxis.set_major_locator(mdates.MonthLocator())
ax.xaxis.set_major_formatter(mdates.DateFormatter("%b"))
ax.set_title("Daily temperature, 2024")
ax.set_ylabel("°C")
ax.grid(True, color="#dddddd")
ax.legend()
fig.savefig("csv_dates.png", dpi=100)

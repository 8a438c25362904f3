import numpy as np
import matplotlib.pyplot as plt
import matplotlib.dates as mdates

n = 864000
hours = np.linspace(0, 24, n)
t = np.datetime64("2024-06-01T00:00") + (hours * 3600e3).astype("timedelta64[ms]")
noise = np.random.default_rng(5).random(n) - 0.5
amplitude = 0.5 + 0.3 * np.sin(hours / 24 * 2 * np.pi) + 0.15 * noise * (1 + 5 * np.exp(-(4 * (hours - 14)) ** 2))
fig, ax = plt.subplots(figsize=(9, 4))
ax.plot(t, amplitude, linewidth=0.5)
ax.xaxis.set_major_formatter(mdates.DateFormatter("%H:%M"))
ax.set_xlim(t[0], t[-1])
ax.set_title("Vibration sensor, 1 June 2024 (UTC)")
ax.set_ylabel("amplitude (mm/s)")
ax.grid(True, color="#dddddd")
fig.savefig("sensor_trace.png", dpi=100)

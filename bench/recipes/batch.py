import numpy as np
import matplotlib.pyplot as plt

hour = np.linspace(0, 24, 289)
for k in range(1, 7):
    temperature = 18 + k - 3 * np.cos(hour / 24 * 2 * np.pi) + np.random.default_rng(k).random(289)
    fig, ax = plt.subplots(figsize=(6.4, 3.6))
    ax.plot(hour, temperature)
    ax.set_xlim(0, 24)
    ax.set_xticks(range(0, 25, 6))
    ax.set_title(f"Sensor {k}")
    ax.set_xlabel("hour")
    ax.set_ylabel("°C")
    ax.grid(True, color="#dddddd")
    fig.savefig(f"batch_{k}.png", dpi=100)
    plt.close(fig)

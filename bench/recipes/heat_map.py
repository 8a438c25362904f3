import numpy as np
import matplotlib.pyplot as plt

x = np.linspace(0, 20, 81)
y = np.linspace(0, 10, 41)
X, Y = np.meshgrid(x, y)
T = 20 + 60 * np.exp(-((X - 6) ** 2 + (Y - 4) ** 2) / 8) + 30 * np.exp(-((X - 15) ** 2 + (Y - 7) ** 2) / 12)
fig, ax = plt.subplots(figsize=(8, 4.5))
mesh = ax.pcolormesh(x, y, T, cmap="viridis", shading="nearest")
fig.colorbar(mesh, ax=ax, label="temperature (°C)")
ax.set_title("Plate temperature")
ax.set_xlabel("x (cm)")
ax.set_ylabel("y (cm)")
fig.savefig("heat_map.png", dpi=100)

import numpy as np
import matplotlib.pyplot as plt

x = np.linspace(0, 10, 200)
fig, axes = plt.subplots(2, 2, figsize=(8, 6))
axes[0, 0].plot(x, np.sin(x))
axes[0, 0].set_title("sin x")
axes[0, 1].plot(x, np.cos(x))
axes[0, 1].set_title("cos x")
axes[1, 0].plot(x, np.exp(-x / 3) * np.sin(3 * x))
axes[1, 0].set_title("damped: exp(-x/3) sin 3x")
axes[1, 1].plot(x, x ** 2)
axes[1, 1].set_title("growing: x$^2$")
for ax in axes.flat:
    ax.grid(True, color="#dddddd")
fig.tight_layout()
fig.savefig("grid.png", dpi=100)

import numpy as np
import matplotlib.pyplot as plt

rng = np.random.default_rng(1)
x = np.concatenate([rng.normal(0, 1, 500000), rng.normal(3, 0.6, 500000)])
y = np.concatenate([rng.normal(0, 1, 500000), rng.normal(1.5, 0.6, 500000)])
fig, ax = plt.subplots(figsize=(8, 6))
ax.plot(x, y, ",", color="royalblue")
ax.set_title("A million points")
ax.grid(True, color="#dddddd")
fig.savefig("million_dots.png", dpi=100)

import numpy as np
import matplotlib.pyplot as plt

rng = np.random.default_rng(1)
a = 1 + 4 * rng.random(120)
b = 3 + 4 * rng.random(120)
fig, ax = plt.subplots(figsize=(8, 5))
ax.scatter(a, 0.8 * a + 2 * rng.random(120), marker="o", color="royalblue", label="group A")
ax.scatter(b, 0.5 * b - 1 + 2 * rng.random(120), marker="s", color="darkorange", label="group B")
ax.set_title("Two groups")
ax.set_xlabel("dose")
ax.set_ylabel("response")
ax.legend(loc="upper left")
ax.grid(True, color="#dddddd")
fig.savefig("scatter_groups.png", dpi=100)

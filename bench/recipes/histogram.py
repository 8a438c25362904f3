import numpy as np
import matplotlib.pyplot as plt

errors = np.random.default_rng(1).normal(0, 0.7, 10000)
fig, ax = plt.subplots(figsize=(8, 4.5))
ax.hist(errors, bins=40, range=(-2.4, 2.4), alpha=0.6, edgecolor="C0")
ax.set_title("Measurement error")
ax.set_xlabel("error (mm)")
ax.set_ylabel("count")
ax.grid(True, color="#dddddd")
ax.set_axisbelow(True)
fig.savefig("histogram.png", dpi=100)

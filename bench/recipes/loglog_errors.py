import numpy as np
import matplotlib.pyplot as plt

f = np.array([10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000])
gain = np.array([1.02, 0.97, 0.99, 0.86, 0.73, 0.35, 0.205, 0.094, 0.043, 0.019])
model = np.logspace(1, 4, 61)
fig, ax = plt.subplots(figsize=(8, 5))
ax.loglog(model, 1 / np.sqrt(1 + (model / 200) ** 2), label="model")
ax.errorbar(f, gain, yerr=0.1 * gain, fmt="o", color="darkred", capsize=3, label="measured")
ax.set_ylim(0.01, 1.5)
ax.set_title("Low-pass filter")
ax.set_xlabel("frequency (Hz)")
ax.set_ylabel("gain")
ax.legend()
ax.grid(True, color="#dddddd")
fig.savefig("loglog_errors.png", dpi=100)

import numpy as np
import matplotlib.pyplot as plt

plt.rcParams["font.size"] = 10
t = np.linspace(0, 5, 300)
fig, ax = plt.subplots(figsize=(6, 4))
ax.plot(t, 1 - np.exp(-t), label="first order")
ax.plot(t, 1 - np.exp(-t) * (1 + t), label="second order")
ax.set_title("Step response")
ax.set_xlabel("time (s)")
ax.legend(loc="lower right")
ax.grid(True, color="#dddddd")
fig.savefig("paper.svg")
fig.savefig("paper.pdf")
fig.savefig("paper.png", dpi=300)

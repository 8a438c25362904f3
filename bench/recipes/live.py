import numpy as np
import matplotlib.pyplot as plt

rng = np.random.default_rng(1)
plt.ion()
fig, ax = plt.subplots()
line, = ax.plot([], [])
ax.set_xlim(0, 200)
ax.set_ylim(-1.5, 1.5)
ax.set_title("Live readings")
t, y = [], []
for k in range(1, 201):
    t.append(k)
    y.append(np.sin(k / 10) + 0.3 * (rng.random() - 0.5))
    line.set_data(t, y)
    plt.pause(0.01)
plt.ioff()
plt.show()

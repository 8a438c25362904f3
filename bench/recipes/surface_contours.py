import numpy as np
import matplotlib.pyplot as plt

x = np.linspace(-3, 3, 41)
X, Y = np.meshgrid(x, x)
Z = np.sin(X) * np.cos(Y) * np.exp(-(X ** 2 + Y ** 2) / 8)
levels = [-0.6, -0.4, -0.2, 0.2, 0.4, 0.6]
fig = plt.figure(figsize=(8, 6))
ax = fig.add_subplot(projection="3d")
surface = ax.plot_surface(X, Y, Z, cmap="viridis")
ax.contour(X, Y, Z, levels=levels, colors="black", linewidths=1)
ax.contour(X, Y, Z, levels=levels, colors="black", offset=-1.2)
ax.set_zlim(-1.2, 0.8)
fig.colorbar(surface, ax=ax, shrink=0.6)
ax.set_title("z = sin(x) cos(y) exp(-(x$^2$ + y$^2$) / 8)")
fig.savefig("surface_contours.png", dpi=100)

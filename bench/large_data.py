#!/usr/bin/python3
# matplotlib drawing the points of `bench_large raw N FILE` as an 800 x 600 PNG, as a user who
# picks it instead would: plot() with its default path simplification.
#   large_data.py N RAW PNG
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np

n = int(sys.argv[1])
values = np.fromfile(sys.argv[2], dtype=np.float64)
x, y = values[:n], values[n:]
figure = plt.figure(figsize=(8, 6), dpi=100)
plt.plot(x, y, linewidth=1)
figure.savefig(sys.argv[3])

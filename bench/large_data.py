#!/usr/bin/python3
# matplotlib drawing the points of `bench_large raw CASE N FILE` as an 800 x 600 PNG, as a user who
# picks it instead would: plot() with its default path simplification for the lines, scatter()
# for the points, plot() with pixel markers for the dots.
#   large_data.py CASE N RAW PNG
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np

case, n = sys.argv[1], int(sys.argv[2])
values = np.fromfile(sys.argv[3], dtype=np.float64)
x, y = values[:n], values[n:]
figure = plt.figure(figsize=(8, 6), dpi=100)
if case == "points":
    plt.scatter(x, y)
elif case == "dots":
    plt.plot(x, y, ",")
else:
    plt.plot(x.astype(np.float32) if case == "float" else x, y.astype(np.float32) if case == "float" else y, linewidth=1)
if case == "zoomed":
    plt.xlim(50, 100)
if case == "logx":
    plt.xscale("log")
figure.savefig(sys.argv[4])

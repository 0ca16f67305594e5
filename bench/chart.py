#!/usr/bin/env python3
"""Draws a benchmark's measurements (a TSV with the columns work, tool,
seconds, ...) as one bar chart per work, mkpkg's bars highlighted.

    chart.py MEASUREMENTS.tsv CHART.png
"""
import csv
import sys

import matplotlib

matplotlib.use('Agg')
import matplotlib.pyplot as plt  # noqa: E402

source, target = sys.argv[1], sys.argv[2]
works = {}
with open(source) as tsv:
    for row in csv.DictReader(tsv, delimiter='\t'):
        works.setdefault(row['work'], []).append((row['tool'], float(row['seconds'])))

columns = 3
rows = (len(works) + columns - 1) // columns
figure, axes = plt.subplots(rows, columns, figsize=(5 * columns, 2.6 * rows), squeeze=False)
for axis, (work, bars) in zip(axes.flat, works.items()):
    tools = [tool for tool, _ in bars]
    seconds = [value for _, value in bars]
    colours = ['tab:orange' if tool.startswith('mkpkg') else 'tab:blue' for tool in tools]
    axis.barh(tools, seconds, color=colours)
    axis.invert_yaxis()
    axis.set_title(work, fontsize=10)
    axis.set_xlabel('seconds (best wall time)', fontsize=8)
    axis.tick_params(labelsize=8)
    for y, value in enumerate(seconds):
        label = ' %.2f s' % value if value >= 0.1 else ' %.1f ms' % (value * 1e3)
        axis.text(value, y, label, va='center', fontsize=7)
for axis in list(axes.flat)[len(works):]:
    axis.set_visible(False)
figure.tight_layout()
figure.savefig(target, dpi=110)
print('chart: %s' % target)

#!/usr/bin/env python3
"""Writes a solution of N file nodes below DIRECTORY: one project whose
folders hold 100 source files each, every file present on disk, and the
list of those files (relative to DIRECTORY) for tar -T. Each file holds
FUNCTIONS small functions of 45 bytes or so, each a little different.

    make_solution.py DIRECTORY N FUNCTIONS
"""
import os
import sys

directory, count, functions = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
os.makedirs(directory, exist_ok=True)
lines = ['<!DOCTYPE Lanternwick_Project_File>', '<solution Name="bench" version="2">',
         '  <project Name="bench">',
         '    <configuration Name="Common" project_type="Executable"/>']
names = ['bench.hzp']
for folder in range((count + 99) // 100):
    path = 'src/d%d' % folder
    os.makedirs(os.path.join(directory, path), exist_ok=True)
    lines.append('    <folder Name="d%d" filter="c;h">' % folder)
    for i in range(min(100, count - folder * 100)):
        name = '%s/f%d.c' % (path, i)
        with open(os.path.join(directory, name), 'w') as source:
            source.write(''.join('int f%d_%d_%d(int x)\n{\n    return x * %d + %d;\n}\n' % (folder, i, k, i + k, folder * k)
                                 for k in range(functions)))
        lines.append('      <file file_name="%s"/>' % name)
        names.append(name)
    lines.append('    </folder>')
lines += ['  </project>', '</solution>', '']
with open(os.path.join(directory, 'bench.hzp'), 'w') as solution:
    solution.write('\n'.join(lines))
with open(os.path.join(directory, 'files.list'), 'w') as listing:
    listing.write('\n'.join(names) + '\n')

#!/usr/bin/env python3
"""Writes src/suite/report/RadicalIdeographs.inc: every CJK radical
(U+2E80-U+2FDF) with the unified ideographs a font may draw with its glyph,
the one Unicode names as its equivalent and that one's simplified forms.

Reads the Unicode data of Debian's unicode-data package:
    python3 tools/radical_ideographs/radical_ideographs.py [/usr/share/unicode]
"""
import bz2
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', '..', 'src', 'suite', 'report', 'RadicalIdeographs.inc')


def code_points(field):
    first, _, last = field.partition('..')
    return range(int(first, 16), int(last or first, 16) + 1)


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else '/usr/share/unicode'
    equivalent = {}
    with open(os.path.join(data, 'EquivalentUnifiedIdeograph.txt'), encoding='utf-8') as f:
        for line in f:
            line = line.split('#')[0].strip()
            if not line:
                continue
            radicals, ideograph = (part.strip() for part in line.split(';'))
            for radical in code_points(radicals):
                if 0x2E80 <= radical <= 0x2FDF:
                    equivalent[radical] = int(ideograph, 16)
    simplified = {}
    with bz2.open(os.path.join(data, 'Unihan_Variants.txt.bz2'), 'rt', encoding='utf-8') as f:
        for line in f:
            if line.startswith('#') or not line.strip():
                continue
            point, field, value = line.rstrip('\n').split('\t')
            if field == 'kSimplifiedVariant':
                simplified[int(point[2:], 16)] = [int(v[2:], 16) for v in value.split()]

    pairs = []
    for radical in sorted(equivalent):
        ideographs = [equivalent[radical]]
        ideographs += [s for s in simplified.get(ideographs[0], []) if s not in ideographs]
        pairs += [(radical, ideograph) for ideograph in ideographs]

    lines, line = [], '   '
    for radical, ideograph in pairs:
        item = ' {0x%04X, 0x%04X},' % (radical, ideograph)
        if len(line) + len(item) > 100:
            lines.append(line)
            line = '   '
        line += item
    lines.append(line)
    with open(OUT, 'w', encoding='utf-8') as f:
        f.write('// Written by tools/radical_ideographs/radical_ideographs.py from the Unicode\n'
                '// data: each CJK radical with the ideographs a font may draw with its glyph.\n')
        f.write('\n'.join(lines) + '\n')
    print('%d pairs for %d radicals' % (len(pairs), len(equivalent)))


if __name__ == '__main__':
    main()

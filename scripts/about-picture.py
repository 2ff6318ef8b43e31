#!/usr/bin/env python3
"""Draws the About box's product picture, a ruler strip at 297 x 97, into
resources/ABOUTPICTURE.res (run from the repository's top folder). Every pixel is placed
by hand, so the picture stays crisp at its one size."""

W, H = 297, 97
PALETTE = {
    'w': 0xFFFFFF,  # the panel's white
    'k': 0x000000,  # outlines, ticks, digits
    'g': 0xC0C0C0,  # the caption strip's face
    'd': 0x808080,  # shadows
    'y': 0x80FFFF,  # the ruler's pale yellow
    'n': 0x800000,  # the reading's navy
    'r': 0x0000FF,  # the pointer's mark
}
px = [['w'] * W for _ in range(H)]


def rect(x0, y0, x1, y1, c):  # right and bottom exclusive
    for y in range(y0, y1):
        for x in range(x0, x1):
            px[y][x] = c


def frame(x0, y0, x1, y1, top, bottom):
    for x in range(x0, x1):
        px[y0][x] = top
        px[y1 - 1][x] = bottom
    for y in range(y0, y1):
        px[y][x0] = top
        px[y][x1 - 1] = bottom


DIGITS = {  # 3 x 5
    '0': ['###', '#.#', '#.#', '#.#', '###'], '1': ['.#.', '##.', '.#.', '.#.', '###'],
    '2': ['###', '..#', '###', '#..', '###'], '3': ['###', '..#', '.##', '..#', '###'],
    '4': ['#.#', '#.#', '###', '..#', '..#'], '5': ['###', '#..', '###', '..#', '###'],
    '6': ['###', '#..', '###', '#.#', '###'], '7': ['###', '..#', '.#.', '.#.', '.#.'],
    '8': ['###', '#.#', '###', '#.#', '###'], '9': ['###', '#.#', '###', '..#', '###'],
}


def text(x, y, s, c):
    for ch in s:
        for row, line in enumerate(DIGITS[ch]):
            for col, bit in enumerate(line):
                if bit == '#':
                    px[y + row][x + col] = c
        x += 4


# The strip: a black outline round the caption strip and the ruler.
X0, X1, Y0, Y1 = 4, 293, 4, 60
rect(X0, Y0, X1, Y1, 'k')
# Caption strip: grey, with four buttons left, a sunken reading and a grip right.
rect(X0 + 1, Y0 + 1, X1 - 1, Y0 + 18, 'g')
for i in range(4):
    bx = X0 + 3 + i * 16
    frame(bx, Y0 + 3, bx + 14, Y0 + 16, 'w', 'd')
for bx, mark in ((X0 + 3, 'menu'), (X0 + 19, 'flip'), (X0 + 35, 'min'), (X0 + 51, 'close')):
    if mark == 'menu':
        for k in range(3):
            rect(bx + 4, Y0 + 6 + 3 * k, bx + 10, Y0 + 7 + 3 * k, 'k')
    elif mark == 'flip':
        for k in range(7):
            px[Y0 + 6 + k][bx + 4 + k] = 'k'
        rect(bx + 4, Y0 + 6, bx + 7, Y0 + 7, 'k')
        rect(bx + 8, Y0 + 12, bx + 11, Y0 + 13, 'k')
    elif mark == 'min':
        rect(bx + 4, Y0 + 11, bx + 10, Y0 + 13, 'k')
    else:
        for k in range(6):
            px[Y0 + 6 + k][bx + 4 + k] = 'k'
            px[Y0 + 6 + k][bx + 9 - k] = 'k'
frame(X0 + 70, Y0 + 3, X0 + 140, Y0 + 16, 'd', 'w')
text(X0 + 74, Y0 + 7, '130', 'n')
for k in range(4):  # the resize grip's diagonal lines
    for j in range(9 - 2 * k):
        px[Y0 + 15 - j][X1 - 12 + 2 * k + j] = 'd'
# The ruler: pale yellow, ticks every 2 pixels from the bottom edge, longer every 10 and 20,
# numbers at each 20.
RY0, RY1 = Y0 + 19, Y1 - 1
rect(X0 + 1, RY0, X1 - 1, RY1, 'y')
for x in range(X0 + 1, X1 - 1, 2):
    n = (x - X0 - 1) // 2
    length = 12 if n % 10 == 0 else 8 if n % 5 == 0 else 4
    for y in range(RY1 - length, RY1):
        px[y][x] = 'k'
    if n % 10 == 0:
        s = str(n // 10)
        tx = min(max(x - (4 * len(s) - 1) // 2, X0 + 3), X1 - 2 - 4 * len(s))
        text(tx, RY1 - 20, s, 'k')
# The pointer's pixel marked across the ruler, and an arrow pointer above it.
PX = X0 + 1 + 130
for y in range(RY0, RY1):
    px[y][PX] = 'r'
ARROW = ['k.........', 'kk........', 'kwk.......', 'kwwk......', 'kwwwk.....', 'kwwwwk....',
         'kwwwwwk...', 'kwwwwwwk..', 'kwwwwkkkk.', 'kwkwwk....', 'kk.kwwk...', 'k...kwk...',
         '.....kwk..', '......k...']
for row, line in enumerate(ARROW):
    for col, c in enumerate(line):
        if c != '.':
            px[RY0 + 4 + row][PX + col] = c
# A drop shadow under and right of the strip.
rect(X0 + 3, Y1, X1 + 2, Y1 + 2, 'd')
rect(X1, Y0 + 3, X1 + 2, Y1, 'd')

keys = list(PALETTE)
with open('resources/ABOUTPICTURE.res', 'w') as f:
    f.write('# The About box\'s product picture: the ruler strip (made by scripts/about-picture.py)\n')
    f.write(f'bitmap {W} {H}\n')
    f.write('palette ' + ' '.join(f'{k}=0x{PALETTE[k]:06X}' for k in keys) + '\n')
    for row in px:
        f.write(''.join(row) + '\n')

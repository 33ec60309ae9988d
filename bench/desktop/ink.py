#!/usr/bin/env python3
"""Share of the drag path that carries ink in a screenshot.

usage: ink.py SHOT.png PATH_FILE blue|red
Samples every 5th point of the path and looks for an ink-coloured pixel
within 2 pixels of it (the pointer may be drawn over the last point; ink
is anti-aliased at its rims). Prints the share, 0 to 1.
"""
import subprocess
import sys


def main():
    shot, path_file, colour = sys.argv[1:4]
    info = subprocess.run(["identify", "-format", "%w %h", shot], check=True, capture_output=True, text=True)
    width, height = (int(v) for v in info.stdout.split())
    rgb = subprocess.run(["convert", shot, "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    if len(rgb) != width * height * 3:
        sys.exit(f"unexpected raw size {len(rgb)} for {width}x{height}")
    # Ink: the pen's channel well above the other two (the ground is grey).
    main_channel = {"blue": 2, "red": 0}[colour]
    others = [c for c in range(3) if c != main_channel]

    def inked(x, y):
        i = (y * width + x) * 3
        return rgb[i + main_channel] - max(rgb[i + others[0]], rgb[i + others[1]]) > 80

    points = [tuple(int(v) for v in line.split()) for line in open(path_file) if line.strip()]
    samples = points[::5]
    hits = 0
    for x, y in samples:
        if any(inked(x + dx, y + dy) for dx in range(-2, 3) for dy in range(-2, 3)
               if 0 <= x + dx < width and 0 <= y + dy < height):
            hits += 1
    print(f"{hits / len(samples):.3f}")


if __name__ == "__main__":
    main()

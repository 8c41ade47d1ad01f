#!/usr/bin/python3
"""Draws payout-sim's CSV as a picture: the payout % over the run for each stake, with the
30 % target. Usage: payout-plot.py SERIES.csv PICTURE.png"""

import csv
import sys

from PIL import Image, ImageDraw, ImageFont

WIDTH, HEIGHT = 900, 520
LEFT, RIGHT, TOP, BOTTOM = 70, 20, 40, 60
TARGET = 30.0
COLOURS = {50: (200, 60, 40), 100: (40, 90, 200)}
NAMES = {50: "50p", 100: "£1"}


def read_series(path):
    series = {}
    with open(path, newline="") as source:
        for row in csv.DictReader(source):
            stake = int(row["stake"])
            series.setdefault(stake, []).append((int(row["games"]), float(row["payout_percent"])))
    return series


def nice_range(values):
    low, high = min(values + [TARGET]), max(values + [TARGET])
    pad = max((high - low) * 0.1, 1.0)
    return max(low - pad, 0.0), high + pad


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    series = read_series(sys.argv[1])
    if not series:
        sys.exit("no points in " + sys.argv[1])
    most_games = max(points[-1][0] for points in series.values())
    # The first points of a run swing widely; the range follows the settled part.
    settled = [p for points in series.values() for g, p in points if g >= most_games / 20]
    low, high = nice_range(settled or [p for points in series.values() for _, p in points])

    image = Image.new("RGB", (WIDTH, HEIGHT), "white")
    draw = ImageDraw.Draw(image)
    font = ImageFont.load_default()
    plot_w, plot_h = WIDTH - LEFT - RIGHT, HEIGHT - TOP - BOTTOM

    def at(games, percent):
        x = LEFT + plot_w * games / most_games
        clipped = min(max(percent, low), high)
        y = TOP + plot_h * (high - clipped) / (high - low)
        return x, y

    draw.rectangle([LEFT, TOP, LEFT + plot_w, TOP + plot_h], outline="black")
    for step in range(6):
        percent = low + (high - low) * step / 5
        _, y = at(0, percent)
        draw.line([LEFT - 4, y, LEFT, y], fill="black")
        draw.text((8, y - 6), "%.2f %%" % percent, fill="black", font=font)
        games = most_games * step // 5
        x, _ = at(games, low)
        draw.line([x, TOP + plot_h, x, TOP + plot_h + 4], fill="black")
        draw.text((x - 20, TOP + plot_h + 8), str(games), fill="black", font=font)
    target_y = at(0, TARGET)[1]
    for x in range(LEFT, LEFT + plot_w, 12):
        draw.line([x, target_y, min(x + 6, LEFT + plot_w), target_y], fill=(90, 160, 90))
    draw.text((LEFT + plot_w - 80, target_y - 14), "target 30 %", fill=(60, 130, 60), font=font)

    legend_x = LEFT + 10
    for stake, points in sorted(series.items()):
        colour = COLOURS.get(stake, (0, 0, 0))
        draw.line([at(g, p) for g, p in points] if len(points) > 1 else at(*points[0]) * 2,
                  fill=colour, width=2)
        final = points[-1][1]
        draw.text((legend_x, 12), "%s: %.2f %%" % (NAMES.get(stake, str(stake)), final),
                  fill=colour, font=font)
        legend_x += 140
    draw.text((LEFT + plot_w // 2 - 60, HEIGHT - 22), "games played", fill="black", font=font)
    draw.text((WIDTH - 260, 12), "payout % so far over the run", fill="black", font=font)
    image.save(sys.argv[2], "PNG")


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Draws payout-sim's CSV as a picture: the payout % over the run for each stake, with the
30 % target."""

import argparse
import csv
import sys

TARGET = 30.0
COLOURS = {50: "#c83c28", 100: "#285ac8"}
NAMES = {50: "50p", 100: "£1"}


def read_series(path):
    """Stake to a list of (games played, payout % so far)."""
    series = {}
    with open(path, newline="") as source:
        for row in csv.DictReader(source):
            stake = int(row["stake"])
            series.setdefault(stake, []).append((int(row["games"]), float(row["payout_percent"])))
    return series


def settled_range(series):
    """The payout axis: the first points of a run swing widely, so it follows the settled part
    (and always shows the target)."""
    most_games = max(points[-1][0] for points in series.values())
    settled = [p for points in series.values() for g, p in points if g >= most_games / 20]
    values = (settled or [p for points in series.values() for _, p in points]) + [TARGET]
    low, high = min(values), max(values)
    pad = max((high - low) * 0.1, 1.0)
    return max(low - pad, 0.0), high + pad


def draw(series, picture):
    import matplotlib
    matplotlib.use("Agg")
    from matplotlib import pyplot

    figure, axes = pyplot.subplots(figsize=(9, 5.2), dpi=100)
    for stake, points in sorted(series.items()):
        games = [g for g, _ in points]
        payout = [p for _, p in points]
        axes.plot(games, payout, color=COLOURS.get(stake, "black"), linewidth=1.5,
                  marker="o" if len(points) == 1 else None,
                  label="%s: %.2f %%" % (NAMES.get(stake, str(stake)), payout[-1]))
    axes.axhline(TARGET, color="#5aa05a", linestyle="--", linewidth=1, label="target 30 %")
    axes.set_ylim(*settled_range(series))
    axes.set_xlim(left=0)
    axes.set_xlabel("games played")
    axes.set_ylabel("payout % so far")
    axes.set_title("payout % so far over the run")
    axes.grid(True, alpha=0.3)
    axes.legend(loc="upper right")
    figure.tight_layout()
    figure.savefig(picture, format="png")
    pyplot.close(figure)


def main():
    parser = argparse.ArgumentParser(prog="payout-plot.py", description=__doc__)
    parser.add_argument("series", metavar="SERIES.csv", help="the CSV payout-sim wrote")
    parser.add_argument("picture", metavar="PICTURE.png", help="the picture to draw")
    args = parser.parse_args()
    try:
        series = read_series(args.series)
    except (OSError, KeyError, ValueError) as failure:
        sys.exit("cannot read the series %s: %s" % (args.series, failure))
    if not series:
        sys.exit("no points in " + args.series)
    try:
        draw(series, args.picture)
    except OSError as failure:
        sys.exit("cannot write %s: %s" % (args.picture, failure.strerror or failure))
    except Exception as failure:  # whatever matplotlib raises: one line, never a traceback
        sys.exit("cannot draw %s: %s" % (args.picture, failure))


if __name__ == "__main__":
    main()

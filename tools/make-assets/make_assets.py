"""make-assets OUTPUT_DIR: writes the cabinet's content set (pictures, fonts, sound effects,
music and the end-of-game video) into OUTPUT_DIR, under the names the game opens. The same
bytes come out on every run. Other files in OUTPUT_DIR (the game's data, logs and question
packs) are left alone."""

import concurrent.futures
import os
import sys
import time

import catalogue
import music
import sounds
import video

# Independent pieces of work, slowest first so they start early.
JOBS = [music.background_music, video.swoop_avi, catalogue.ball_game_files,
        catalogue.menu_files, catalogue.question_files, catalogue.stake_files,
        sounds.all_effects, catalogue.font_and_legacy_files]


def _run(job):
    return job()


def make_content():
    """All files, path to bytes, made on as many processors as there are."""
    workers = min(len(JOBS), os.cpu_count() or 1)
    with concurrent.futures.ProcessPoolExecutor(max_workers=workers) as pool:
        results = list(pool.map(_run, JOBS))
    content = {}
    for files in results:
        for path in files:
            if path in content:
                raise RuntimeError("two makers for " + path)
        content.update(files)
    return content


def write_content(content, root):
    for path in sorted(content):
        target = os.path.join(root, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(content[path])


def main(argv):
    if len(argv) != 2 or argv[1].startswith("-"):
        sys.stderr.write("usage: make-assets OUTPUT_DIR\n")
        return 2
    started = time.monotonic()
    content = make_content()
    write_content(content, argv[1])
    print("make-assets: %d files, %.1f MB in %s (%.1f s)" % (
        len(content), sum(len(b) for b in content.values()) / 1e6, argv[1],
        time.monotonic() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

"""make-assets [--jobs N] OUTPUT_DIR: writes the cabinet's content set (pictures, fonts, sound
effects, music and the end-of-game video) into OUTPUT_DIR, under the names the game opens. The
same bytes come out on every run. Other files in OUTPUT_DIR (the game's data, logs and question
packs) are left alone."""

import argparse
import concurrent.futures
import os
import sys
import time


def _jobs():
    """Independent pieces of work, slowest first so they start early. The makers need Pillow,
    so they are imported only once the command line has been read."""
    import catalogue
    import music
    import sounds
    import video
    return [music.background_music, video.swoop_avi, catalogue.ball_game_files,
            catalogue.menu_files, catalogue.question_files, catalogue.stake_files,
            sounds.all_effects, catalogue.font_and_legacy_files]


def _run(job):
    return job()


def make_content(processes):
    """All files, path to bytes, made on up to `processes` processors at once."""
    jobs = _jobs()
    workers = max(1, min(len(jobs), processes))
    with concurrent.futures.ProcessPoolExecutor(max_workers=workers) as pool:
        results = list(pool.map(_run, jobs))
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


class _Parser(argparse.ArgumentParser):
    """Says in one line what is wrong with a command line, not the whole usage."""

    def error(self, message):
        self.exit(2, "%s: %s (%s --help shows the usage)\n" % (self.prog, message, self.prog))


def _processes(text):
    try:
        value = int(text)
    except ValueError:
        value = 0
    if value < 1:
        raise argparse.ArgumentTypeError("needs a whole number of 1 or more, not %r" % text)
    return value


def _arguments(argv):
    parser = _Parser(
        prog="make-assets",
        description="Writes the cabinet's content set (pictures, fonts, sound effects, music and "
                    "the end-of-game video) into OUTPUT_DIR, under the names the game opens. The "
                    "same bytes come out on every run; other files in OUTPUT_DIR are left alone.",
        epilog="Exit status: 0 done, 1 the content could not be made or written, 2 bad usage.")
    parser.add_argument("output_dir", metavar="OUTPUT_DIR", help="where the content set goes")
    parser.add_argument("--jobs", type=_processes, default=os.cpu_count() or 1, metavar="N",
                        help="make at most N pieces at once (default: one per processor)")
    parser.add_argument("--version", action="version",
                        version="make-assets " + os.environ.get("MAKE_ASSETS_VERSION", "unknown"))
    return parser.parse_args(argv[1:])


def main(argv):
    args = _arguments(argv)
    if os.path.exists(args.output_dir) and not os.path.isdir(args.output_dir):
        sys.stderr.write("make-assets: cannot write into %s: not a directory\n" % args.output_dir)
        return 1
    started = time.monotonic()
    try:
        content = make_content(args.jobs)
        write_content(content, args.output_dir)
    except ImportError as failure:
        sys.stderr.write("make-assets: needs Python's Pillow (Debian: python3-pil): %s\n" % failure)
        return 1
    except OSError as failure:
        where = failure.filename or args.output_dir
        sys.stderr.write("make-assets: cannot write %s: %s\n" % (where, failure.strerror or failure))
        return 1
    except KeyboardInterrupt:
        return 130
    except Exception as failure:  # a maker that failed: one line, never a traceback
        sys.stderr.write("make-assets: the content could not be made: %s: %s\n"
                         % (type(failure).__name__, failure))
        return 1
    print("make-assets: %d files, %.1f MB in %s (%.1f s)" % (
        len(content), sum(len(b) for b in content.values()) / 1e6, args.output_dir,
        time.monotonic() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

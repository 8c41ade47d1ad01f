"""Played cabinets and running consoles for the console's fleet and browser tests.

`play` makes two cabinets under one folder: each a content directory (the cabinet content set
linked in, the game's own data and log fresh), a credit ledger and a token file, after games
autoplayed by the real game against a real credit service. The tests then start consoles on them
and stop every process they started, whatever happens.
"""
import os
import re
import shutil
import signal
import socket
import sqlite3
import struct
import subprocess
import sys
import tempfile
import time
import urllib.request

TOKEN = "fleet-token-7d1e0c55b2a94f3e8c06"
# (folder, coins inserted, autoplay options): a 50p player and a £1 player who both reach the ball
# game and take the first offer, so both cabinets pay out.
CABINETS = [
    ("red-lion-1", 500, "games=2,stake=50,right=100,take=1,seed=5"),
    ("red-lion-2", 600, "games=2,stake=100,right=100,take=1,seed=9"),
]


def say(text):
    print(text, flush=True)


def fail(text):
    print("FAILED: " + text, file=sys.stderr, flush=True)
    sys.exit(1)


class Processes:
    """Every process a test starts, stopped (and its scratch folders removed) on leaving."""

    def __init__(self):
        self.running = []
        self.folders = []

    def __enter__(self):
        return self

    def start(self, args, **kwargs):
        process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                   text=True, start_new_session=True, **kwargs)
        self.running.append(process)
        return process

    def scratch(self, prefix):
        folder = tempfile.mkdtemp(prefix=prefix)
        self.folders.append(folder)
        return folder

    def stop(self, process):
        if process.poll() is None:
            process.send_signal(signal.SIGTERM)
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
        return process.returncode

    def __exit__(self, *error):
        for process in reversed(self.running):
            self.stop(process)
            for stream in (process.stdout, process.stderr):
                if stream:
                    stream.close()
        for folder in self.folders:
            shutil.rmtree(folder, ignore_errors=True)
        return False


def listening_port(process, what):
    """The port from the 'listening on ADDR:PORT' line a service prints when it is ready."""
    line = process.stdout.readline()
    match = re.match(r"listening on .*:(\d+)$", line.strip())
    if not match:
        fail(f"{what} did not start: {line!r} {process.stderr.read() if process.poll() is not None else ''}")
    return int(match.group(1))


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def cabinet_paths(cabinets, name):
    root = os.path.join(cabinets, name)
    return {
        "root": root,
        "content": os.path.join(root, "content"),
        "ledger": os.path.join(root, "credit.db"),
        "token": os.path.join(root, "token"),
        "record": os.path.join(root, "content", "data", "brasswick.rec"),
        "log": os.path.join(root, "content", "~system", "logs", "Vantor.txt"),
    }


def play(args):
    """Plays every cabinet: credit service, coins, the autoplayed games, service stopped. With
    --games N each cabinet plays N games instead, by a weaker player, for fuller pages."""
    shutil.rmtree(args.cabinets, ignore_errors=True)
    with Processes() as processes:
        for name, coins, autoplay in CABINETS:
            paths = cabinet_paths(args.cabinets, name)
            os.makedirs(paths["content"])
            for entry in os.listdir(args.content):
                if entry not in ("data", "~system"):
                    os.symlink(os.path.join(args.content, entry),
                               os.path.join(paths["content"], entry))
            with open(paths["token"], "w") as token:
                token.write(TOKEN + "\n")
            credit = [os.path.join(args.bin, "credit-service")]
            service = processes.start(credit + ["serve", "--port", "0", "--db", paths["ledger"]])
            port = listening_port(service, "the credit service")
            if args.games:
                coins = 9000
                autoplay = autoplay.replace("games=2", f"games={args.games}").replace(
                    "right=100", "right=80")
            subprocess.run(credit + ["insert", str(coins), "--db", paths["ledger"]], check=True,
                           stdout=subprocess.DEVNULL)
            started = time.monotonic()
            game = subprocess.run(
                [os.path.join(args.bin, "vantor"), "--headless", "--credit-port", str(port),
                 "--autoplay", autoplay],
                cwd=paths["content"], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                timeout=500 + 60 * args.games)
            if game.returncode != 0:
                fail(f"{name}: the game ended with {game.returncode}: {game.stdout[-2000:]}")
            if processes.stop(service) != 0:
                fail(f"{name}: the credit service did not stop cleanly")
            say(f"{name}: {autoplay} played in {time.monotonic() - started:.1f} s, "
                f"{record_counters(paths['record'])[23]}p paid")


def record_counters(path):
    """The record file's 181 counters, read straight from its bytes (little-endian, after the
    two balances), independently of the console."""
    with open(path, "rb") as record:
        data = record.read()
    return struct.unpack_from("<181i", data, 8)


def record_balances(path):
    with open(path, "rb") as record:
        return struct.unpack_from("<2f", record.read(8))


def ledger_rows(path):
    with sqlite3.connect(f"file:{path}?mode=ro", uri=True) as db:
        return db.execute("SELECT id, time, command, amount, credit_after, bank_after "
                          "FROM ledger ORDER BY id").fetchall()


def start_console(processes, args, name, token=True):
    """A console on one played cabinet on a free loopback port: (process, base URL)."""
    paths = cabinet_paths(args.cabinets, name)
    command = [os.path.join(args.bin, "operator-console"), "serve", "--listen", "127.0.0.1:0",
               "--content", paths["content"], "--db", paths["ledger"]]
    if token:
        command += ["--token-file", paths["token"]]
    console = processes.start(command)
    port = listening_port(console, f"the console of {name}")
    return console, f"http://127.0.0.1:{port}"


def fetch(url, token=None, timeout=30):
    request = urllib.request.Request(url)
    if token:
        request.add_header("Authorization", "Bearer " + token)
    with urllib.request.urlopen(request, timeout=timeout) as answer:
        return answer.read().decode("utf-8")


def memory_kb(process):
    """Resident and peak resident memory of a process, in kB."""
    figures = {}
    with open(f"/proc/{process.pid}/status") as status:
        for line in status:
            key, _, value = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                figures[key] = int(value.split()[0])
    return figures.get("VmRSS", 0), figures.get("VmHWM", 0)


def common_arguments(parser):
    parser.add_argument("--bin", required=True, help="the built programs")
    parser.add_argument("--content", required=True, help="a complete cabinet content set")
    parser.add_argument("--cabinets", required=True, help="where the played cabinets are")
    parser.add_argument("--games", type=int, default=0,
                        help="play: games a cabinet (default 2, by a player who wins)")

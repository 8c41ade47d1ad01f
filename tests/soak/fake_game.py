#!/usr/bin/python3
"""A stand-in for vantor that the soak's checks can be tried on: it talks to the real credit
service and keeps a record file as the game does, and in the mode named by $FAKE_GAME_MODE it
gets one thing wrong.

  honest     buys games while money lasts (stake as told), wins 120p every other game, pays it
             (BADD 100, CADD 20) and counts it
  unpaid     counts every win but never sends its CADD
  uncounted  buys its games but does not count the first one
  crash      dies of SIGSEGV after its first game
  quits      leaves after one game with money left
  growing    as honest, but holds 1 MB of memory for every game the record file has counted
"""
import os
import signal
import socket
import struct
import sys

COUNTER_COUNT = 181
RECORD = "data/brasswick.rec"


def option(name, default=None):
    args = sys.argv[1:]
    return args[args.index(name) + 1] if name in args else default


def autoplay_settings():
    settings = {"games": "1", "stake": "50"}
    for pair in option("--autoplay", "").split(","):
        key, _, value = pair.partition("=")
        settings[key] = value
    return int(settings["games"]), int(settings["stake"])


class Link:
    def __init__(self, port):
        self.sock = socket.create_connection(("127.0.0.1", port))

    def exchange(self, command):
        self.sock.sendall(command.encode() + b"\r\n")
        return self.sock.recv(4096).decode()

    def read(self, command):
        reply = self.exchange(command)
        return int(reply.split(",")[1]) if reply[4:5] == "," else 0


def read_counters():
    if not os.path.exists(RECORD):
        return [0.0, 0.0], [0] * COUNTER_COUNT
    data = open(RECORD, "rb").read()
    values = struct.unpack_from("<2f%di" % COUNTER_COUNT, data)
    return list(values[:2]), list(values[2:])


def write_counters(balances, counters):
    os.makedirs("data", exist_ok=True)
    with open(RECORD + ".tmp", "wb") as record:
        record.write(struct.pack("<2f%di" % COUNTER_COUNT, *balances, *counters))
    os.replace(RECORD + ".tmp", RECORD)


def main():
    mode = os.environ.get("FAKE_GAME_MODE", "honest")
    games, stake = autoplay_settings()
    link = Link(int(option("--credit-port")))
    balances, counters = read_counters()
    if mode == "growing":
        held = bytearray(1_000_000 * (counters[0] + counters[1]))
        held[::4096] = b"\1" * len(held[::4096])  # touch every page so that it is resident

    for game in range(games):
        money = link.read("CGET") + link.read("BGET")
        if money < 50 or (mode == "quits" and game == 1):
            break
        price = 100 if stake == 100 and money >= 100 else 50
        if not link.exchange("CUSE,%d" % price).startswith("CTEL"):
            break
        if not (mode == "uncounted" and game == 0):
            counters[0 if price == 50 else 1] += 1
        if game % 2 == 1:
            link.exchange("BADD,100")
            if mode != "unpaid":
                link.exchange("CADD,20")
            counters[23] += 120
        write_counters(balances, counters)
        if mode == "crash":
            os.kill(os.getpid(), signal.SIGSEGV)

    link.sock.sendall(b"TERM\r\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""A fleet of two cabinets in a real Prometheus.

    console_fleet.py play --bin DIR --content DIR --cabinets DIR
    console_fleet.py prometheus --bin DIR --content DIR --cabinets DIR

`play` autoplays games on two cabinets (see console_cabinets). `prometheus` starts a console on
each, behind the fleet's token, checks each /metrics with promtool, and starts Debian's
Prometheus with the scrape configuration of deploy/ (its paths pointed at a scratch folder)
scraping both. Through Prometheus's HTTP API it then checks that the money paid and taken and the
games sold, summed across the fleet, equal the two record files' own counters, and that the
credit and bank are the ledgers' last rows. It prints the scrape times and the consoles' memory.
"""
import argparse
import json
import os
import subprocess
import sys
import time
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from console_cabinets import (CABINETS, TOKEN, Processes, cabinet_paths, common_arguments, fail,
                              fetch, free_port, ledger_rows, memory_kb, play, record_counters,
                              say, start_console)

REPOSITORY = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def query(prometheus, expression):
    """The samples of an instant query: {instance or '': value}."""
    url = prometheus + "/api/v1/query?" + urllib.parse.urlencode({"query": expression})
    answer = json.loads(fetch(url))
    if answer.get("status") != "success":
        fail(f"Prometheus refused {expression}: {answer}")
    return {sample["metric"].get("cabinet", ""): float(sample["value"][1])
            for sample in answer["data"]["result"]}


def scrape_config(folder, targets):
    """deploy/'s scrape configuration, with its files in `folder`, scraping `targets` quickly."""
    with open(os.path.join(REPOSITORY, "deploy", "prometheus-vantor.yml")) as sample:
        config = sample.read()
    token_file = os.path.join(folder, "vantor-token")
    cabinets_file = os.path.join(folder, "vantor-cabinets.yml")
    config = (config.replace("/etc/prometheus/vantor-token", token_file)
              .replace("/etc/prometheus/vantor-cabinets.yml", cabinets_file)
              .replace("scrape_interval: 30s", "scrape_interval: 1s")
              .replace("scrape_timeout: 10s", "scrape_timeout: 1s"))
    with open(token_file, "w") as token:
        token.write(TOKEN + "\n")
    with open(cabinets_file, "w") as cabinets:
        for name, address in targets:
            cabinets.write(f'- targets: ["{address}"]\n  labels:\n    cabinet: {name}\n'
                           f'    site: test-site\n')
    config_file = os.path.join(folder, "prometheus.yml")
    with open(config_file, "w") as out:
        out.write(config)
    return config_file


def fleet(args):
    with Processes() as processes:
        consoles = {}
        for name, _, _ in CABINETS:
            consoles[name] = start_console(processes, args, name)
        for name, (_, url) in consoles.items():
            text = fetch(url + "/metrics", TOKEN)
            check = subprocess.run(["promtool", "check", "metrics"], input=text, text=True,
                                   capture_output=True)
            if check.returncode != 0:
                fail(f"promtool check metrics on {name}: {check.stdout}{check.stderr}")
        say("promtool check metrics: both consoles pass")

        folder = processes.scratch("vantor-prometheus.")
        config = scrape_config(folder, [(name, url.removeprefix("http://"))
                                        for name, (_, url) in consoles.items()])
        check = subprocess.run(["promtool", "check", "config", config], capture_output=True,
                               text=True)
        if check.returncode != 0:
            fail(f"promtool check config: {check.stdout}{check.stderr}")
        port = free_port()
        server = processes.start(
            ["prometheus", "--config.file", config,
             "--storage.tsdb.path", os.path.join(folder, "data"),
             "--web.listen-address", f"127.0.0.1:{port}", "--log.level", "warn"])
        prometheus = f"http://127.0.0.1:{port}"

        # Wait until both cabinets have been scraped and are up.
        deadline = time.monotonic() + 120
        up = {}
        while time.monotonic() < deadline:
            if server.poll() is not None:
                fail("Prometheus stopped: " + server.stderr.read()[-2000:])
            try:
                up = query(prometheus, 'up{job="vantor"}')
            except OSError:
                up = {}
            if len(up) == len(CABINETS) and all(value == 1 for value in up.values()):
                break
            time.sleep(0.5)
        else:
            fail(f"the cabinets were not all scraped and up: {up}")
        time.sleep(1.5)  # one more scrape, so every series is there

        counters = {name: record_counters(cabinet_paths(args.cabinets, name)["record"])
                    for name, _, _ in CABINETS}
        expected = {
            "sum(vantor_money_paid_pence_total)": sum(c[23] for c in counters.values()),
            "sum(vantor_money_taken_pence_total)": sum(c[0] * 50 + c[1] * 100
                                                       for c in counters.values()),
            "sum(vantor_games_sold_total)": sum(c[0] + c[1] for c in counters.values()),
            'sum(vantor_meter{index="23"})': sum(c[23] for c in counters.values()),
            "sum(vantor_record_file_ok)": len(CABINETS),
        }
        for expression, value in expected.items():
            found = query(prometheus, expression).get("")
            if found != value:
                fail(f"{expression} is {found} in Prometheus, the record files say {value}")
            say(f"{expression} = {found:g}, as the record files say")
        if expected["sum(vantor_money_paid_pence_total)"] <= 0:
            fail("no money was paid: the fleet check would prove nothing")

        for name, _, _ in CABINETS:
            last = ledger_rows(cabinet_paths(args.cabinets, name)["ledger"])[-1]
            credit = query(prometheus, "vantor_credit_pence").get(name)
            bank = query(prometheus, "vantor_bank_pence").get(name)
            if (credit, bank) != (last[4], last[5]):
                fail(f"{name}: credit and bank {credit}, {bank} in Prometheus, the ledger says "
                     f"{last[4]}, {last[5]}")
        say("credit and bank in Prometheus equal each ledger's last row")

        durations = query(prometheus, 'scrape_duration_seconds{job="vantor"}')
        samples = query(prometheus, 'scrape_samples_scraped{job="vantor"}')
        for name, seconds in sorted(durations.items()):
            say(f"figure: {name} scrape {seconds * 1000:.1f} ms, {samples.get(name, 0):g} samples")
        for name, (console, _) in consoles.items():
            rss, peak = memory_kb(console)
            say(f"figure: {name} console memory {rss} kB resident, {peak} kB at most")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("step", choices=["play", "prometheus"])
    common_arguments(parser)
    args = parser.parse_args()
    if args.step == "play":
        play(args)
    else:
        fleet(args)
    say("passed")


if __name__ == "__main__":
    main()

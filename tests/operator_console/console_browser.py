#!/usr/bin/python3
"""Every page of the console in a real browser: headless Chromium driven through chromedriver.

    console_browser.py --bin DIR --content DIR --cabinets DIR --screenshots DIR

On a cabinet played by console_fleet.py's `play` step, it loads each page, finds the figures on
it and checks them against the record file and the ledger read directly, measures how long each
page took to load, and saves a screenshot of each (desktop width, and the status and meters pages
at a phone's width). One page is also loaded from a console behind a token, with the token sent
by the browser.
"""
import argparse
import csv
import io
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from console_cabinets import (CABINETS, TOKEN, Processes, cabinet_paths, common_arguments, fail,
                              fetch, ledger_rows, memory_kb, record_balances, record_counters,
                              say, start_console)

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

DESKTOP = (1280, 900)
PHONE = (412, 915)


def pounds(pence):
    sign = "-" if pence < 0 else ""
    return f"{sign}£{abs(pence) // 100}.{abs(pence) % 100:02d}"


def browser(processes):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage",
                 "--hide-scrollbars", "--user-data-dir=" + processes.scratch("vantor-chromium."),
                 f"--window-size={DESKTOP[0]},{DESKTOP[1]}"]:
        options.add_argument(flag)
    service = Service("/usr/bin/chromedriver",
                      log_path=os.path.join(processes.scratch("vantor-chromedriver."), "log"))
    return webdriver.Chrome(service=service, options=options)


def load(driver, url):
    """Loads a page; the milliseconds from the request to the end of its load event."""
    driver.get(url)
    for _ in range(100):
        took = driver.execute_script(
            "const t = performance.getEntriesByType('navigation')[0];"
            "return t && t.loadEventEnd > 0 ? t.loadEventEnd - t.startTime : null;")
        if took is not None:
            return took
        time.sleep(0.05)
    fail(f"{url} never finished loading")


def text_of(driver, element_id):
    return driver.find_element(By.ID, element_id).text.strip()


def expect(what, found, wanted):
    if found != wanted:
        fail(f"{what}: the page shows {found!r}, the cabinet's files say {wanted!r}")


def screenshot(driver, folder, name, size, whole=True):
    """The page at the given width: whole, or the first screen of it."""
    driver.set_window_size(size[0], size[1])
    if whole:
        height = driver.execute_script("return document.documentElement.scrollHeight")
        driver.set_window_size(size[0], min(max(height, size[1]), 6000))
    driver.save_screenshot(os.path.join(folder, name))
    driver.set_window_size(*DESKTOP)


def check_pages(driver, url, paths, folder):
    counters = record_counters(paths["record"])
    balances = record_balances(paths["record"])
    rows = ledger_rows(paths["ledger"])
    timings = {}

    timings["status"] = load(driver, url + "/")
    expect("credit", text_of(driver, "credit"), pounds(rows[-1][4]))
    expect("bank", text_of(driver, "bank"), pounds(rows[-1][5]))
    expect("games sold", text_of(driver, "games-sold"), str(counters[0] + counters[1]))
    expect("money paid", text_of(driver, "money-paid"), pounds(counters[23]))
    expect("game state", text_of(driver, "game-state"), "Not running")
    if "orderly end" not in text_of(driver, "last-end"):
        fail("the status page does not show the orderly end the log records")
    screenshot(driver, folder, "console-status.png", DESKTOP)
    screenshot(driver, folder, "console-status-phone.png", PHONE, whole=False)

    timings["meters"] = load(driver, url + "/meters")
    shown = driver.find_elements(By.CSS_SELECTOR, "tr[id^='counter-']")
    expect("counters shown", len(shown), 181)
    for index in (0, 1, 23, 44):
        cells = driver.find_elements(By.CSS_SELECTOR, f"tr#counter-{index} td")
        expect(f"counter {index}", cells[1].text, str(counters[index]))
    expect("50p balance", text_of(driver, "balance-50"), f"{balances[0]:.2f}")
    taken = counters[0] * 50 + counters[1] * 100
    expect("payout", text_of(driver, "payout-all"), f"{counters[23] * 100 / taken:.1f} %")
    screenshot(driver, folder, "console-meters.png", DESKTOP)
    screenshot(driver, folder, "console-meters-phone.png", PHONE, whole=False)

    timings["ledger"] = load(driver, url + "/ledger")
    table = driver.find_elements(By.CSS_SELECTOR, "table#ledger tr")
    expect("ledger rows shown", len(table) - 1, min(50, len(rows)))
    expect("newest row", table[1].find_elements(By.TAG_NAME, "td")[0].text, str(rows[-1][0]))
    screenshot(driver, folder, "console-ledger.png", DESKTOP)
    downloaded = list(csv.reader(io.StringIO(fetch(url + "/ledger.csv"))))
    expect("CSV rows", [tuple(row) for row in downloaded[1:]],
           [tuple(str(field) for field in row) for row in rows])

    timings["payout"] = load(driver, url + "/payout")
    if not driver.find_elements(By.CSS_SELECTOR, "svg.chart polyline.course"):
        fail("the payout page draws no course")
    paid = sum(row[3] for row in rows if row[2] in ("BADD", "CADD"))
    expect("paid in the ledger", text_of(driver, "course-paid-all"), pounds(paid))
    screenshot(driver, folder, "console-payout.png", DESKTOP)

    timings["log"] = load(driver, url + "/log")
    with open(paths["log"], encoding="cp1252") as log_file:
        lines = [line.rstrip("\r\n") for line in log_file]
    while lines and not lines[-1]:
        lines.pop()
    shown = driver.find_element(By.ID, "log-lines").text.rstrip("\n").split("\n")
    expect("the log's last line", shown[-1], lines[-1])
    expect("log lines shown", len(shown), min(200, len(lines)))
    screenshot(driver, folder, "console-log.png", DESKTOP)
    return timings


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    common_arguments(parser)
    parser.add_argument("--screenshots", required=True, help="where the screenshots go")
    args = parser.parse_args()
    os.makedirs(args.screenshots, exist_ok=True)
    with Processes() as processes:
        first, second = CABINETS[0][0], CABINETS[1][0]
        console, url = start_console(processes, args, first, token=False)
        guarded, guarded_url = start_console(processes, args, second, token=True)
        driver = browser(processes)
        try:
            timings = check_pages(driver, url, cabinet_paths(args.cabinets, first),
                                  args.screenshots)
            # Loaded again, warm, for the figures.
            again = {page: load(driver, url + path) for page, path in
                     [("status", "/"), ("meters", "/meters"), ("ledger", "/ledger"),
                      ("payout", "/payout"), ("log", "/log")]}
            # Behind a token: refused without it, shown with it.
            driver.get(guarded_url + "/")
            if driver.find_elements(By.ID, "credit"):
                fail("a console behind a token showed its page without it")
            driver.execute_cdp_cmd("Network.enable", {})
            driver.execute_cdp_cmd("Network.setExtraHTTPHeaders",
                                   {"headers": {"Authorization": "Bearer " + TOKEN}})
            load(driver, guarded_url + "/")
            last = ledger_rows(cabinet_paths(args.cabinets, second)["ledger"])[-1]
            expect("credit behind the token", text_of(driver, "credit"), pounds(last[4]))
        finally:
            driver.quit()
        for page in timings:
            say(f"figure: {page} page loaded in {timings[page]:.0f} ms, "
                f"{again[page]:.0f} ms loaded again")
        rss, peak = memory_kb(console)
        say(f"figure: console memory after the pages {rss} kB resident, {peak} kB at most")
        say(f"screenshots in {args.screenshots}")
    say("passed")


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""The browser edition in headless Chromium, measured: what the page fetches
before the first split, how soon it is ready, a split of 100,000 characters
of real text against zelk-split on the same text, and the join's speed.

    bench/web_bench.py [SITE_DIR] [BUILD_DIR]   (defaults: build-web/site, build)
"""

import functools
import http.server
import os
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
site = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build-web/site"))
build = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "build"))


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                 "--no-first-run", "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--window-size=1000,1200",
                 f"--user-data-dir={tempfile.mkdtemp(prefix='zelk-bench-')}"]:
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def wait_ready(driver):
    WebDriverWait(driver, 60).until(
        lambda d: d.execute_script("return document.body.dataset.ready === 'true'"))


# Runs a command of the page and gives its time in ms, until the result is drawn.
TIMED = """
const [id, done] = arguments;
const start = performance.now();
document.getElementById(id).click();
const wait = () => document.body.hasAttribute('aria-busy') ? setTimeout(wait, 1)
    : requestAnimationFrame(() => requestAnimationFrame(() => done(performance.now() - start)));
setTimeout(wait, 0);
"""

text = "".join(open(f"/usr/share/games/fortunes/{name}", encoding="utf-8").read()
               for name in ("tang300", "song100", "chinese"))[:100000]
work = tempfile.mkdtemp(prefix="zelk-bench-")
database = os.path.join(work, "Zelk.dll")
subprocess.run([f"{build}/tools/zelk-dict", "create", "--database", database], check=True,
               capture_output=True)
with open(os.path.join(work, "text.txt"), "w", encoding="utf-8") as f:
    f.write(text)

print(f"web_bench: {time.strftime('%Y-%m-%d')}, {os.cpu_count()} cores, "
      f"{subprocess.run(['/usr/bin/chromium', '--version'], capture_output=True, text=True).stdout.strip()}")

# From disk: how soon the page is ready.
driver = browser()
ready = []
for _ in range(5):
    driver.get("file://" + os.path.join(site, "index.html"))
    wait_ready(driver)
    ready.append(driver.execute_script(
        "return performance.getEntriesByName('zelk-ready')[0].startTime"))
print(f"page ready (拆分 usable) from local disk: best {min(ready):.0f} ms, "
      f"median {sorted(ready)[2]:.0f} ms (of 5 loads)")
driver.quit()

# From a static host: what it fetches, and the commands' times.
class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


handler = functools.partial(Quiet, directory=site)
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
threading.Thread(target=server.serve_forever, daemon=True).start()
driver = browser()
driver.get(f"http://127.0.0.1:{server.server_port}/index.html")
wait_ready(driver)
driver.execute_script("document.getElementById('sentence').value = arguments[0]", text)
first = driver.execute_async_script(TIMED, "split")
fetched = driver.execute_script("""
    const entries = [...performance.getEntriesByType('navigation'), ...performance.getEntriesByType('resource')];
    return entries.reduce((n, e) => n + e.decodedBodySize, 0);""")
second = min(driver.execute_async_script(TIMED, "split") for _ in range(3))
shown = driver.execute_script("return document.getElementById('result').value")
cli_runs = []
for _ in range(5):
    start = time.perf_counter()
    cli = subprocess.run([f"{build}/tools/zelk-split", "--database", database, "--file",
                          os.path.join(work, "text.txt")], capture_output=True, check=True).stdout
    cli_runs.append((time.perf_counter() - start) * 1000)
assert shown == cli.decode(), "the page's split differs from zelk-split's"
print(f"fetched before the first split: {fetched:,} bytes (uncompressed)")
print(f"split of {len(text):,} characters, shown: first {first:.0f} ms, second {second:.0f} ms; "
      f"zelk-split {min(cli_runs):.0f} ms (best of 5): {second / min(cli_runs):.1f} x")

split = cli.decode()
driver.execute_script("document.getElementById('sentence').value = arguments[0]", split)
load = driver.execute_async_script(TIMED, "join")
join = min(driver.execute_async_script(TIMED, "join") for _ in range(3))
print(f"join of {len(split):,} characters: first (with the model's download) {load:.0f} ms, "
      f"after it {join:.0f} ms = {len(split) / join * 1000:,.0f} characters/s")
driver.quit()
server.shutdown()

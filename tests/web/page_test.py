#!/usr/bin/python3
"""The browser edition in a real headless Chromium (Debian's chromium and
chromium-driver, driven by python3-selenium): served from a static host on
the loopback address and opened straight from disk.

    page_test.py SITE_DIR ZELK_DICT ZELK_SPLIT
"""

import functools
import http.server
import json
import os
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

SITE, DICT, SPLIT = (os.path.abspath(p) for p in sys.argv[1:4])
del sys.argv[1:4]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    """A static host for folder on a free loopback port, in a thread."""
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def browser(width=1000, height=1200):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                 "--no-first-run", "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--disable-default-apps", f"--window-size={width},{height}",
                 f"--user-data-dir={tempfile.mkdtemp(prefix='zelk-chrome-')}"]:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"performance": "ALL", "browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def cli(arguments, text, database):
    return subprocess.run([SPLIT, "--database", database, *arguments], input=text.encode(),
                          capture_output=True, check=True).stdout.decode()


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = serve(SITE)
        cls.origin = f"http://127.0.0.1:{cls.server.server_port}"
        cls.work = tempfile.mkdtemp(prefix="zelk-page-")
        cls.database = os.path.join(cls.work, "Zelk.dll")
        subprocess.run([DICT, "create", "--database", cls.database], check=True,
                       capture_output=True)
        cls.driver = browser()
        cls.driver.execute_cdp_cmd("Browser.grantPermissions", {
            "origin": cls.origin, "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.shutdown()

    def open(self, url=None):
        self.driver.get(url or self.origin + "/index.html")
        WebDriverWait(self.driver, 30).until(
            lambda d: d.execute_script("return document.body.dataset.ready === 'true'"))

    def element(self, id):
        return self.driver.find_element(By.ID, id)

    def set_value(self, id, text):
        self.driver.execute_script(
            "const e = document.getElementById(arguments[0]); e.value = arguments[1];"
            "e.dispatchEvent(new Event('input'));", id, text)

    def value(self, id):
        return self.driver.execute_script("return document.getElementById(arguments[0]).value", id)

    def text(self, id):
        return self.element(id).text

    def wait_text(self, id, expected, seconds=30):
        WebDriverWait(self.driver, seconds).until(lambda d: expected in self.text(id),
                                                  f"#{id} never said {expected!r}: {self.text(id)!r}")

    def requests(self):
        """Every URL the page asked the network for since the last call."""
        urls = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                urls.append(message["params"]["request"]["url"])
        return urls

    def test_1_type_split_copy_join(self):
        self.open()
        sentence = self.element("sentence")
        sentence.clear()
        sentence.send_keys("请让精神好，abc")
        self.element("split").click()
        WebDriverWait(self.driver, 10).until(lambda d: self.value("result") != "")
        self.assertEqual(self.value("result"), "讠青讠上米青礻申女子，abc")
        self.element("copy").click()
        self.wait_text("status", "已复制")
        clipboard = self.driver.execute_async_script(
            "navigator.clipboard.readText().then(arguments[0], e => arguments[0]('error: ' + e))")
        self.assertEqual(clipboard, "讠青讠上米青礻申女子，abc")
        # Ctrl+Enter splits, from the keyboard.
        sentence.clear()
        sentence.send_keys("林")
        sentence.send_keys(Keys.CONTROL, Keys.ENTER)
        WebDriverWait(self.driver, 10).until(lambda d: self.value("result") == "木木")
        # 还原 fetches the model the first time, with a sign of progress.
        self.set_value("sentence", "讠青讠上米青礻申女子")
        self.element("join").click()
        self.wait_text("status", "已还原", 60)
        self.assertEqual(self.value("result"), "请让精神好")

    def test_2_entries_are_kept_across_reloads(self):
        self.open()
        self.element("ku").click()
        self.assertFalse(self.element("panel").get_attribute("hidden"))
        self.set_value("key", "好")
        self.set_value("value", "女孑")
        self.element("save").click()
        self.wait_text("panel-status", "保存成功")
        self.open()
        self.set_value("sentence", "好")
        self.element("split").click()
        WebDriverWait(self.driver, 10).until(lambda d: self.value("result") == "女孑")
        self.element("ku").click()
        self.set_value("key", "好")
        self.set_value("value", "")
        self.element("lookup").click()
        self.wait_text("panel-status", "你自己的词条")
        self.assertEqual(self.value("value"), "女孑")
        self.element("delete").click()
        self.assertIn("确定删除【好】吗？", self.text("confirm"))
        self.element("confirm-yes").click()
        self.wait_text("panel-status", "删除成功")
        # A key with no entry of the user's: said at once, nothing asked.
        self.element("delete").click()
        self.wait_text("panel-status", "没有你自己的词条")
        self.assertTrue(self.element("confirm").get_attribute("hidden"))
        self.set_value("key", "龘")
        self.set_value("value", "something")
        self.element("lookup").click()
        self.wait_text("panel-status", "“龘”没有条目")
        self.assertEqual(self.value("value"), "")

    def test_3_import_names_the_damaged_line(self):
        self.open()
        self.element("ku").click()
        damaged = os.path.join(self.work, "damaged.tsv")
        with open(damaged, "w", encoding="utf-8") as f:
            f.write("甲\t一\n坏的一行\n")
        self.element("import").send_keys(damaged)
        self.wait_text("panel-status", "damaged.tsv 第 2 行")
        good = os.path.join(self.work, "good.tsv")
        with open(good, "w", encoding="utf-8") as f:
            f.write("甲\t一口\n")
        self.element("import").send_keys(good)
        self.wait_text("panel-status", "已导入 1 条词条")
        self.set_value("key", "甲")
        self.element("delete").click()
        self.element("confirm-yes").click()
        self.wait_text("panel-status", "删除成功")

    def test_4_find_by_parts_and_coverage(self):
        self.open()
        self.set_value("parts", "女 子")
        self.element("find").click()
        self.assertEqual(self.driver.find_elements(By.CSS_SELECTOR, "#found li")[0].text, "好女子")
        self.set_value("parts", "木")
        self.element("find").click()
        first = [li.text[0] for li in self.driver.find_elements(By.CSS_SELECTOR, "#found li")[:3]]
        self.assertEqual(first, ["相", "机", "林"])
        self.set_value("sentence", "好好人人人，一 abc")
        self.element("coverage").click()
        self.assertEqual(self.text("coverage-summary"), "汉字 6 个，可拆分 2 个（33.33%）。")

    def test_5_same_results_as_the_command_line(self):
        self.open()
        text = "".join(open(f"/usr/share/games/fortunes/{name}", encoding="utf-8").read()
                       for name in ("tang300", "song100", "chinese"))[:150000]
        self.set_value("sentence", text)
        self.set_value("separator", " ")
        self.element("split").click()
        WebDriverWait(self.driver, 30).until(lambda d: self.value("result") != "")
        self.assertEqual(self.value("result"), cli(["--separator", " "], text, self.database))
        split = cli([], text, self.database)
        self.set_value("sentence", split)
        self.set_value("separator", "")
        self.element("join").click()
        self.wait_text("status", "已还原", 60)
        self.assertEqual(self.value("result"), cli(["--join"], split, self.database))

    def test_6_a_long_paste_does_not_freeze_the_page(self):
        self.open()
        text = ("请让精神好，骆驼难捉狗。" * 90000)[:1000000]
        self.set_value("sentence", text)
        # The longest gap between two turns of the event loop while it splits.
        longest = self.driver.execute_async_script("""
            const done = arguments[0];
            let last = performance.now(), longest = 0;
            const tick = () => { const now = performance.now(); longest = Math.max(longest, now - last); last = now; };
            const timer = setInterval(tick, 10);
            document.getElementById('split').click();
            const wait = () => document.body.hasAttribute('aria-busy') ? setTimeout(wait, 20)
                : (clearInterval(timer), tick(), done(longest));
            setTimeout(wait, 20);""")
        self.assertEqual(self.value("result"), cli([], text, self.database))
        self.assertLess(longest, 1000, f"the page froze for {longest:.0f} ms")

    def test_7_narrow_screen_and_no_other_origin(self):
        self.requests()
        self.driver.set_window_size(360, 800)
        self.open()
        self.element("ku").click()  # with the dictionary panel open, too
        overflow = self.driver.execute_script(
            "return document.documentElement.scrollWidth - document.documentElement.clientWidth")
        self.assertLessEqual(overflow, 0, "the page scrolls sideways at 360 px")
        for id in ("sentence", "result", "key", "value", "separator", "mark", "parts"):
            self.assertTrue(self.driver.execute_script(
                "const e = document.getElementById(arguments[0]);"
                "return e.labels.length > 0 && e.labels[0].textContent.trim() !== ''", id), id)
        self.driver.set_window_size(1000, 1200)
        urls = self.requests()
        self.assertTrue(urls)
        foreign = [u for u in urls if not (u.startswith(self.origin + "/") or u.startswith("data:")
                                           or u.startswith("blob:"))]
        self.assertEqual(foreign, [])
        errors = [e["message"] for e in self.driver.get_log("browser") if e["level"] == "SEVERE"]
        self.assertEqual(errors, [])
        policy = self.driver.execute_script(
            "return document.querySelector('meta[http-equiv=\"Content-Security-Policy\"]').content")
        self.assertIn("default-src 'none'", policy)


class FromDiskTest(unittest.TestCase):
    """Opened straight from disk: no fetch is allowed, and the model comes as
    scripts."""

    def test_split_and_join_from_disk(self):
        driver = browser()
        try:
            driver.get("file://" + os.path.join(SITE, "index.html"))
            WebDriverWait(driver, 30).until(
                lambda d: d.execute_script("return document.body.dataset.ready === 'true'"))
            driver.execute_script("document.getElementById('sentence').value = '女子木木'")
            driver.find_element(By.ID, "join").click()
            WebDriverWait(driver, 60).until(
                lambda d: "已还原" in d.find_element(By.ID, "status").text,
                lambda: driver.find_element(By.ID, "status").text)
            self.assertEqual(driver.execute_script("return document.getElementById('result').value"),
                             "好林")
            errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
            self.assertEqual(errors, [])
        finally:
            driver.quit()


if __name__ == "__main__":
    unittest.main(verbosity=2)

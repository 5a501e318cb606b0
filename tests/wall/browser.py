"""Headless Chromium through Selenium, started for one test or benchmark
with a profile of its own (the network is closed: nothing of Chromium's own
goes out). chromium() returns None when Chromium or Selenium is missing."""

import os
import shutil
import tempfile


def chromium(width=1600, height=1000, downloads=None):
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.options import Options
        from selenium.webdriver.chrome.service import Service
    except ImportError:
        return None
    driver = shutil.which("chromedriver")
    if driver is None or not (shutil.which("chromium") or shutil.which("chromium-browser")):
        return None
    profile = tempfile.mkdtemp(prefix="tessel-wall-chromium-")
    opts = Options()
    for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
              "--disable-background-networking", "--disable-component-update", "--disable-sync",
              "--enable-precise-memory-info", "--user-data-dir=" + profile, "--window-size=%d,%d" % (width, height)):
        opts.add_argument(a)
    b = webdriver.Chrome(service=Service(driver), options=opts)
    b.profile_dir = profile
    if downloads:
        b.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads})
    quit_ = b.quit

    def quit_and_clean():
        try:
            quit_()
        finally:
            shutil.rmtree(profile, ignore_errors=True)
    b.quit = quit_and_clean
    return b


def js_heap_mb(b):
    """The page's JavaScript heap in use, after a garbage collection."""
    b.execute_cdp_cmd("HeapProfiler.enable", {})
    b.execute_cdp_cmd("HeapProfiler.collectGarbage", {})
    return b.execute_cdp_cmd("Runtime.getHeapUsage", {})["usedSize"] / 1048576.0

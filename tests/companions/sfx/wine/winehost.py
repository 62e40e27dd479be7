"""The Wine side of the self-extractor's tests: which Wine runs which stub,
the shared prefix and X display that the fixture prepares, and xdotool
answers to the stub's windows. Every wait is bounded."""

import os
import re
import shutil
import subprocess
import sys
import time

SKIP = 77  # CTest's SKIP_RETURN_CODE for these tests

STATE = os.environ["SFX_WINE_STATE"]
PREFIX = os.path.join(STATE, "prefix")
# Wine must never offer to download its .NET and HTML engines: that would be
# a window nobody answers.
OVERRIDES = "mscoree,mshtml="


def note(text):
    print(text, flush=True)


def fail(text):
    note("FAIL: " + text)
    sys.exit(1)


def skip_or_fail(reason):
    """Missing Wine fails in CI and skips, visibly, elsewhere."""
    if os.environ.get("CI") == "true":
        fail(reason + " (CI=true: the Wine tests must run; scripts/setup.sh installs Wine)")
    note("SKIP: " + reason)
    sys.exit(SKIP)


def runs(command):
    try:
        return subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=60).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


def choose_runtime():
    """(wine command, stub, planted probe). The shipped 32-bit stub when this
    kernel runs 32-bit programs; otherwise the 64-bit build of the same
    sources under Wine's 64-bit loader."""
    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            skip_or_fail(tool + " is not installed")
    stub32 = os.path.join(os.environ["BRX_BIN_DIR"], "ZIPSFX.BIN")
    if shutil.which("wine") and os.path.isfile("/usr/lib/wine/wine") \
            and runs(["/usr/lib/wine/wine", "--version"]) and os.path.isfile(stub32):
        return ["wine"], stub32, os.environ.get("SFX_PROBE32", "")
    stub64 = os.environ.get("SFX_STUB64", "")
    wine64 = shutil.which("wine64") or "/usr/lib/wine/wine64"
    if os.path.isfile(wine64) and os.path.isfile(stub64) and runs([wine64, "--version"]):
        note("NOTE: this kernel runs no 32-bit programs; testing the 64-bit build of the stub")
        return [wine64], stub64, os.environ.get("SFX_PROBE64", "")
    if not shutil.which("wine") and not shutil.which("wine64"):
        skip_or_fail("Wine is not installed")
    if not os.path.isfile(stub32):
        skip_or_fail(stub32 + " was not built")
    skip_or_fail("Wine cannot run the stub here (no 32-bit support, no 64-bit stub build)")


def read_state(name):
    try:
        with open(os.path.join(STATE, name)) as f:
            return f.read().strip()
    except OSError:
        return ""


def environment(extra_overrides=""):
    env = dict(os.environ)
    env.update(WINEPREFIX=PREFIX, WINEDEBUG="-all", DISPLAY=read_state("display"),
               WINELOADER=read_state("loader") or env.get("WINELOADER", ""),
               WINEDLLOVERRIDES=OVERRIDES + (";" + extra_overrides if extra_overrides else ""))
    return env


def windows_path(path):
    """Wine's view of a Linux path: drive Z: is the root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def xdotool(*args, timeout=10):
    try:
        done = subprocess.run(["xdotool", *args], capture_output=True, text=True,
                              timeout=timeout, env=environment())
    except subprocess.TimeoutExpired:
        return None
    return done.stdout.split() if done.returncode == 0 else None


def window_exists(wid):
    return xdotool("getwindowname", wid) is not None


def answer(title, keys, timeout=60):
    """Waits for the visible window named exactly title, presses keys in it
    and waits until it is gone (pressing again when a key was lost)."""
    found = xdotool("search", "--sync", "--onlyvisible", "--name",
                    "^" + re.escape(title) + "$", timeout=timeout)
    if not found:
        fail(f'no window "{title}" within {timeout} s')
    wid = found[0]
    # A key sent before the window had the focus is lost: send again, but only
    # after long enough that a slow close is not taken for a lost key.
    for attempt in range(3):
        xdotool("windowfocus", wid)
        xdotool("key", "--delay", "80", *keys)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if not window_exists(wid):
                return
            time.sleep(0.2)
    fail(f'window "{title}" did not close after {keys}')


_started = []


def stop_started():
    """Ends every stub this flow started that still runs (and its windows)."""
    for running in _started:
        if running.process.poll() is None:
            running.process.kill()
            running.process.wait()


class Running:
    """The stub started under Wine; wait() gives its exit status."""

    def __init__(self, wine, exe, cwd, extra_overrides=""):
        _started.append(self)
        self.log = open(exe + ".log", "w")
        self.process = subprocess.Popen([*wine, exe], cwd=cwd, env=environment(extra_overrides),
                                        stdin=subprocess.DEVNULL, stdout=self.log,
                                        stderr=subprocess.STDOUT)

    def wait(self, timeout=60):
        try:
            started = time.monotonic()
            status = self.process.wait(timeout=timeout)
            note(f"stub ended with {status} after waiting {time.monotonic() - started:.1f} s")
            return status
        except subprocess.TimeoutExpired:
            self.process.kill()
            fail(f"the stub still ran after {timeout} s")
        finally:
            self.log.close()

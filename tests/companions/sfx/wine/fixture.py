"""Prepares (setup) and removes (cleanup) what every Wine test of the stub
shares: one X display (Xvfb) and one Wine prefix under the build folder,
initialised once per test run."""

import json
import select
import os
import shutil
import signal
import subprocess
import sys

import winehost as w


def start_display():
    read, write = os.pipe()
    log = open(os.path.join(w.STATE, "xvfb.log"), "w")
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=(write,), stdin=subprocess.DEVNULL,
                            stdout=log, stderr=log, start_new_session=True)
    os.close(write)
    # Xvfb writes the number and then a newline: read up to it before closing.
    received = b""
    while not received.endswith(b"\n"):
        ready, _, _ = select.select([read], [], [], 30)
        chunk = os.read(read, 16) if ready else b""
        if not chunk:
            break
        received += chunk
    os.close(read)
    number = received.decode().strip()
    if not number:
        xvfb.kill()
        w.fail("Xvfb did not start within 30 s")
    with open(os.path.join(w.STATE, "display"), "w") as f:
        f.write(":" + number)
    with open(os.path.join(w.STATE, "xvfb.pid"), "w") as f:
        f.write(str(xvfb.pid))


def init_prefix(wine):
    shutil.rmtree(w.PREFIX, ignore_errors=True)
    log = open(os.path.join(w.STATE, "wineboot.log"), "w")
    boot = [*wine, "wineboot", "-i"]
    try:
        subprocess.run(boot, env=w.environment(), stdin=subprocess.DEVNULL, stdout=log,
                       stderr=log, timeout=240, check=True)
        subprocess.run(["wineserver", "-w"], env=w.environment(), stdin=subprocess.DEVNULL,
                       stdout=log, stderr=log, timeout=120)
        # One server for the whole run: a server that quits between two flows
        # races with the next one starting ("connection reset by peer").
        subprocess.run(["wineserver", "-p"], env=w.environment(), stdin=subprocess.DEVNULL,
                       stdout=log, stderr=log, timeout=60, check=True)
    except (subprocess.TimeoutExpired, subprocess.CalledProcessError) as error:
        w.fail(f"wineboot failed: {error} (see {log.name})")


def setup():
    if os.path.isdir(w.STATE):
        cleanup()  # a run that was interrupted before its own cleanup
    shutil.rmtree(w.STATE, ignore_errors=True)
    os.makedirs(w.STATE)
    wine, stub, probe = w.choose_runtime()
    with open(os.path.join(w.STATE, "runtime.json"), "w") as f:
        json.dump({"wine": wine, "stub": stub, "probe": probe}, f)
    if wine[0].endswith("wine64"):  # started directly, not through Debian's wine script
        with open(os.path.join(w.STATE, "loader"), "w") as f:
            f.write(wine[0])
    start_display()
    init_prefix(wine)
    w.note(f"Wine prefix ready ({' '.join(wine)}, stub {stub})")


def cleanup():
    if os.path.isdir(w.PREFIX):
        subprocess.run(["wineserver", "-k"], env=w.environment(), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    pid = w.read_state("xvfb.pid")
    if pid:
        try:
            os.kill(int(pid), signal.SIGTERM)
        except (ProcessLookupError, ValueError):
            pass


if __name__ == "__main__":
    {"setup": setup, "cleanup": cleanup}[sys.argv[1]]()

"""The real stub under Wine, driven through its windows with xdotool: one
flow per test (python3 flows.py NAME). Archives and self-extractors are made
with brxzip, the program's own engine on the command line."""

import filecmp
import glob
import io
import json
import os
import shutil
import struct
import subprocess
import sys
import time
import zipfile

import winehost as w

EXTRACTED, CANCELLED, FAILED = 0, 1, 2


class Flow:
    def __init__(self, name):
        runtime_file = os.path.join(w.STATE, "runtime.json")
        if not os.path.isfile(runtime_file):
            w.choose_runtime()  # skips or fails with the reason
            w.fail("the Wine fixture did not run")
        with open(runtime_file) as f:
            runtime = json.load(f)
        self.wine, self.stub, self.probe = runtime["wine"], runtime["stub"], runtime["probe"]
        self.dir = os.path.join(w.STATE, "flows", name)
        shutil.rmtree(self.dir, ignore_errors=True)
        self.payload = os.path.join(self.dir, "payload")
        os.makedirs(os.path.join(self.payload, "sub"))
        self.write("payload/a.txt", b"hello from the archive\r\n")
        self.write("payload/sub/b.bin", bytes(range(256)) * 64 + os.urandom(5000))
        self.write("payload/run.bat", b'@echo ran> "%~dp0ran.txt"\r\n')
        # The engine takes ZIPSFX.BIN from the current folder first.
        shutil.copy(self.stub, os.path.join(self.dir, "ZIPSFX.BIN"))

    def write(self, relative, data):
        with open(os.path.join(self.dir, relative), "wb") as f:
            f.write(data)

    def path(self, relative):
        return os.path.join(self.dir, relative)

    def brxzip(self, *args):
        tool = os.path.join(os.environ["BRX_BIN_DIR"], "brxzip")
        done = subprocess.run([tool, *args], cwd=self.dir, capture_output=True, text=True,
                              timeout=60)
        if done.returncode != 0:
            w.fail(f"brxzip {' '.join(args)}: {done.stderr}")

    def make_exe(self, name, caption, folder, command="", message="", options="checksize",
                 overwrite="confirm"):
        """A self-extractor of the payload named name; returns its path."""
        base = os.path.splitext(name)[0]
        zip_path = self.path(base + ".zip")
        subprocess.run(["rm", "-f", zip_path], check=True)
        tool = os.path.join(os.environ["BRX_BIN_DIR"], "brxzip")
        done = subprocess.run([tool, "add", "-r", zip_path, "."], cwd=self.payload,
                              capture_output=True, text=True, timeout=60)
        if done.returncode != 0:
            w.fail("brxzip add: " + done.stderr)
        self.brxzip("sfx", "--caption", caption, "--dir", folder, "--command", command,
                    "--message", message, "--options", options, "--overwrite", overwrite, zip_path)
        exe = self.path(base + ".exe")
        if os.path.basename(exe) != name:
            os.rename(exe, self.path(name))
        return self.path(name)

    def start(self, exe, overrides=""):
        # Started from another folder: relative folders must follow the .exe.
        return w.Running(self.wine, exe, cwd=w.STATE, extra_overrides=overrides)

    def expect_status(self, running, status):
        got = running.wait()
        if got != status:
            w.fail(f"exit status {got}, expected {status}")

    def expect_payload_in(self, folder):
        for relative in ("a.txt", "sub/b.bin", "run.bat"):
            target = os.path.join(folder, relative)
            if not os.path.isfile(target):
                w.fail(f"{target} was not extracted")
            if not filecmp.cmp(os.path.join(self.payload, relative), target, shallow=False):
                w.fail(f"{target} differs from what was archived")

    def expect_nothing_in(self, folder):
        if os.path.isdir(folder) and os.listdir(folder):
            w.fail(f"{folder} holds {os.listdir(folder)} after a cancelled or failed run")


def wait_for_file(path, seconds=30):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if os.path.isfile(path):
            return True
        time.sleep(0.25)
    return False


# The keys that answer each window.
ACCEPT = ["Return"]
CANCEL = ["Escape"]
NO = ["Tab", "space"]  # from the default first button to the second one


def flow_default(f):
    out = f.path("out")
    exe = f.make_exe("setup.exe", "SfxDefault", w.windows_path(out))
    run = f.start(exe)
    w.answer("SfxDefault", ACCEPT)  # folder and file list
    w.answer("SfxDefault", ACCEPT)  # success box
    f.expect_status(run, EXTRACTED)
    f.expect_payload_in(out)


def flow_relative_folder(f):
    exe = f.make_exe("setup.exe", "SfxRelative", "extrait\\ici", options="checksize,nosuccessmsg")
    run = f.start(exe)
    w.answer("SfxRelative", ACCEPT)
    f.expect_status(run, EXTRACTED)
    f.expect_payload_in(f.path("extrait/ici"))


def flow_message_ok_cancel(f):
    out = f.path("out")
    exe = f.make_exe("ok.exe", "SfxCode1", w.windows_path(out), message="\x01Installer ?",
                     options="checksize,nosuccessmsg")
    run = f.start(exe)
    w.answer("SfxCode1", ACCEPT)  # OK
    w.answer("SfxCode1", ACCEPT)  # folder
    f.expect_status(run, EXTRACTED)
    f.expect_payload_in(out)

    shutil.rmtree(out)
    run = f.start(exe)
    w.answer("SfxCode1", CANCEL)  # Annuler
    w.answer("SfxCode1", ACCEPT)  # "extraction cancelled"
    f.expect_status(run, CANCELLED)
    f.expect_nothing_in(out)


def flow_message_yes_no(f):
    out = f.path("out")
    exe = f.make_exe("yes.exe", "SfxCode2", w.windows_path(out), message="\x02Installer ?",
                     options="checksize,nosuccessmsg")
    run = f.start(exe)
    w.answer("SfxCode2", ACCEPT)  # Oui
    w.answer("SfxCode2", ACCEPT)  # folder
    f.expect_status(run, EXTRACTED)
    f.expect_payload_in(out)

    shutil.rmtree(out)
    run = f.start(exe)
    w.answer("SfxCode2", NO)
    w.answer("SfxCode2", ACCEPT)  # "extraction cancelled"
    f.expect_status(run, CANCELLED)
    f.expect_nothing_in(out)


def temp_folders():
    return glob.glob(os.path.join(w.PREFIX, "drive_c/users/*/AppData/Local/Temp")) + \
        glob.glob(os.path.join(w.PREFIX, "drive_c/users/*/Temp"))


def flow_temp_folder(f):
    exe = f.make_exe("temp.exe", "SfxTemp", "><sfx-temp-test",
                     command="><run.bat", options="checksize,nosuccessmsg")
    run = f.start(exe)
    w.answer("SfxTemp", ACCEPT)
    f.expect_status(run, EXTRACTED)
    folders = [os.path.join(t, "sfx-temp-test") for t in temp_folders()]
    landed = [d for d in folders if os.path.isdir(d)]
    if not landed:
        w.fail(f"nothing extracted into the Windows temporary folder ({folders})")
    f.expect_payload_in(landed[0])
    if not wait_for_file(os.path.join(landed[0], "ran.txt")):
        w.fail('"><run.bat" did not run from the temporary folder')
    shutil.rmtree(landed[0])


def flow_autorun(f):
    out = f.path("out")
    exe = f.make_exe("!auto.exe", "SfxAuto", w.windows_path(out), message="\x01Installer ?",
                     options="autorun,nosuccessmsg", overwrite="always")
    run = f.start(exe)
    f.expect_status(run, EXTRACTED)  # no window to answer
    f.expect_payload_in(out)

    # The same file without "!" asks as usual.
    shutil.rmtree(out)
    plain = f.path("auto.exe")
    os.rename(exe, plain)
    run = f.start(plain)
    w.answer("SfxAuto", CANCEL)  # the message (OK / Annuler)
    w.answer("SfxAuto", ACCEPT)  # "extraction cancelled"
    f.expect_status(run, CANCELLED)
    f.expect_nothing_in(out)


def prepare_existing(f, out):
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    with open(os.path.join(out, "a.txt"), "wb") as old:
        old.write(b"old")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def flow_overwrite_modes(f):
    out = f.path("out")
    new = read(os.path.join(f.payload, "a.txt"))
    quiet = "checksize,nosuccessmsg"
    cases = [  # name, overwrite, options, keys for the question (None: no question), result
        ("always", "always", quiet, None, new),
        ("never", "never", quiet, None, b"old"),
        ("hidden", "confirm", quiet + ",hideoverwritebox", None, new),
        ("confirm-yes", "confirm", quiet, ACCEPT, new),
        ("confirm-no", "confirm", quiet, NO, b"old"),
    ]
    for name, mode, options, keys, expected in cases:
        prepare_existing(f, out)
        caption = "SfxOvr-" + name
        exe = f.make_exe(name + ".exe", caption, w.windows_path(out), options=options,
                         overwrite=mode)
        run = f.start(exe)
        w.answer(caption, ACCEPT)  # folder
        if keys:
            w.answer(caption, keys)
        f.expect_status(run, EXTRACTED)
        if read(os.path.join(out, "a.txt")) != expected:
            w.fail(f"{name}: a.txt holds {read(os.path.join(out, 'a.txt'))!r}")
        if read(os.path.join(out, "sub/b.bin")) != read(os.path.join(f.payload, "sub/b.bin")):
            w.fail(f"{name}: sub/b.bin was not extracted")


def flow_overwrite_cancel(f):
    out = f.path("out")
    prepare_existing(f, out)
    exe = f.make_exe("cancel.exe", "SfxOvrCancel", w.windows_path(out), command="><run.bat")
    run = f.start(exe)
    w.answer("SfxOvrCancel", ACCEPT)  # folder
    w.answer("SfxOvrCancel", CANCEL)  # overwrite question: Annuler
    w.answer("SfxOvrCancel", ACCEPT)  # "extraction cancelled"
    f.expect_status(run, CANCELLED)
    if read(os.path.join(out, "a.txt")) != b"old":
        w.fail("a.txt was replaced although the question was cancelled")
    if wait_for_file(os.path.join(out, "ran.txt"), seconds=3) or \
            os.path.isfile(os.path.join(out, "run.bat")):
        w.fail("the extraction went on after the cancel")


def flow_command(f):
    out = f.path("out")
    exe = f.make_exe("withcommand.exe", "SfxCommand", w.windows_path(out), command="><run.bat")
    run = f.start(exe)
    w.answer("SfxCommand", ACCEPT)  # folder
    w.answer("SfxCommand", ACCEPT)  # success box
    f.expect_status(run, EXTRACTED)
    f.expect_payload_in(out)
    if not wait_for_file(os.path.join(out, "ran.txt")):
        w.fail("the command after extraction did not run")


def flow_damaged(f):
    out = f.path("out")
    exe = f.make_exe("damaged.exe", "SfxDamaged", w.windows_path(out),
                     message="\x01Installer ?")
    data = bytearray(read(exe))
    last = data.rfind(b"PK\x01\x02")
    data[last + 21] = (data[last + 21] + 0x10) % 256  # claims 4 KiB more data than there is
    with open(exe, "wb") as damaged:
        damaged.write(bytes(data))
    run = f.start(exe)
    w.answer("SfxDamaged", ACCEPT)  # the damage is reported before the message
    f.expect_status(run, FAILED)
    f.expect_nothing_in(out)


def flow_planted_dll(f):
    if not f.probe or not os.path.isfile(f.probe):
        w.fail("the planted-DLL probe was not built")
    out = f.path("out")
    exe = f.make_exe("setup.exe", "SfxPlanted", w.windows_path(out),
                     options="checksize,nosuccessmsg")
    planted = f.path("comctl32.dll")
    marker = f.path("planted-dll-loaded.txt")
    shutil.copy(f.probe, planted)
    # The probe works: loaded on purpose, it leaves its marker.
    subprocess.run([*f.wine, "rundll32", w.windows_path(planted) + ",InitCommonControlsEx"],
                   env=w.environment("comctl32=n,b"), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=60)
    if not os.path.isfile(marker):
        w.fail("the probe DLL leaves no marker when loaded: the check below would prove nothing")
    os.remove(marker)
    # Native DLLs first, as a planted DLL would be loaded on Windows.
    run = f.start(exe, overrides="comctl32=n,b")
    try:
        w.answer("SfxPlanted", ACCEPT)
        f.expect_status(run, EXTRACTED)
    finally:  # a loaded plant may well keep the stub from starting at all
        if os.path.isfile(marker):
            w.fail("the comctl32.dll planted beside the .exe was loaded")
    f.expect_payload_in(out)


def flow_foreign_zip(f):
    """An archive written by another ZIP writer (Python's zipfile) behind the
    stub and a hand-made header: automatic run, always overwrite."""
    out = f.path("out")
    folder = w.windows_path(out).encode("cp1252")
    strings = [b"SfxForeign", folder, b"", b""]
    size = (12 + sum(len(s) for s in strings) + 3) // 4 * 4
    header = b"MPV" + bytes([0x40 | 0x08 | 0x80, 0, 1]) + struct.pack("<H", size)
    for s in strings:
        header += bytes([len(s)]) + s
    header += b"\0" * (size - len(header))
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as z:
        for relative in ("a.txt", "sub/b.bin", "run.bat"):
            z.write(os.path.join(f.payload, relative), relative)
    zip_bytes = bytearray(buffer.getvalue())
    shift = len(read(f.stub)) + len(header)
    end = zip_bytes.rfind(b"PK\x05\x06")
    count, _, cd_offset = struct.unpack_from("<HII", zip_bytes, end + 10)
    pos = cd_offset
    for _ in range(count):
        name_len, extra_len, comment_len = struct.unpack_from("<HHH", zip_bytes, pos + 28)
        local = struct.unpack_from("<I", zip_bytes, pos + 42)[0]
        struct.pack_into("<I", zip_bytes, pos + 42, local + shift)
        pos += 46 + name_len + extra_len + comment_len
    struct.pack_into("<I", zip_bytes, end + 16, cd_offset + shift)
    exe = f.path("!foreign.exe")
    with open(exe, "wb") as target:
        target.write(read(f.stub) + header + bytes(zip_bytes))
    f.expect_status(f.start(exe), EXTRACTED)
    f.expect_payload_in(out)


def run_flow(name):
    """Runs one flow; a failed flow runs once more from the start, since a key
    sent by xdotool to a Wine window that is still mapping can be lost on a
    loaded machine. A flow that fails twice fails the test."""
    flow = globals()["flow_" + name.replace("-", "_")]
    for attempt in (1, 2):
        try:
            flow(Flow(name))
            w.note(f"PASS: {name}")
            return
        except SystemExit as stop:
            if stop.code in (0, w.SKIP) or attempt == 2:
                raise
            w.stop_started()
            w.note(f"RETRY: {name} failed once; running it again from the start")


if __name__ == "__main__":
    run_flow(sys.argv[1])

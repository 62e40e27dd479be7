#!/usr/bin/python3
"""Starts the program's windows one after the other and captures each as a PNG.

Run by scripts/screenshots.sh inside a virtual screen and a private D-Bus
session, with HOME and the XDG folders already pointed at a throw-away folder:

    screenshot_windows.py PROGRAM ARCHIVE FOLDER OUTPUT_FOLDER

Controls are found by their accessible name and role (the accessibility bus
that Qt publishes on), so a moved button or a renamed window does not break a
capture; only the captions matter. Each capture that cannot be made is named
with its reason, and the others go on. The exit status is the number of
failed captures.
"""

import hashlib
import os
import re
import subprocess
import sys
import time

ACCESSIBLE = "org.a11y.atspi.Accessible"
COMPONENT = "org.a11y.atspi.Component"
PROPERTIES = "org.freedesktop.DBus.Properties"
# Subtrees that hold many children and never a control we click.
SKIPPED_ROLES = {"table", "list", "tree table"}


def caption(text):
    """A caption as a user reads it: no mnemonic "&", blanks collapsed."""
    return " ".join(str(text).replace("&", "").split())


def walk_visible(describe, node):
    """(role, caption, extents) of `node` and of every node below it that can
    be on screen. describe(node) gives (role, label, extents or None,
    children). Qt gives the controls of a hidden page no size, so nothing
    under a node without width is visited; an application has no size of its
    own and is always entered."""
    role, label, extents, children = describe(node)
    yield role, caption(label), extents
    hidden = role != "application" and extents is not None and extents[2] <= 0
    if role in SKIPPED_ROLES or hidden:
        return
    for child in children:
        yield from walk_visible(describe, child)


def centre_of_first(controls, roles, names):
    """Centre (x, y) of the first control that has one of the roles and one of
    the captions and a size on screen; None when there is none."""
    wanted = {caption(n) for n in names}
    for role, label, extents in controls:
        if role in roles and label in wanted and extents and extents[2] > 0 and extents[3] > 0:
            x, y, w, h = extents
            return x + w // 2, y + h // 2
    return None


class Accessibility:
    """The accessibility bus that Qt publishes its controls on."""

    def __init__(self):
        import dbus  # only the capture session needs D-Bus

        self.dbus = dbus
        launcher = dbus.SessionBus().get_object("org.a11y.Bus", "/org/a11y/bus")
        address = launcher.GetAddress(dbus_interface="org.a11y.Bus")
        self.bus = dbus.bus.BusConnection(address)

    def _describe(self, node):
        name, path = node
        obj = self.bus.get_object(name, path, introspect=False)
        role = str(obj.GetRoleName(dbus_interface=ACCESSIBLE))
        label = obj.Get(ACCESSIBLE, "Name", dbus_interface=PROPERTIES)
        children = obj.GetChildren(dbus_interface=ACCESSIBLE)
        try:
            screen = self.dbus.UInt32(0)
            extents = tuple(int(v) for v in obj.GetExtents(screen, dbus_interface=COMPONENT))
        except self.dbus.DBusException:
            extents = None
        return role, label, extents, [(str(n), str(p)) for n, p in children]

    def controls(self):
        return walk_visible(self._describe,
                            ("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root"))

    def dialog_texts(self):
        """Captions of the labels of the message boxes and dialogs on screen."""
        root = ("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
        texts = []
        try:
            for app in self._describe(root)[3]:
                for window in self._describe(app)[3]:
                    if self._describe(window)[0] in ("alert", "alert message", "dialog"):
                        texts += [label for role, label, _ in
                                  walk_visible(self._describe, window) if role == "label" and label]
        except self.dbus.DBusException:
            pass
        return texts

    def find(self, roles, names, timeout=10.0):
        """Centre of the first visible control with one of the roles and one
        of the captions, waiting for it to appear; None when it never does."""
        deadline = time.monotonic() + timeout
        while True:
            try:
                found = centre_of_first(self.controls(), roles, names)
                if found:
                    return found
            except self.dbus.DBusException:
                pass  # the tree changed while it was read: read it again
            if time.monotonic() > deadline:
                return None
            time.sleep(0.3)


class CaptureFailed(Exception):
    pass


def xdotool(*args):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True)
    return result.stdout.split()


def window_title(window):
    result = subprocess.run(["xdotool", "getwindowname", str(window)], capture_output=True,
                            text=True)
    return result.stdout.strip()


def window_geometry(window):
    """x, y, width, height of the window on the screen."""
    result = subprocess.run(["xdotool", "getwindowgeometry", "--shell", str(window)],
                            capture_output=True, text=True)
    values = dict(line.split("=", 1) for line in result.stdout.split() if "=" in line)
    return tuple(int(values.get(key, 0)) for key in ("X", "Y", "WIDTH", "HEIGHT"))


def window_size(window):
    return window_geometry(window)[2:]


def click(position, button=1):
    x, y = position
    xdotool("mousemove", "--sync", x, y)
    xdotool("click", button)


def press(window, keys):
    xdotool("windowfocus", "--sync", window)
    xdotool("key", "--clearmodifiers", keys)


def grab(window):
    """The window's pixels as PPM bytes (empty when the window is gone)."""
    result = subprocess.run(["import", "-window", str(window), "ppm:-"], capture_output=True)
    return result.stdout if result.returncode == 0 else b""


def painted(pixels):
    """False for a window not drawn yet (one colour all over) or gone."""
    return len(set(pixels[64::7])) > 1


class Clock:
    """Time as the waits below see it; tests give them a clock of their own."""

    now = staticmethod(time.monotonic)
    sleep = staticmethod(time.sleep)


def wait_for_picture(grab_picture, before=None, timeout=15.0, steady=4.0, clock=Clock):
    """Grabs pictures until the same painted one comes three times in a row
    (and, when `before` is given, one other than `before`: the click has
    shown). A picture that keeps moving (an animated image) is taken `steady`
    seconds after the first painted one. Returns (picture, settled)."""
    deadline = clock.now() + timeout
    pixels, last, same = b"", None, 0
    while clock.now() < deadline:
        pixels = grab_picture()
        ready = painted(pixels) and (before is None or pixels != before)
        same = same + 1 if ready and pixels == last else 0
        last = pixels
        if same >= 2:
            return pixels, True
        if ready:
            deadline = min(deadline, clock.now() + steady)
        clock.sleep(0.25)
    return pixels, False


def wait_until_quiet(grab_picture, quiet=2.0, timeout=90.0, clock=Clock):
    """True once the picture has not changed for `quiet` seconds; False when
    it is still changing after `timeout` seconds."""
    deadline = clock.now() + timeout
    last, since = None, clock.now()
    while clock.now() < deadline:
        digest = hashlib.sha1(grab_picture()).digest()
        if digest != last:
            last, since = digest, clock.now()
        elif clock.now() - since >= quiet:
            return True
        clock.sleep(0.3)
    return False


def capture(window, path, before=None):
    """Writes the window's settled picture as a PNG without time stamps, so
    that a re-run gives equal files when the window did not change."""
    pixels, settled = wait_for_picture(lambda: grab(window), before)
    if not pixels:
        raise CaptureFailed("the window disappeared before it could be captured")
    if not settled:
        print(f"  note: {os.path.basename(path)} kept changing (or never changed); "
              "its last picture is kept")
    subprocess.run(["convert", "ppm:-", "-strip", "png:" + path], input=pixels, check=True)
    return pixels


class Program:
    """One run of the program: its windows, found by its process id."""

    def __init__(self, executable, *arguments, log):
        self.process = subprocess.Popen([executable, *arguments], stdout=log, stderr=log)

    def windows(self, title=None):
        found = xdotool("search", "--onlyvisible", "--pid", self.process.pid)
        if title:
            found = [w for w in found if re.search(title, window_title(w))]
        return found

    def window(self, title=None, timeout=20.0, besides=()):
        """The newest visible window of the program whose title matches `title`
        (a regular expression) and that is not one of `besides`."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise CaptureFailed(f"the program ended (status {self.process.returncode})")
            found = [w for w in self.windows(title) if w not in besides]
            if found:
                return found[-1]
            time.sleep(0.2)
        raise CaptureFailed(f"no window titled /{title or '.*'}/ appeared")

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class Session:
    def __init__(self, program, archive, folder, out):
        self.program, self.archive, self.folder, self.out = program, archive, folder, out
        self.a11y = Accessibility()
        self.failures = []
        self.log = open(os.path.join(os.environ["HOME"], "program-output.txt"), "ab")

    def start(self, *arguments):
        return Program(self.program, *arguments, log=self.log)

    def save(self, window, name, before=None):
        path = os.path.join(self.out, name + ".png")
        pixels = capture(window, path, before)
        print(f"  {name}.png  ({window_title(window)})")
        return pixels

    def attempt(self, name, step):
        """Runs one capture step; a failure is said and the next step runs."""
        try:
            step()
        except CaptureFailed as failure:
            self.failures.append(name)
            print(f"  FAILED {name}: {failure}")
            if os.path.exists(os.path.join(self.out, name + ".png")):
                print(f"  note: {name}.png is left from an earlier run")

    # The captures, in the order they run.

    def zip_question(self):
        # Another class holds ".zip": registering asks whether to keep it. The
        # program is ended at the question, so nothing gets registered.
        store = os.path.join(os.environ["XDG_CONFIG_HOME"], "BRX_EXPLO", "classroot.txt")
        os.makedirs(os.path.dirname(store), exist_ok=True)
        with open(store, "w", encoding="utf-8") as f:
            f.write('[.zip]\n@="autre_archiveur.zip"\n')
        run = self.start()
        try:
            self.save(run.window(), "zip-question")
        finally:
            run.stop()
            os.remove(store)

    def about_and_help(self):
        run = self.start()
        try:
            about = run.window("propos")
            self.save(about, "about")
            if "help" in self.failures:
                self.failures.remove("help")
                self.attempt("help", lambda: self.help_from(run, ["AIDE"], besides=[about]))
        finally:
            run.stop()

    def help_from(self, run, names, besides):
        button = self.a11y.find({"push button", "label"}, names)
        if not button:
            raise CaptureFailed(f"no control named {names} to open the help")
        click(button)
        self.save(run.window("Aide", besides=besides), "help")

    def verbs_removed(self):
        run = self.start("#DEL#!")
        try:
            self.save(run.window(), "verbs-removed")
        finally:
            run.stop()

    def manager(self):
        # The add, delete and headers pages are reached by their tabs; the
        # extract and ZIP/EXE pages are opened the way the archive verbs open
        # them, by the start argument, which also shows the page picture.
        run = self.start(self.archive)
        try:
            window = run.window()
            before = grab(window)
            for name, tab in [("manager-add", "Ajouter fichier(s)"),
                              ("manager-delete", "Supprimer fichier(s)"),
                              ("manager-headers", "Entêtes")]:
                self.attempt(name, lambda: self.manager_page(window, name, tab, before))
                before = grab(window)
            self.attempt("help", lambda: self.help_from(run, ["Aide", "?"], besides=[window]))
        finally:
            run.stop()
        for name, prefix in [("manager-extract", "-!"), ("manager-zipexe", "-&")]:
            self.attempt(name, lambda: self.manager_started_on_page(name, prefix))

    def manager_page(self, window, name, tab, before):
        position = self.a11y.find({"page tab"}, [tab])
        if not position:
            raise CaptureFailed(f'no page tab "{tab}"')
        click(position)
        self.save(window, name, before)

    def manager_started_on_page(self, name, prefix):
        run = self.start(prefix, self.archive)
        try:
            self.save(run.window(), name)
        finally:
            run.stop()

    def backup(self):
        run = self.start("-#" + self.folder)
        try:
            try:
                window = run.window()
            except CaptureFailed as failure:
                raise CaptureFailed(f"{failure}; no backup-narrow, backup-wide nor password")
            self.attempt("backup-run", lambda: self.backup_run(run, window))
            self.attempt("backup-narrow", lambda: self.backup_narrow(window))
            self.attempt("backup-wide", lambda: self.backup_wide(window))
            self.attempt("password", lambda: self.password(run, window))
        finally:
            run.stop()

    def backup_run(self, run, window):
        zip_button = self.a11y.find({"push button"}, ["Zip"])
        if not zip_button:
            raise CaptureFailed('no "Zip" button: the window is shown before any run')
        click(zip_button)
        # A question or a message of the run is answered with its default
        # button, and said, so that the run can end.
        deadline = time.monotonic() + 120
        while time.monotonic() < deadline:
            others = [w for w in run.windows() if w != window]
            if others:
                said = " / ".join(self.a11y.dialog_texts())
                print(f'  note: the run showed "{said}"; answered with Enter')
                press(others[-1], "Return")
                time.sleep(0.5)
            elif window_title(window).endswith("Terminée."):
                # The result line blinks, so the window never stays still:
                # the caption says when the run is over.
                return
            else:
                time.sleep(0.5)
        raise CaptureFailed("the run did not end within two minutes")

    def backup_narrow(self, window):
        if window_size(window)[0] > 500:
            self.toggle_details(window)
        self.save(window, "backup-narrow")

    def backup_wide(self, window):
        if window_size(window)[0] <= 500:
            self.toggle_details(window)
        if window_size(window)[0] <= 500:
            raise CaptureFailed("neither F5 nor the details button widened the window")
        self.save(window, "backup-wide")

    def toggle_details(self, window):
        before = window_size(window)
        press(window, "F5")
        if self.wait_resize(window, before):
            return
        details = self.a11y.find({"push button", "label"}, ["Details", "Détails"], timeout=2)
        if details:
            click(details)
            self.wait_resize(window, before)

    @staticmethod
    def wait_resize(window, before, timeout=3.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if window_size(window) != before:
                return True
            time.sleep(0.1)
        return False

    def password(self, run, window):
        title = "[Mm]ot de passe"
        press(window, "ctrl+p")
        try:
            dialog = run.window(title, timeout=3, besides=[window])
        except CaptureFailed:
            # The same entry from the window's context menu.
            x, y, w, h = window_geometry(window)
            click((x + w // 2, y + h // 2), button=3)
            entry = self.a11y.find({"menu item"}, ["Stocker/Changer le Mot de Passe"], timeout=3)
            if not entry:
                raise CaptureFailed("neither Ctrl+P nor the context menu opened the dialog")
            click(entry)
            dialog = run.window(title, timeout=5, besides=[window])
        self.save(dialog, "password")


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    program, archive, folder, out = sys.argv[1:]
    session = Session(program, archive, folder, out)
    steps = [
        ("zip-question", session.zip_question),
        ("manager", session.manager),
        ("about", session.about_and_help),
        ("verbs-removed", session.verbs_removed),
        ("backup", session.backup),
    ]
    for name, step in steps:
        print(name)
        session.attempt(name, step)
    if session.failures:
        print("Captures that failed: " + ", ".join(session.failures))
    sys.exit(len(session.failures))


if __name__ == "__main__":
    main()

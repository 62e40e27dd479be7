#!/usr/bin/python3
"""Tests of the screenshot driver's control search and picture waits:
    python3 scripts/screenshot_windows_test.py
They need neither a display nor D-Bus."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import screenshot_windows as shots  # noqa: E402

BLANK = b"P6 4 4 255\n" + b"\x00" * 200
PAGE_A = b"P6 4 4 255\n" + bytes(range(200))
PAGE_B = b"P6 4 4 255\n" + bytes(reversed(range(200)))


class FakeClock:
    """A clock that moves only when the code under test sleeps."""

    def __init__(self):
        self.time = 0.0

    def now(self):
        return self.time

    def sleep(self, seconds):
        self.time += seconds


def grabber(*pictures):
    """Gives the pictures in turn, then the last one for ever."""
    queue = list(pictures)

    def grab():
        return queue.pop(0) if len(queue) > 1 else queue[0]

    return grab


class ControlSearchTest(unittest.TestCase):
    # A window shaped like the archive manager: the application node has no
    # size, one page is shown, another is hidden (no size) and holds a button
    # of the same name as one on the shown page.
    TREE = {
        "app": ("application", "BRX_EXPLO", (0, 0, 0, 0), ["frame"]),
        "frame": ("frame", "BRX_EXPLO", (0, 0, 567, 437), ["hidden", "shown", "tabs", "grid"]),
        "hidden": ("filler", "", (0, 0, 0, 0), ["hidden-button"]),
        "hidden-button": ("push button", "Extraire", (10, 10, 90, 90), []),
        "shown": ("filler", "", (2, 211, 439, 202), ["shown-button"]),
        "shown-button": ("push button", "&Ajouter", (274, 260, 90, 90), []),
        "tabs": ("page tab list", "", (0, 192, 371, 19), ["tab"]),
        "tab": ("page tab", " ZIP <--->  EXE", (245, 192, 80, 19), []),
        "grid": ("table", "", (0, 25, 567, 167), ["cell"]),
        "cell": ("cell", "Extraire", (1, 41, 46, 14), []),
    }

    def controls(self):
        return shots.walk_visible(lambda node: self.TREE[node], "app")

    def test_finds_a_control_under_the_sizeless_application_by_its_caption(self):
        found = shots.centre_of_first(self.controls(), {"push button"}, ["Ajouter"])
        self.assertEqual(found, (274 + 45, 260 + 45))

    def test_captions_match_without_mnemonic_and_with_blanks_collapsed(self):
        found = shots.centre_of_first(self.controls(), {"page tab"}, [" ZIP <---> EXE"])
        self.assertEqual(found, (285, 201))

    def test_controls_of_a_hidden_page_and_grid_cells_are_not_found(self):
        self.assertIsNone(
            shots.centre_of_first(self.controls(), {"push button", "cell"}, ["Extraire"]))
        visited = [label for _, label, _ in self.controls()]
        self.assertNotIn("Extraire", visited)

    def test_role_must_match_too(self):
        self.assertIsNone(shots.centre_of_first(self.controls(), {"label"}, ["Ajouter"]))


class PictureWaitTest(unittest.TestCase):
    def test_an_unpainted_window_is_not_taken(self):
        picture, settled = shots.wait_for_picture(
            grabber(BLANK, BLANK, BLANK, BLANK, PAGE_A), clock=FakeClock())
        self.assertEqual(picture, PAGE_A)
        self.assertTrue(settled)

    def test_the_picture_from_before_a_click_is_not_taken(self):
        picture, settled = shots.wait_for_picture(
            grabber(PAGE_A, PAGE_A, PAGE_A, PAGE_A, PAGE_B), before=PAGE_A, clock=FakeClock())
        self.assertEqual(picture, PAGE_B)
        self.assertTrue(settled)

    def test_a_moving_picture_is_taken_after_the_steady_delay(self):
        moving = [PAGE_A, PAGE_B] * 100
        clock = FakeClock()
        picture, settled = shots.wait_for_picture(grabber(*moving), steady=4.0, clock=clock)
        self.assertFalse(settled)
        self.assertIn(picture, (PAGE_A, PAGE_B))
        self.assertLess(clock.time, 5.0)

    def test_a_window_that_never_changes_after_a_click_ends_at_the_timeout(self):
        clock = FakeClock()
        picture, settled = shots.wait_for_picture(
            grabber(PAGE_A), before=PAGE_A, timeout=15.0, clock=clock)
        self.assertFalse(settled)
        self.assertGreaterEqual(clock.time, 15.0)

    def test_a_gone_window_gives_an_empty_picture(self):
        picture, settled = shots.wait_for_picture(grabber(b""), timeout=2.0, clock=FakeClock())
        self.assertEqual((picture, settled), (b"", False))

    def test_quiet_needs_the_whole_quiet_time_without_change(self):
        changes = [PAGE_A, PAGE_B] * 10 + [PAGE_A]
        clock = FakeClock()
        self.assertTrue(shots.wait_until_quiet(grabber(*changes), quiet=2.0, clock=clock))
        self.assertGreaterEqual(clock.time, 20 * 0.3 + 2.0)

    def test_quiet_gives_up_on_a_picture_that_keeps_changing(self):
        changes = [PAGE_A, PAGE_B] * 1000
        self.assertFalse(
            shots.wait_until_quiet(grabber(*changes), quiet=2.0, timeout=10.0, clock=FakeClock()))


if __name__ == "__main__":
    unittest.main()

"""Checks Orbalin's place on the desktop with the real program, a real bus and a display.

Usage: desktop_check.py ORBALIN PROBE [unittest arguments]

ORBALIN is the program; PROBE the archive_probe tool, which writes scene files. The suites
that need a session bus run under dbus-run-session, with the bus's service folder holding a
service file that starts ORBALIN.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

ORBALIN = None
PROBE = None
BUS_NAME = "io.github.orbalin.Orbalin"
OBJECT_PATH = "/io/github/orbalin/Orbalin"
INTERFACE = "org.freedesktop.Application"


def wait_for(predicate, timeout=30.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    return predicate()


def windows(pid):
    """Titles of the process's mapped top-level windows, top-most first."""
    found = subprocess.run(["xdotool", "search", "--maxdepth", "1", "--onlyvisible", "--pid",
                            str(pid)], capture_output=True, text=True).stdout.split()
    tree = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True, text=True,
                          check=True).stdout
    order = [int(w, 16) for w in re.findall(r"^\s+(0x[0-9a-f]+) ", tree, re.M)]
    titles = []
    for window in sorted((int(w) for w in found), key=order.index):
        title = subprocess.run(["xdotool", "getwindowname", str(window)], capture_output=True,
                               text=True).stdout.strip()
        titles.append(title.removesuffix(" — Orbalin"))
    return titles


def gdbus(*args, dest=BUS_NAME, path=OBJECT_PATH):
    return subprocess.run(["gdbus", "call", "--session", "--dest", dest, "--object-path", path,
                           "--method", *args], capture_output=True, text=True, timeout=30)


def bus_owner_pid():
    reply = gdbus("org.freedesktop.DBus.GetConnectionUnixProcessID", BUS_NAME,
                  dest="org.freedesktop.DBus", path="/org/freedesktop/DBus")
    match = re.search(r"\(uint32 (\d+),\)", reply.stdout)
    return int(match.group(1)) if match else None


class Base(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.processes = []
        self.env = dict(os.environ)
        for name, seed in (("a", 3), ("b", 4)):
            subprocess.run([PROBE, "random", str(seed), "12", self.path(name + ".orbalin")],
                           check=True, capture_output=True)

    def tearDown(self):
        for process in self.processes:
            process.terminate()
            process.wait(30)
        # One the bus started is no child of ours; it must not outlive the case (nor the bus).
        if pid := bus_owner_pid():
            os.kill(pid, signal.SIGTERM)
        self.assertTrue(wait_for(lambda: bus_owner_pid() is None, 10), "the instance stayed")
        shutil.rmtree(self.dir)

    def path(self, name):
        return os.path.join(self.dir, name)

    def start(self, *files):
        """A launch that keeps running: the instance, or one on its own."""
        process = subprocess.Popen([ORBALIN, *files], cwd=self.dir, env=self.env,
                                   stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def launch(self, *files):
        """A launch expected to end by itself; returns its exit status and how long it ran."""
        began = time.monotonic()
        done = subprocess.run([ORBALIN, *files], cwd=self.dir, env=self.env, timeout=30,
                              stderr=subprocess.DEVNULL)
        return done.returncode, time.monotonic() - began

    def assertWindows(self, pid, expected):
        """The process shows these windows, the first of them on top."""
        shown = wait_for(lambda: windows(pid) if sorted(windows(pid)) == sorted(expected) else
                         None)
        self.assertEqual(sorted(shown or windows(pid)), sorted(expected))
        self.assertEqual(windows(pid)[0], expected[0])


class SingleInstance(Base):
    def test_later_launches_go_to_the_first_instance(self):
        first = self.start("a.orbalin")
        self.assertWindows(first.pid, ["a.orbalin"])
        self.assertEqual(wait_for(bus_owner_pid), first.pid)
        # Each later launch, from the same folder with relative names: windows afterwards, the
        # raised or new one first.
        cases = [
            (["b.orbalin"], ["b.orbalin", "a.orbalin"]),
            (["a.orbalin"], ["a.orbalin", "b.orbalin"]),  # raised, not opened twice
            ([], ["Untitled", "a.orbalin", "b.orbalin"]),  # a new document
        ]
        for files, expected in cases:
            with self.subTest(files=files):
                status, seconds = self.launch(*files)
                print(f"launch {files} handed over in {seconds:.3f} s", file=sys.stderr)
                self.assertEqual(status, 0)
                self.assertWindows(first.pid, expected)
        self.assertIsNone(first.poll())

    def test_the_bus_starts_the_instance_for_the_call_that_wakes_it(self):
        uri = "file://" + self.path("a.orbalin")
        self.assertEqual(gdbus(INTERFACE + ".Open", f"['{uri}']", "{}").returncode, 0)
        pid = wait_for(bus_owner_pid)
        self.assertIsNotNone(pid)
        # Only the file asked for: being started by the bus makes no untitled document.
        self.assertWindows(pid, ["a.orbalin"])
        time.sleep(1)
        self.assertEqual(windows(pid), ["a.orbalin"])

        self.assertEqual(gdbus(INTERFACE + ".ActivateAction", "new-document", "[]", "{}")
                         .returncode, 0)
        self.assertWindows(pid, ["Untitled", "a.orbalin"])
        unknown = gdbus(INTERFACE + ".ActivateAction", "format-disk", "[]", "{}")
        self.assertNotEqual(unknown.returncode, 0)
        self.assertIn("InvalidArgs", unknown.stderr)


class NoSessionBus(Base):
    def test_each_launch_runs_on_its_own(self):
        self.env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + self.path("no-bus-here")
        first, second = self.start("a.orbalin"), self.start("b.orbalin")
        self.assertWindows(first.pid, ["a.orbalin"])
        self.assertWindows(second.pid, ["b.orbalin"])
        self.assertIsNone(first.poll())
        self.assertIsNone(second.poll())


if __name__ == "__main__":
    ORBALIN, PROBE = sys.argv[1], sys.argv[2]
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:])

"""Checks Orbalin's place on the desktop with the real program, a real bus and a display.

Usage: desktop_check.py ORBALIN PROBE THUMBNAILER BURST [unittest arguments]

ORBALIN is the program; PROBE the archive_probe tool, which writes scene files; THUMBNAILER the
thumbnailer entry as installed; BURST a client that floods the instance with calls. The suites that need a session bus run under dbus-run-session,
with the bus's service folder holding a service file that starts ORBALIN.
"""

import os
import re
import shlex
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse
import zlib

ORBALIN = None
PROBE = None
THUMBNAILER = None
BURST = None
BUS_NAME = "io.github.orbalin.Orbalin"
OBJECT_PATH = "/io/github/orbalin/Orbalin"
INTERFACE = "org.freedesktop.Application"


def wait_for(predicate, timeout=60.0):
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


def full_screen(pid, title, env):
    """Whether the window manager shows the process's window of that title full screen."""
    found = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid),
                            "--name",
                            "^" + re.escape(title)], capture_output=True, text=True, env=env)
    return any("_NET_WM_STATE_FULLSCREEN" in subprocess.run(
        ["xprop", "-id", window, "_NET_WM_STATE"], capture_output=True, text=True,
        env=env).stdout for window in found.stdout.split())


def gdbus(*args, dest=BUS_NAME, path=OBJECT_PATH, env=None, user=None):
    """A call on the session bus (that of `env`), made as `user` when given."""
    command = ["gdbus", "call", "--session", "--dest", dest, "--object-path", path, "--method",
               *args]
    if user is not None:
        command = ["setpriv", f"--reuid={user}", f"--regid={user}", "--clear-groups", *command]
    return subprocess.run(command, capture_output=True, text=True, timeout=60, env=env)


def bus_owner_pid():
    reply = gdbus("org.freedesktop.DBus.GetConnectionUnixProcessID", BUS_NAME,
                  dest="org.freedesktop.DBus", path="/org/freedesktop/DBus")
    match = re.search(r"\(uint32 (\d+),\)", reply.stdout)
    return int(match.group(1)) if match else None


def read_png(path):
    """(width, height, rows of (r, g, b) pixels) of an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    chunks, offset = {}, 8
    while offset < len(data):
        length, kind = struct.unpack(">I4s", data[offset:offset + 8])
        chunks[kind] = chunks.get(kind, b"") + data[offset + 8:offset + 8 + length]
        offset += length + 12
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"])
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError("unexpected PNG layout")
    channels = 3 if colour == 2 else 4
    raw, stride, rows, previous = zlib.decompress(chunks[b"IDAT"]), width * channels, [], None
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        up = previous or bytearray(stride)
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            corner = up[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up[i]) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up[i]) // 2) & 255
            elif kind == 4:
                p = left + up[i] - corner
                pa, pb, pc = abs(p - left), abs(p - up[i]), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up[i] if pb <= pc
                                      else corner)) & 255
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return width, height, rows


class Base(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.processes = []
        self.env = dict(os.environ)
        # The second name must survive the trip as a URI.
        for name, seed in (("a", 3), ("b c ü%", 4), ("c", 5)):
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
        # One listing answers both questions: a window being mapped, raised or renamed between
        # two listings must not be read as half of each.
        listings = []

        def as_expected():
            listings.append(windows(pid))
            shown = listings[-1]
            return sorted(shown) == sorted(expected) and shown[:1] == expected[:1]

        wait_for(as_expected)
        self.assertEqual(sorted(listings[-1]), sorted(expected))
        self.assertEqual(listings[-1][:1], expected[:1])


class SingleInstance(Base):
    def test_later_launches_go_to_the_first_instance(self):
        first = self.start("a.orbalin")
        self.assertWindows(first.pid, ["a.orbalin"])
        self.assertEqual(wait_for(bus_owner_pid), first.pid)
        # Each later launch, from the same folder with relative names: windows afterwards, the
        # raised or new one first.
        b = "b c ü%.orbalin"
        cases = [
            ([b], [b, "a.orbalin"]),
            (["a.orbalin"], ["a.orbalin", b]),  # raised, not opened twice
            ([], ["Untitled", "a.orbalin", b]),  # a new document
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
        # Only the file asked for: being started by the bus makes no untitled document (one
        # made at start-up would be there before the one asked for next, as "Untitled 2").
        self.assertWindows(pid, ["a.orbalin"])

        self.assertEqual(gdbus(INTERFACE + ".ActivateAction", "new-document", "[]", "{}")
                         .returncode, 0)
        self.assertWindows(pid, ["Untitled", "a.orbalin"])
        unknown = gdbus(INTERFACE + ".ActivateAction", "format-disk", "[]", "{}")
        self.assertNotEqual(unknown.returncode, 0)
        self.assertIn("InvalidArgs", unknown.stderr)
        # Only local files, named by file URIs or absolute paths, are opened: nothing else is.
        for refused in ("http://example.com/x.orbalin", "file://elsewhere/x.orbalin",
                        "relative.orbalin"):
            call = gdbus(INTERFACE + ".Open", f"['{refused}']", "{}")
            self.assertIn("InvalidArgs", call.stderr, refused)
        self.assertWindows(pid, ["Untitled", "a.orbalin"])

    def test_a_burst_of_calls_is_bounded_and_the_instance_lives_on(self):
        first = self.start("a.orbalin")
        self.assertWindows(first.pid, ["a.orbalin"])
        self.assertEqual(wait_for(bus_owner_pid), first.pid)
        # Thousands of opens of missing files and of new documents, sent without waiting: the
        # message about the first missing file holds the queue, the rest wait or are refused.
        done = subprocess.run([BURST, "4000", "file://" + self.path("missing-")],
                              capture_output=True, text=True, timeout=120)
        self.assertEqual(done.returncode, 0, done.stderr)
        answered, refused, failed = map(int, re.findall(r"\d+", done.stdout))
        print(f"burst: {done.stdout.strip()}", file=sys.stderr)
        self.assertEqual(failed, 0)
        self.assertGreater(refused, 0)
        self.assertEqual(answered + refused, 8000)
        self.assertIsNone(first.poll())
        # Still answering, with no window opened past the message.
        self.assertEqual(gdbus("org.freedesktop.DBus.Peer.Ping").returncode, 0)
        self.assertLessEqual(len(windows(first.pid)), 2)


OPEN_BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


class OnlyItsOwnUser(Base):
    def test_a_caller_of_another_user_is_refused(self):
        """A session bus lets no other user in at all; a bus reached through an address someone
        else set may. On such a bus (one letting every user in), the instance itself refuses
        the requests of another user's program."""
        if os.geteuid() != 0:
            self.skipTest("calling as another user needs root")
        with open(self.path("open-bus.conf"), "w", encoding="utf-8") as f:
            f.write(OPEN_BUS_CONFIG)
        bus = subprocess.Popen(["dbus-daemon", "--nofork", "--print-address", "--config-file",
                                self.path("open-bus.conf")], stdout=subprocess.PIPE, text=True)
        self.addCleanup(bus.wait, 30)
        self.addCleanup(bus.terminate)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        first = self.start("a.orbalin")
        self.assertWindows(first.pid, ["a.orbalin"])
        self.assertTrue(wait_for(lambda: "true" in gdbus(
            "org.freedesktop.DBus.NameHasOwner", BUS_NAME, dest="org.freedesktop.DBus",
            path="/org/freedesktop/DBus", env=self.env).stdout), "the name was not taken")
        nobody = 65534
        # The bus lets the other user's call through to the instance...
        ping = gdbus("org.freedesktop.DBus.Peer.Ping", env=self.env, user=nobody)
        self.assertEqual(ping.returncode, 0, ping.stderr)
        # ...which refuses every request it makes.
        uri = "file://" + urllib.parse.quote(self.path("c.orbalin"))
        for method, args in ((".Activate", ["{}"]), (".Open", [f"['{uri}']", "{}"]),
                             (".ActivateAction", ["new-document", "[]", "{}"])):
            with self.subTest(method=method):
                refused = gdbus(INTERFACE + method, *args, env=self.env, user=nobody)
                self.assertNotEqual(refused.returncode, 0)
                self.assertIn("org.freedesktop.DBus.Error.AccessDenied", refused.stderr)
        # The same request from the user's own program is answered: its window is the only one
        # opened since.
        own = gdbus(INTERFACE + ".Open", f"['{uri}']", "{}", env=self.env)
        self.assertEqual(own.returncode, 0, own.stderr)
        self.assertWindows(first.pid, ["c.orbalin", "a.orbalin"])


class FullScreenHandOver(Base):
    def setUp(self):
        super().setUp()
        # Full screen is the window manager's to grant: a display of its own with one.
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                                 "-screen", "0", "1280x1024x24", "+extension", "GLX"],
                                pass_fds=[write_end], stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as ready:
            self.env["DISPLAY"] = ":" + ready.readline().strip()
        wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                              stderr=subprocess.DEVNULL)
        for process in (xvfb, wm):
            self.addCleanup(process.wait, 30)
            self.addCleanup(process.terminate)
        self.assertTrue(wait_for(lambda: "window id" in subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env, capture_output=True,
            text=True).stdout), "openbox did not start")

    def test_a_launch_asking_for_full_screen_gets_it_from_the_instance(self):
        first = self.start("a.orbalin")
        self.assertEqual(wait_for(bus_owner_pid), first.pid)
        status, _ = self.launch("--fullscreen", "c.orbalin")
        self.assertEqual(status, 0)
        self.assertTrue(wait_for(lambda: full_screen(first.pid, "c.orbalin", self.env)),
                        "the window opened for the launch is not full screen")
        self.assertFalse(full_screen(first.pid, "a.orbalin", self.env))


class InstalledElsewhere(Base):
    def test_the_bus_starts_the_program_where_it_was_installed(self):
        installed = os.environ["ORBALIN_INSTALLED"]
        self.assertEqual(gdbus(INTERFACE + ".Activate", "{}").returncode, 0)
        pid = wait_for(bus_owner_pid)
        self.assertIsNotNone(pid)
        self.assertEqual(os.path.realpath(f"/proc/{pid}/exe"), os.path.realpath(installed))
        self.assertWindows(pid, ["Untitled"])


class NoSessionBus(Base):
    def test_each_launch_runs_on_its_own(self):
        self.env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + self.path("no-bus-here")
        first, second = self.start("a.orbalin"), self.start("b c ü%.orbalin")
        self.assertWindows(first.pid, ["a.orbalin"])
        self.assertWindows(second.pid, ["b c ü%.orbalin"])
        self.assertIsNone(first.poll())
        self.assertIsNone(second.poll())


class Thumbnailer(Base):
    def thumbnail(self, scene, output, size):
        """Runs the entry's Exec line the way a file manager does: the program found on PATH,
        the codes filled in, and no display server in the environment."""
        entry = {}
        with open(THUMBNAILER, encoding="utf-8") as f:
            for line in f:
                key, _, value = line.strip().partition("=")
                entry[key] = value
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS")}
        env["PATH"] = os.path.dirname(ORBALIN) + os.pathsep + env.get("PATH", "")
        self.assertIsNotNone(shutil.which(entry["TryExec"], path=env["PATH"]))
        codes = {"%i": scene, "%o": output, "%s": str(size), "%u": "file://" + scene}
        command = [codes.get(word, word) for word in shlex.split(entry["Exec"])]
        return subprocess.run(command, env=env, capture_output=True, timeout=60)

    def test_a_scene_becomes_its_picture(self):
        # Two segments through the middle of the cube: red to cyan, and blue to yellow.
        scene = os.path.join(os.path.dirname(os.path.abspath(__file__)), "two-segments.orbalin")
        output = self.path("thumbnail.png")
        done = self.thumbnail(scene, output, 256)
        self.assertEqual(done.returncode, 0, done.stderr)
        width, height, rows = read_png(output)
        self.assertEqual((width, height), (256, 256))
        seen = {pixel for row in rows for pixel in row}

        def shows(name, test):
            self.assertTrue(any(test(*pixel) for pixel in seen), f"no {name} in the picture")

        shows("red", lambda r, g, b: r > 160 and g < 90 and b < 90)
        shows("cyan", lambda r, g, b: r < 90 and g > 160 and b > 160)
        shows("blue", lambda r, g, b: r < 90 and g < 90 and b > 160)
        shows("yellow", lambda r, g, b: r > 160 and g > 160 and b < 90)

    def test_a_broken_scene_fails_and_writes_nothing(self):
        with open(self.path("a.orbalin"), "rb") as f:
            whole = f.read()
        cases = {"not a property list": b"<scene/>", "cut short": whole[:len(whole) // 2]}
        for name, content in cases.items():
            with self.subTest(name):
                scene, output = self.path("broken.orbalin"), self.path("broken.png")
                with open(scene, "wb") as f:
                    f.write(content)
                done = self.thumbnail(scene, output, 256)
                self.assertNotEqual(done.returncode, 0)
                self.assertFalse(os.path.exists(output))


if __name__ == "__main__":
    ORBALIN, PROBE, THUMBNAILER, BURST = sys.argv[1:5]
    unittest.main(argv=[sys.argv[0]] + sys.argv[5:])

#!/usr/bin/python3
"""The real program as a screen reader reads it over AT-SPI, on a session bus of its own: the
scene is an animation whose description counts its segments and follows a pause, and the menu
bar and the About panel's credits (read as text) are in the session's language."""
import os
import subprocess
import sys
import time

orbalin, probe = sys.argv[1], sys.argv[2]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL", what)


def wait_until(condition, seconds=60):
    """The condition's first true answer; the tree may change under a look, which then fails."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = condition()
        except Exception:  # an object gone while it was read
            found = None
        if found:
            return found
        time.sleep(0.1)
    return None


# The accessibility bus first: the client library looks for it once, as it is loaded.
subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
check(wait_until(lambda: subprocess.run(
    ["gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path", "/org/a11y/bus",
     "--method", "org.a11y.Bus.GetAddress"], capture_output=True).returncode == 0),
    "no accessibility bus")
import pyatspi  # noqa: E402


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "orbalin":
            return app
    return None


def scene():
    app = application()
    return next((n for n in walk(app) if n.getRoleName() == "animation"), None) if app else None


def menu_bar():
    app = application()
    bar = next((n for n in walk(app) if n.getRoleName() == "menu bar"), None) if app else None
    return [bar.getChildAtIndex(i).name for i in range(bar.childCount)] if bar else None


work = os.environ.get("TMPDIR", "/tmp")
scene_file = os.path.join(work, f"forty-{os.getpid()}.orbalin")
subprocess.run([probe, "random", "3", "40", scene_file], check=True, capture_output=True)
environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   XDG_CONFIG_HOME=os.path.join(work, f"a11y-config-{os.getpid()}"))

# A scene of 40 pairs, moving and then paused through its menu, as a screen reader's user
# pauses it.
program = subprocess.Popen([orbalin, scene_file], env=dict(environment, LANG="C.UTF-8"))
try:
    shown = wait_until(lambda: scene() if scene() and "40" in scene().description else None)
    check(shown is not None, "no scene object that says 40")
    if shown:
        moving = shown.description
        print("moving:", moving)
        pause = next(n for n in walk(application()) if n.name == "Pause Animation")
        pause.queryAction().doAction(0)
        paused = wait_until(lambda: scene().description != moving and scene().description)
        print("paused:", paused)
        check(paused is not None and "paused" in paused, "the description follows no pause")
finally:
    program.terminate()
    program.wait()

# language        the menu bar's menus                          About, and its credits' heading
LANGUAGES = [
    ("C.UTF-8", ["File", "Edit", "View", "Help"], "About Orbalin", "What it does"),
    ("de_DE.UTF-8", ["Datei", "Bearbeiten", "Ansicht", "Hilfe"], "Über Orbalin", "Was es tut"),
    ("fr_FR.UTF-8", ["Fichier", "Édition", "Affichage", "Aide"], "À propos d'Orbalin",
     "Ce qu’il fait"),
]
for language, menus, about, heading in LANGUAGES:
    program = subprocess.Popen([orbalin, scene_file],
                               env=dict(environment, LANG=language, LANGUAGE="", LC_ALL=""))
    try:
        names = wait_until(lambda: menu_bar() if menu_bar() else None)
        print(language, names)
        check(names == menus, f"{language}: the menu bar reads {names}, not {menus}")
        next(n for n in walk(application()) if n.name == about).queryAction().doAction(0)
        credits = wait_until(lambda: next((n.queryText().getText(0, -1) for n in walk(application())
                                           if n.getRoleName() == "text"), None))
        check(credits is not None and heading in credits, f"{language}: credits {credits!r}")
    finally:
        program.terminate()
        program.wait()
os.remove(scene_file)
sys.exit(1 if failures else 0)

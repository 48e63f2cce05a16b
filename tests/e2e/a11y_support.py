"""What the end-to-end scripts share: checks that are counted, waiting,
starting the editor until its window is mapped, and finding accessible
objects by role and name."""
import re
import subprocess
import sys
import time

import pyatspi

failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what, flush=True)
    if not condition:
        failures.append(what)


def wait_for(predicate, timeout=60.0, step=0.2):
    """The predicate's first true value within the time, else its last value."""
    end = time.time() + timeout
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


def start(program, arguments, title):
    """Starts the program and waits until its window with this exact title is
    mapped: the registry caches what it first sees, so the accessible desktop
    is read only after that."""
    process = subprocess.Popen([program] + arguments, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # xdotool takes the name as a regular expression.
    # xdotool gives up at once when a window it looks at goes away meanwhile
    # (a splash closing, a dialog); look again until the time is up.
    end = time.time() + 90
    mapped = None
    while time.time() < end and process.poll() is None:
        try:
            mapped = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^%s$" % re.escape(title)],
                                    capture_output=True, text=True, timeout=max(1, end - time.time()))
        except subprocess.TimeoutExpired:
            break
        if mapped.returncode == 0:
            break
        time.sleep(0.5)
    ok = mapped is not None and mapped.returncode == 0
    check(ok, "window '%s' is mapped%s" % (title, "" if ok else " (%s)" % (mapped and mapped.stderr.strip())))
    return process


def stop(process):
    process.terminate()
    try:
        process.wait(15)
    except subprocess.TimeoutExpired:
        process.kill()


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Kelvana":
            return app
    return None


def find(root, role, name=None):
    def matches(node):
        try:
            return (role is None or node.getRoleName() == role) and (name is None or node.name == name)
        except Exception:
            return False
    return pyatspi.findDescendant(root, matches, breadth_first=True)


def finish():
    print("%d failure(s)" % len(failures))
    sys.exit(1 if failures else 0)

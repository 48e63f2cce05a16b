#!/usr/bin/python3
"""Drives the add-photos step of the real editor as a screen reader and a
mouse would: the explorer shows a folder of photos, photos go into the album
by double-click, by the add button and by dragging onto the storyboard, and
the storyboard lists them. Run by run_shell_a11y.sh (virtual display, D-Bus
session, accessibility bus).

    add_photos_a11y.py PROGRAM

The photos (p1, p2, p3, p10 as JPEG) are made with ImageMagick in TMPDIR."""
import os
import subprocess
import sys
import time

import pyatspi

from a11y_support import application, check, find, finish, start, stop, wait_for

PROGRAM = sys.argv[1]
FOLDER = os.path.join(os.environ["TMPDIR"], "Photos")
SHOTS = os.environ.get("KELVANA_TEST_SCREENSHOTS", "")


def items(root, list_name):
    view = find(root, "list", list_name)
    if view is None:
        return []
    return [view.getChildAtIndex(i) for i in range(view.childCount)]


def centre(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x + e.width // 2, e.y + e.height // 2


def xdo(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


def until_added(action, expected, app, tries=4):
    """Runs the action until the storyboard holds `expected` photos: a photo
    whose thumbnail is not made yet is not added, and a loaded machine may be
    slow to make it."""
    for _ in range(tries):
        action()
        if wait_for(lambda: len(items(app, "Storyboard")) >= expected, timeout=5):
            break
    return len(items(app, "Storyboard"))


def shot(name):
    if SHOTS:
        time.sleep(0.5)
        subprocess.run(["import", "-window", "root", os.path.join(SHOTS, "add-photos-%s.png" % name)])


def make_photos():
    if subprocess.run(["sh", "-c", "command -v convert"], capture_output=True).returncode != 0:
        print("SKIP: ImageMagick's convert is missing")
        sys.exit(77)
    os.makedirs(FOLDER, exist_ok=True)
    for name, colours in (("p1", "red-yellow"), ("p2", "green-blue"), ("p3", "navy-white"), ("p10", "orange-purple")):
        subprocess.run(["convert", "-size", "640x480", "gradient:" + colours, os.path.join(FOLDER, name + ".jpg")],
                       check=True)
    with open(os.path.join(FOLDER, "notes.txt"), "w") as notes:
        notes.write("not a photo\n")


def main():
    make_photos()
    os.makedirs(os.path.join(os.environ["XDG_CONFIG_HOME"], "Orlemo"), exist_ok=True)
    with open(os.path.join(os.environ["XDG_CONFIG_HOME"], "Orlemo", "Kelvana.conf"), "w") as conf:
        conf.write("[General]\nLast%%20Path=%s\n" % FOLDER)
    process = start(PROGRAM, [], "Vantri Kelvana (Untitled)")
    app = wait_for(application, timeout=30)
    check(app is not None, "the editor is on the accessibility bus")
    if app is None:
        process.kill()
        return
    names = wait_for(lambda: [i.name for i in items(app, "Photo Explorer")] or None)
    check(names == ["p1.jpg", "p2.jpg", "p3.jpg", "p10.jpg"], "the explorer lists the folder in file-manager order: %r" % names)
    shot("1-folder")
    photos = items(app, "Photo Explorer")
    if len(photos) != 4:
        process.kill()
        return

    x, y = centre(photos[0])
    count = until_added(lambda: xdo("mousemove", x, y, "click", "--repeat", 2, "--delay", 80, 1), 1, app)
    check(count == 1, "a double-click adds p1.jpg to the storyboard")

    add = find(app, "push button", "Add the selected photos to the album")
    check(add is not None and add.getState().contains(pyatspi.STATE_SENSITIVE), "the add button is enabled")

    def select_and_add():
        px, py = centre(photos[1])
        xdo("mousemove", px, py, "click", 1)
        ax, ay = centre(add)
        xdo("mousemove", ax, ay, "click", 1)
    count = until_added(select_and_add, 2, app) if add is not None else 0
    check(count == 2, "the add button adds the selected p2.jpg")
    shot("2-added")

    x, y = centre(photos[3])
    board = find(app, "list", "Storyboard")
    bx, by = centre(board)

    def drag():
        xdo("mousemove", x, y, "mousedown", 1)
        for step in range(1, 11):
            xdo("mousemove", x + (bx - x) * step // 10, y + (by - y) * step // 10)
            time.sleep(0.05)
        xdo("mouseup", 1)
    count = until_added(drag, 3, app)
    check(count == 3, "dragging p10.jpg onto the storyboard adds it")
    labels = [i.name for i in items(app, "Storyboard")]
    check(labels[:2] == ["p1.jpg", "p2.jpg"] and "p10.jpg" in labels, "the storyboard lists the album's photos: %r" % labels)
    frame = find(app, "frame", "Vantri Kelvana (Untitled)")
    check(frame is not None, "the window title stays untitled until the album is saved")
    shot("3-dragged")
    stop(process)


main()
finish()

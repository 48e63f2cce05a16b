#!/usr/bin/python3
"""Drives the add-photos step of the real editor as a screen reader and a
mouse would: the explorer shows a folder of photos, photos go into the album
by double-click, by the add button and by dragging onto the storyboard, the
storyboard lists them and reorders them by drag; the album is saved, the
editor quits, starts again on the project, and the album is opened once more
from the album library. Run by run_shell_a11y.sh (virtual display, D-Bus
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
ALBUMS = os.path.join(os.environ["TMPDIR"], "Albums")
SHOTS = os.environ.get("KELVANA_TEST_SCREENSHOTS", "")


def items(root, list_name):
    view = find(root, "list", list_name)
    if view is None:
        return []
    return [view.getChildAtIndex(i) for i in range(view.childCount)]


def centre(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x + e.width // 2, e.y + e.height // 2


def labels(app):
    return [i.name for i in items(app, "Storyboard")]


def press(node):
    action = node.queryAction()
    if action.nActions:
        action.doAction(0)


def click(node, repeat=1):
    x, y = centre(node)
    xdo("mousemove", x, y, "click", "--repeat", repeat, "--delay", 80, 1)


def drag_between(x, y, tx, ty):
    xdo("mousemove", x, y, "mousedown", 1)
    for step in range(1, 11):
        xdo("mousemove", x + (tx - x) * step // 10, y + (ty - y) * step // 10)
        time.sleep(0.05)
    xdo("mouseup", 1)


def title_is(app, title):
    frame = find(app, "frame")
    return frame is not None and frame.name == title


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
    os.makedirs(ALBUMS, exist_ok=True)
    os.makedirs(os.path.join(os.environ["XDG_CONFIG_HOME"], "Orlemo"), exist_ok=True)
    with open(os.path.join(os.environ["XDG_CONFIG_HOME"], "Orlemo", "Kelvana.conf"), "w") as conf:
        conf.write("[General]\nLast%%20Path=%s\nProject%%20Path=%s\n" % (FOLDER, ALBUMS))
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

    count = until_added(lambda: drag_between(x, y, bx, by), 3, app)
    check(count == 3, "dragging p10.jpg onto the storyboard adds it")
    labels = [i.name for i in items(app, "Storyboard")]
    check(labels[:2] == ["p1.jpg", "p2.jpg"] and "p10.jpg" in labels, "the storyboard lists the album's photos: %r" % labels)
    frame = find(app, "frame", "Vantri Kelvana (Untitled)")
    check(frame is not None, "the window title stays untitled until the album is saved")
    shot("3-dragged")
    if count != 3:
        stop(process)
        return
    reorder_and_save(app, process)


def reorder_and_save(app, process):
    board = items(app, "Storyboard")
    before = [i.name for i in board]
    sx, sy = centre(board[-1])
    tx, ty = centre(board[0])
    drag_between(sx, sy, tx, ty)
    after = wait_for(lambda: labels(app) if labels(app) != before else None, timeout=10) or labels(app)
    check(after == [before[-1]] + before[:-1], "dragging the last photo onto the first moves it to the front: %r" % after)
    shot("4-reordered")

    save = find(app, "push button", "保存")
    click(save)
    dialog = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^New$"],
                            capture_output=True, text=True, timeout=30)
    check(dialog.returncode == 0, "Save on an untitled album asks where to save it")
    if dialog.returncode != 0:
        stop(process)
        return
    # The dialog's file-name field has the focus; keys go to the focused window.
    window = dialog.stdout.split()[-1]
    subprocess.run(["xdotool", "windowfocus", "--sync", window], capture_output=True, timeout=10)
    shot("5-save-dialog")
    xdo("key", "ctrl+a")
    xdo("type", "--delay", 20, "Trip.qem")  # the dialog opens in the album folder
    xdo("key", "Return")
    project = os.path.join(ALBUMS, "Trip", "Trip.qem")
    check(bool(wait_for(lambda: title_is(app, "Vantri Kelvana (Trip)"), timeout=20)),
          "the saved album names the window 'Vantri Kelvana (Trip)'")
    check(os.path.isfile(project), "Save As Trip.qem writes Trip/Trip.qem")
    shot("6-saved")

    press(find(app, "push button", "文件"))
    exit_button = wait_for(lambda: find(app, "push button", "退出"), timeout=10)
    if exit_button is not None:
        press(exit_button)
    check(bool(wait_for(lambda: process.poll() is not None, timeout=20)), "退出 ends the saved editor without asking")
    stop(process)
    reopen(project, after)


def reopen(project, order):
    process = start(PROGRAM, [project], "Vantri Kelvana (Trip)")
    app = wait_for(application, timeout=30)
    if app is None:
        check(False, "the restarted editor is on the accessibility bus")
        process.kill()
        return
    restored = wait_for(lambda: labels(app) if len(labels(app)) == len(order) else None, timeout=30)
    check(restored == order, "the restarted editor shows the saved order: %r" % restored)
    shot("7-restarted")

    press(find(app, "push button", "文件"))
    new = wait_for(lambda: find(app, "push button", "新建"), timeout=10)
    if new is not None:
        press(new)
    check(bool(wait_for(lambda: title_is(app, "Vantri Kelvana (Untitled)"), timeout=20)), "New makes an untitled album")
    check(bool(wait_for(lambda: not labels(app), timeout=10)), "the new album's storyboard is empty")
    existing = find(app, None, "Existing Album")
    check(existing is not None, "the Existing Album button is found: %s" % (existing and existing.getRoleName()))
    if existing is not None:
        click(existing)
    library = wait_for(lambda: items(app, "Album library") or None, timeout=20) or []
    trip = next((i for i in library if i.name == "Trip"), None)
    check(trip is not None, "the album library lists Trip: %r" % [i.name for i in library])
    shot("8-library")
    if trip is not None:
        click(trip, repeat=2)
    check(bool(wait_for(lambda: title_is(app, "Vantri Kelvana (Trip)"), timeout=20)),
          "a double-click in the library opens Trip")
    reopened = wait_for(lambda: labels(app) if len(labels(app)) == len(order) else None, timeout=30)
    check(reopened == order, "the album opened from the library shows the saved order: %r" % reopened)
    shot("9-reopened")
    stop(process)


main()
finish()

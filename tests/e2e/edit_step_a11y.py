#!/usr/bin/python3
"""Drives the edit step of the real editor on a copy of the sample album as a
screen reader and a mouse would: the tab 编辑效果 opens the step, the strip's
cells are found by name, a click on the second photo shows it, Next Photo
moves on, Rotate Right turns the photo, a caption is typed into the photo's
caption box, a transition cell shows the effect pane, a double-click in the
effects list gives that transition a new effect; the album is saved with 保存,
the editor quits through 文件 -> 退出 without asking, and the project file
holds the caption, the effect and the turned photo. Run by run_shell_a11y.sh
(virtual display, D-Bus session, accessibility bus).

    edit_step_a11y.py PROGRAM SAMPLE_PROJECT.qem

The sample album's folder is copied into TMPDIR first; the copy is edited."""
import os
import shutil
import subprocess
import sys
import time
import xml.etree.ElementTree as ElementTree

import pyatspi

from a11y_support import application, check, find, finish, start, stop, wait_for

PROGRAM = sys.argv[1]
SAMPLE = sys.argv[2]
SHOTS = os.environ.get("KELVANA_TEST_SCREENSHOTS", "")
WORK = os.environ["TMPDIR"]
CAPTION = "Lake at noon"
EFFECT = "Wipe Up"  # index 4 of the effects catalogue
EFFECT_INDEX = 4


def xdo(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


def extents(node):
    return node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def centre(node):
    e = extents(node)
    return e.x + e.width // 2, e.y + e.height // 2


def click(node, repeat=1):
    x, y = centre(node)
    xdo("mousemove", x, y, "click", "--repeat", repeat, "--delay", 80, 1)


def shot(name):
    if SHOTS:
        time.sleep(0.5)
        subprocess.run(["import", "-window", "root", os.path.join(SHOTS, "edit-step-%s.png" % name)])


def grab(node, path):
    """The screen under the node, as a PNG file."""
    e = extents(node)
    subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (e.width, e.height, e.x, e.y), "+repage",
                    path], check=True)


def difference(a, b):
    """Root mean square difference of two pictures of one size, 0 to 1."""
    result = subprocess.run(["compare", "-metric", "RMSE", a, b, "null:"], capture_output=True, text=True)
    try:
        return float(result.stderr.split("(")[1].split(")")[0])
    except (IndexError, ValueError):
        return 1.0


def shown_photo(view, photos):
    """Which photo of the album folder the editor view shows: the nearest of
    them, each fitted into the view's size."""
    e = extents(view)
    screen = os.path.join(WORK, "view.png")
    grab(view, screen)
    distances = {}
    for name in photos:
        fitted = os.path.join(WORK, "fitted-" + name + ".png")
        if not os.path.exists(fitted):
            subprocess.run(["convert", os.path.join(ALBUM, "photos", name), "-resize", "%dx%d!" % (e.width, e.height),
                            fitted], check=True)
        distances[name] = difference(screen, fitted)
    return min(distances, key=distances.get), distances


def strip_cells(app):
    """The strip's photo and transition cells, in album order."""
    strip = find(app, "list", "Transition strip")
    if strip is None:
        return [], []
    children = [strip.getChildAtIndex(i) for i in range(strip.childCount)]
    cells = [c for c in children if c.getRoleName() == "list item"]
    return cells[0::2], cells[1::2]


def size_of(path):
    result = subprocess.run(["identify", "-format", "%wx%h", path], capture_output=True, text=True)
    return result.stdout.strip()


ALBUM = os.path.join(WORK, "Holiday")


def main():
    for tool in ("import", "convert", "compare", "identify"):
        if shutil.which(tool) is None:
            print("SKIP: ImageMagick's %s is missing" % tool)
            sys.exit(77)
    shutil.copytree(os.path.dirname(os.path.abspath(SAMPLE)), ALBUM)
    project = os.path.join(ALBUM, os.path.basename(SAMPLE))
    photos = sorted(os.listdir(os.path.join(ALBUM, "photos")))
    process = start(PROGRAM, [project], "Vantri Kelvana (Holiday)")
    app = wait_for(application, timeout=30)
    check(app is not None, "the editor is on the accessibility bus")
    if app is None:
        stop(process)
        return
    try:
        edit_album(app, process, photos)
    finally:
        stop(process)
    check_saved(project)


def edit_album(app, process, photos):
    tab = wait_for(lambda: find(app, "page tab", "编辑效果"))
    check(tab is not None, "the tab 编辑效果 is found")
    if tab is None:
        return
    click(tab)
    names = wait_for(lambda: [c.name for c in strip_cells(app)[0]] or None, timeout=20) or []
    check(names == ["beach.jpg", "hills.jpg", "lake.jpg", "sunset.jpg", "mountain.jpg"],
          "the strip's photo cells carry the file names in album order: %r" % names)
    transitions = [c.name for c in strip_cells(app)[1]]
    check(transitions == ["Fade", "Wipe Left", "Iris", "Fade", "Wipe Left"],
          "the strip's transition cells carry the effect names: %r" % transitions)
    view = find(app, None, "Photo")
    check(view is not None, "the editor view is found")
    if len(names) != 5 or view is None:
        return
    shown = wait_for(lambda: shown_photo(view, photos)[0] == "beach.jpg", timeout=10)
    check(bool(shown), "entering the step shows the first photo: %r" % (shown_photo(view, photos),))
    shot("1-entered")

    click(strip_cells(app)[0][1])
    shown = wait_for(lambda: shown_photo(view, photos)[0] == "hills.jpg", timeout=10)
    check(bool(shown), "a click on the second photo cell shows hills.jpg: %r" % (shown_photo(view, photos),))
    shot("2-second-photo")

    next_photo = find(app, "push button", "Next Photo")
    check(next_photo is not None, "the Next Photo arrow is found")
    if next_photo is None:
        return
    click(next_photo)
    shown = wait_for(lambda: shown_photo(view, photos)[0] == "lake.jpg", timeout=10)
    check(bool(shown), "Next Photo shows lake.jpg: %r" % (shown_photo(view, photos),))
    lake = strip_cells(app)[0][2]
    check(bool(wait_for(lambda: lake.getState().contains(pyatspi.STATE_SELECTED), timeout=10)),
          "the lake's photo cell is the current one")
    shot("3-next-photo")

    before = os.path.join(WORK, "cell-before.png")
    grab(lake, before)
    rotate = find(app, "push button", "Rotate Right")
    check(rotate is not None, "the Rotate Right tool is found")
    if rotate is None:
        return
    click(rotate)
    after = os.path.join(WORK, "cell-after.png")

    def cell_changed():
        grab(lake, after)
        return difference(before, after) > 0.05
    check(bool(wait_for(cell_changed, timeout=10)),
          "Rotate Right changes the lake's strip picture (difference %.3f)" % difference(before, after))
    shot("4-rotated")

    caption = find(app, None, "Caption")
    check(caption is not None, "the caption box is found")
    if caption is None:
        return
    click(caption)
    # Keys go to the focused window: type once the box's text field has the focus.
    field = wait_for(lambda: find(app, None, "Caption text"), timeout=10)
    focused = field is not None and bool(wait_for(lambda: field.getState().contains(pyatspi.STATE_FOCUSED), timeout=10))
    check(focused, "a click on the caption box gives its text field the focus")
    xdo("type", "--delay", 40, CAPTION)
    shot("5-caption")

    click(strip_cells(app)[1][2])
    apply_all = wait_for(lambda: find(app, "push button", "应用到所有"), timeout=10)
    showing = apply_all is not None and bool(
        wait_for(lambda: apply_all.getState().contains(pyatspi.STATE_SHOWING), timeout=10))
    check(showing, "a click on the lake's transition cell shows the effect pane with 应用到所有")
    shot("6-transition")

    effects = find(app, "list", "Effects")
    item = effects and next((effects.getChildAtIndex(i) for i in range(effects.childCount)
                             if effects.getChildAtIndex(i).name == EFFECT), None)
    check(item is not None, "the effects list has %s" % EFFECT)
    if item is None:
        return
    click(item, repeat=2)
    renamed = wait_for(lambda: strip_cells(app)[1][2].name == EFFECT, timeout=10)
    check(bool(renamed), "the lake's transition cell is named after the effect: %r" % strip_cells(app)[1][2].name)
    shot("7-effect")

    save = find(app, "push button", "保存")
    check(save is not None, "the 保存 button is found")
    if save is None:
        return
    project_time = os.path.getmtime(os.path.join(ALBUM, "Holiday.qem"))
    click(save)
    saved = wait_for(lambda: os.path.getmtime(os.path.join(ALBUM, "Holiday.qem")) != project_time, timeout=20)
    check(bool(saved), "保存 writes the project file")
    asked = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^New$"], capture_output=True)
    check(asked.returncode != 0, "保存 on an opened album asks nothing")
    shot("8-saved")

    click(find(app, "push button", "文件"))
    exit_button = wait_for(lambda: find(app, "push button", "退出"), timeout=10)
    check(exit_button is not None, "the application menu shows 退出")
    if exit_button is not None:
        time.sleep(0.3)
        click(exit_button)
    check(bool(wait_for(lambda: process.poll() is not None, timeout=20)), "退出 ends the saved editor without asking")


def check_saved(project):
    try:
        root = ElementTree.parse(project).getroot()
    except (OSError, ElementTree.ParseError) as error:
        check(False, "the saved project can be read: %s" % error)
        return
    lake = next((p for p in root.iter("photo") if p.get("photoname", "").endswith("lake.jpg")), None)
    check(lake is not None, "the saved project lists lake.jpg")
    if lake is None:
        return
    check(lake.get("effect") == str(EFFECT_INDEX), "the lake's transition is %s: effect=%r" % (EFFECT, lake.get("effect")))
    text = lake.find("text")
    typed = (text.text or "") if text is not None else ""
    check(typed.replace("\n", "") == CAPTION, "the lake's caption is saved: %r" % typed)
    saved_photo = os.path.join(os.path.dirname(project), lake.get("photoname"))
    check(size_of(saved_photo) == "360x480", "the turned lake is saved in photos/: %s is %s" % (
        lake.get("photoname"), size_of(saved_photo)))
    others = [p.get("effect") for p in root.iter("photo") if p is not lake]
    check(others == ["0", "1", "0", "1"], "the other transitions stay: %r" % others)


main()
finish()

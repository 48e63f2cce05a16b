#!/usr/bin/python3
"""Drives the edit step of the real editor on a copy of the sample album as a
screen reader and a mouse would: the tab 编辑效果 opens the step, the strip's
cells are found by name, a click on the second photo shows it, Next Photo
moves on; the lake photo is turned with Rotate Right, cropped to the crop
tool's first rectangle by a double-click and clicked with Red-eye Removal;
a Chinese and English caption and a link are typed; a double-click in the effects list gives its
transition a new effect; the album is saved with 保存 and the editor quits
through 文件 -> 退出 without asking. The project file then holds the caption,
the link, the effect and the turned and cropped photo; the photo files the
album came from are unchanged byte for byte. The saved album opens again
under its title, is generated in batch mode, and the generated page loads in
headless Chromium with the caption in its configuration. Run by
run_shell_a11y.sh (virtual display, D-Bus session, accessibility bus).

    edit_step_a11y.py PROGRAM SAMPLE_PROJECT.qem

The sample album's folder is copied into TMPDIR first; the copy is edited.
Screenshots of each stage go to $KELVANA_TEST_SCREENSHOTS when it is set."""
import glob
import hashlib
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
CAPTION = "湖边 Lake"
LINK = "https://example.com/lake"
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


def click_at(x, y, repeat=1):
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


def hashes(folder):
    """SHA-256 of every file in the folder, by name."""
    return {name: hashlib.sha256(open(os.path.join(folder, name), "rb").read()).hexdigest()
            for name in sorted(os.listdir(folder))}


def size_of(path):
    result = subprocess.run(["identify", "-format", "%wx%h", path], capture_output=True, text=True)
    return result.stdout.strip()


ALBUM = os.path.join(WORK, "Holiday")
EDITED = "lake.jpg"  # every edit of the run goes to this photo
TITLE = "Vantri Kelvana (Holiday)"


class Session:
    """What the steps of one editor run share."""

    def __init__(self, app, process, photos):
        self.app, self.process, self.photos = app, process, photos
        self.view = self.lake = None


def main():
    for tool in ("import", "convert", "compare", "identify", "chromium"):
        if shutil.which(tool) is None:
            print("SKIP: %s is missing" % tool)
            sys.exit(77)
    sample_photos = os.path.join(os.path.dirname(os.path.abspath(SAMPLE)), "photos")
    shutil.copytree(os.path.dirname(os.path.abspath(SAMPLE)), ALBUM)
    project = os.path.join(ALBUM, os.path.basename(SAMPLE))
    photos = sorted(os.listdir(os.path.join(ALBUM, "photos")))
    originals = hashes(sample_photos)
    copies = hashes(os.path.join(ALBUM, "photos"))
    run_editor(project, lambda app, process: edit_album(Session(app, process, photos)))
    check_saved(project)
    check_originals(sample_photos, originals, copies)
    run_editor(project, reopened)
    check_link_and_caption(project)
    generate(project)


def run_editor(project, body):
    process = start(PROGRAM, [project], TITLE)
    app = wait_for(application, timeout=30)
    check(app is not None, "the editor is on the accessibility bus")
    try:
        if app is not None:
            body(app, process)
    finally:
        stop(process)


def edit_album(s):
    for step in (open_step, choose_photos, rotate, crop, red_eye, type_caption, type_link,
                 change_effect, save, quit_editor):
        if not step(s):
            return


def open_step(s):
    tab = wait_for(lambda: find(s.app, "page tab", "编辑效果"))
    check(tab is not None, "the tab 编辑效果 is found")
    if tab is None:
        return False
    click(tab)
    names = wait_for(lambda: [c.name for c in strip_cells(s.app)[0]] or None, timeout=20) or []
    check(names == ["beach.jpg", "hills.jpg", "lake.jpg", "sunset.jpg", "mountain.jpg"],
          "the strip's photo cells carry the file names in album order: %r" % names)
    transitions = [c.name for c in strip_cells(s.app)[1]]
    check(transitions == ["Fade", "Wipe Left", "Iris", "Fade", "Wipe Left"],
          "the strip's transition cells carry the effect names: %r" % transitions)
    s.view = find(s.app, None, "Photo")
    check(s.view is not None, "the editor view is found")
    if len(names) != 5 or s.view is None:
        return False
    shown = wait_for(lambda: shown_photo(s.view, s.photos)[0] == "beach.jpg", timeout=10)
    check(bool(shown), "entering the step shows the first photo: %r" % (shown_photo(s.view, s.photos),))
    shot("1-entered")
    return True


def choose_photos(s):
    click(strip_cells(s.app)[0][1])
    shown = wait_for(lambda: shown_photo(s.view, s.photos)[0] == "hills.jpg", timeout=10)
    check(bool(shown), "a click on the second photo cell shows hills.jpg: %r" % (shown_photo(s.view, s.photos),))
    shot("2-second-photo")
    next_photo = find(s.app, "push button", "Next Photo")
    check(next_photo is not None, "the Next Photo arrow is found")
    if next_photo is None:
        return False
    click(next_photo)
    shown = wait_for(lambda: shown_photo(s.view, s.photos)[0] == EDITED, timeout=10)
    check(bool(shown), "Next Photo shows lake.jpg: %r" % (shown_photo(s.view, s.photos),))
    s.lake = strip_cells(s.app)[0][2]
    check(bool(wait_for(lambda: s.lake.getState().contains(pyatspi.STATE_SELECTED), timeout=10)),
          "the lake's photo cell is the current one")
    shot("3-next-photo")
    return True


def press_tool(s, name):
    tool = find(s.app, "push button", name)
    check(tool is not None, "the %s tool is found" % name)
    if tool is not None:
        click(tool)
    return tool is not None


def cell_changes(s, action, what):
    """Runs the action and checks that the lake's strip picture changes."""
    before, after = os.path.join(WORK, "cell-before.png"), os.path.join(WORK, "cell-after.png")
    grab(s.lake, before)
    if not action():
        return False

    def changed():
        grab(s.lake, after)
        return difference(before, after) > 0.05
    check(bool(wait_for(changed, timeout=10)),
          "%s changes the lake's strip picture (difference %.3f)" % (what, difference(before, after)))
    return True


def rotate(s):
    done = cell_changes(s, lambda: press_tool(s, "Rotate Right"), "Rotate Right")
    shot("4-rotated")
    return done


def crop(s):
    def crop_middle():
        if not press_tool(s, "Crop"):
            return False
        time.sleep(0.5)
        shot("5a-crop-rectangle")
        # The crop rectangle starts as the middle third of the drawn picture.
        click_at(*centre(s.view), repeat=2)
        return True
    done = cell_changes(s, crop_middle, "a double-click inside the crop rectangle")
    shot("5b-cropped")
    return done


def red_eye(s):
    if not press_tool(s, "Red-eye Removal"):
        return False
    time.sleep(0.3)
    click_at(*centre(s.view))
    time.sleep(1)
    alive = s.process.poll() is None and find(s.app, None, "Photo") is not None
    check(alive, "a red-eye click on the photo leaves the editor running")
    shot("6-red-eye")
    return alive


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def type_caption(s):
    caption = find(s.app, None, "Caption")
    check(caption is not None, "the caption box is found")
    if caption is None:
        return False
    click(caption)
    # Keys go to the focused window: type once the box's text field has the focus.
    field = wait_for(lambda: find(s.app, None, "Caption text"), timeout=10)
    focused = field is not None and bool(wait_for(lambda: field.getState().contains(pyatspi.STATE_FOCUSED),
                                                  timeout=10))
    check(focused, "a click on the caption box gives its text field the focus")
    if not focused:
        return False
    # xdotool types characters missing from the keymap by mapping them to a spare key.
    xdo("type", "--delay", 60, CAPTION)
    typed = wait_for(lambda: text_of(field).replace("\n", "") == CAPTION, timeout=5)
    check(bool(typed), "the Chinese and English caption is typed: %r" % text_of(field))
    shot("8-caption")
    return True


def type_link(s):
    link = find(s.app, "text", "URL:")
    check(link is not None, "the URL field is found")
    if link is None:
        return False
    click(link)
    time.sleep(0.3)
    xdo("key", "ctrl+a")
    xdo("type", "--delay", 30, LINK)
    typed = wait_for(lambda: text_of(link) == LINK, timeout=5)
    check(bool(typed), "the link is typed into the URL field: %r" % text_of(link))
    shot("9-link")
    return True


def change_effect(s):
    click(strip_cells(s.app)[1][2])
    apply_all = wait_for(lambda: find(s.app, "push button", "应用到所有"), timeout=10)
    showing = apply_all is not None and bool(
        wait_for(lambda: apply_all.getState().contains(pyatspi.STATE_SHOWING), timeout=10))
    check(showing, "a click on the lake's transition cell shows the effect pane with 应用到所有")
    shot("10-transition")
    effects = find(s.app, "list", "Effects")
    item = effects and next((effects.getChildAtIndex(i) for i in range(effects.childCount)
                             if effects.getChildAtIndex(i).name == EFFECT), None)
    check(item is not None, "the effects list has %s" % EFFECT)
    if item is None:
        return False
    click(item, repeat=2)
    renamed = wait_for(lambda: strip_cells(s.app)[1][2].name == EFFECT, timeout=10)
    check(bool(renamed), "the lake's transition cell is named after the effect: %r" % strip_cells(s.app)[1][2].name)
    shot("11-effect")
    return True


def save(s):
    button = find(s.app, "push button", "保存")
    check(button is not None, "the 保存 button is found")
    if button is None:
        return False
    project_time = os.path.getmtime(os.path.join(ALBUM, "Holiday.qem"))
    click(button)
    saved = wait_for(lambda: os.path.getmtime(os.path.join(ALBUM, "Holiday.qem")) != project_time, timeout=20)
    check(bool(saved), "保存 writes the project file")
    asked = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^New$"], capture_output=True)
    check(asked.returncode != 0, "保存 on an opened album asks nothing")
    shot("12-saved")
    return True


def quit_editor(s):
    click(find(s.app, "push button", "文件"))
    exit_button = wait_for(lambda: find(s.app, "push button", "退出"), timeout=10)
    check(exit_button is not None, "the application menu shows 退出")
    if exit_button is not None:
        time.sleep(0.3)
        click(exit_button)
    check(bool(wait_for(lambda: s.process.poll() is not None, timeout=20)), "退出 ends the editor without asking")
    return True


def reopened(app, process):
    """The saved album opens again under its own title and quits unchanged."""
    shot("13-reopened")
    quit_editor(Session(app, process, []))


def saved_lake(project):
    try:
        root = ElementTree.parse(project).getroot()
    except (OSError, ElementTree.ParseError) as error:
        check(False, "the saved project can be read: %s" % error)
        return None, None
    lake = next((p for p in root.iter("photo") if p.get("photoname", "").endswith(EDITED)), None)
    check(lake is not None, "the saved project lists lake.jpg")
    return root, lake


def check_saved(project):
    root, lake = saved_lake(project)
    if lake is None:
        return
    check(lake.get("effect") == str(EFFECT_INDEX), "the lake's transition is %s: effect=%r" % (EFFECT, lake.get("effect")))
    saved_photo = os.path.join(os.path.dirname(project), lake.get("photoname"))
    # Turned to 360x480, then cropped to the middle third of what was drawn.
    size = size_of(saved_photo)
    width, height = (int(n) for n in size.split("x")) if "x" in size else (0, 0)
    check(abs(width - 120) <= 4 and abs(height - 160) <= 4,
          "the turned and cropped lake is saved in photos/: %s is %s" % (lake.get("photoname"), size))
    others = [p.get("effect") for p in root.iter("photo") if p is not lake]
    check(others == ["0", "1", "0", "1"], "the other transitions stay: %r" % others)


def check_link_and_caption(project):
    _, lake = saved_lake(project)
    text = lake.find("text") if lake is not None else None
    typed = (text.text or "").replace("\n", "") if text is not None else ""
    check(typed == CAPTION, "the reopened project keeps the lake's caption: %r" % typed)
    url = text.get("url") if text is not None else None
    check(url == LINK, "the reopened project keeps the lake's link: %r" % url)


def check_originals(sample_photos, originals, copies):
    """The photo files the album was made from stay byte for byte; in the
    album's own photos/ folder only the edited photo is rewritten."""
    check(hashes(sample_photos) == originals, "the sample album's photo files are unchanged (SHA-256)")
    now = hashes(os.path.join(ALBUM, "photos"))
    unchanged = [name for name in copies if name != EDITED]
    check(all(now.get(name) == copies[name] for name in unchanged),
          "the unedited photos of the copy are unchanged (SHA-256): %r" % unchanged)
    check(now.get(EDITED) != copies[EDITED], "the edited lake is rewritten in photos/")


def generate(project):
    output = os.path.join(WORK, "generated")
    result = subprocess.run([PROGRAM, "--generate", project, "--output", output], capture_output=True, text=True,
                            timeout=180)
    check(result.returncode == 0, "batch generation succeeds: %s%s" % (result.stdout[-300:], result.stderr[-300:]))
    check_configuration(os.path.join(output, "generated.xml"))
    pages = glob.glob(os.path.join(output, "**", "*.htm*"), recursive=True)
    check(bool(pages), "the generated album has a web page: %r" % pages)
    if pages:
        load_page(pages[0])


def check_configuration(path):
    """The caption is drawn into the exported photo; its link goes into the
    generated configuration with the lake's slide."""
    try:
        root = ElementTree.parse(path).getroot()
    except (OSError, ElementTree.ParseError) as error:
        check(False, "the generated configuration can be read: %s" % error)
        return
    slides = {os.path.basename(slide.get("d_URL", "")): slide for slide in root.iter("slide")}
    check(sorted(slides) == sorted(hashes(os.path.join(ALBUM, "photos"))), "the configuration lists every photo: %r" %
          sorted(slides))
    lake = slides.get(EDITED)
    check(lake is not None and lake.get("url") == LINK,
          "the lake's slide carries its link: %r" % (lake.get("url") if lake is not None else None))


def chromium(*arguments):
    profile = os.path.join(WORK, "chromium-profile")
    return subprocess.run(["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                           "--disable-background-networking", "--user-data-dir=" + profile] + list(arguments),
                          capture_output=True, text=True, timeout=120)


def load_page(page):
    url = "file://" + page
    dom = chromium("--virtual-time-budget=3000", "--dump-dom", url).stdout
    check("<body" in dom and len(dom) > 200, "headless Chromium loads the generated page (%d characters of DOM)" % len(dom))
    if SHOTS:
        chromium("--window-size=1280,800", "--virtual-time-budget=3000",
                 "--screenshot=" + os.path.join(SHOTS, "edit-step-14-generated-page.png"), url)


main()
finish()

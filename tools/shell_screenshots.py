#!/usr/bin/python3
"""Takes screenshots of the editor's windows: each step, the application
menu, Options and About. Reached through the accessibility bus (to find the
controls) and xdotool (to click them, so that modal dialogs do not hold the
bus). Run by tools/shell-screenshots inside a virtual display.

    shell_screenshots.py PROGRAM OUTDIR PREFIX [WIDTHxHEIGHT]"""
import re
import subprocess
import sys
import time

import pyatspi

program, outdir, prefix = sys.argv[1:4]
size = sys.argv[4] if len(sys.argv) > 4 else ""


def shot(name):
    time.sleep(0.8)
    path = "%s/%s-%s.png" % (outdir, prefix, name)
    subprocess.run(["import", "-window", "root", path], check=True)
    print(path, flush=True)


def find(root, role, name):
    return pyatspi.findDescendant(
        root, lambda n: n.getRoleName() == role and n.name == name, breadth_first=True)


def click(node):
    extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x, y = extents.x + extents.width // 2, extents.y + extents.height // 2
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)
    time.sleep(0.5)


def app_node():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Kelvana":
            return app
    return None


title = "Vantri Kelvana (Untitled)"
process = subprocess.Popen([program], stderr=subprocess.DEVNULL)
subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^%s$" % re.escape(title)],
               check=True, timeout=90, capture_output=True)
window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(title)],
                        capture_output=True, text=True).stdout.split()[0]
subprocess.run(["xdotool", "windowmove", window, "0", "0"])
if size:
    w, h = size.split("x")
    subprocess.run(["xdotool", "windowsize", window, w, h])
time.sleep(1)
app = app_node()
for index, tab in enumerate(["添加图片", "编辑效果", "主题和音乐", "生成影集"]):
    click(find(app, "page tab", tab))
    shot("step%d" % index)
click(find(app, "page tab", "添加图片"))

click(find(app, "push button", "文件"))
shot("menu")
click(find(app, "push button", "选项."))
shot("options")
subprocess.run(["xdotool", "key", "Escape"])
time.sleep(0.5)
click(find(app, "push button", "文件"))
click(find(app, "push button", "关于Vantri Kelvana"))
shot("about")
subprocess.run(["xdotool", "key", "Escape"])
time.sleep(0.5)
process.terminate()
process.wait(20)

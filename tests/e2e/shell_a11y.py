#!/usr/bin/python3
"""Drives the real editor through the accessibility bus as a screen reader
would: finds the step tabs and buttons by name, presses Next three times,
checks the enabled states and the selected tab, opens the application menu,
and checks that a project named on the command line opens.

Run inside an X display and a D-Bus session with the accessibility bus
started (run_shell_a11y.sh does all three)."""
import os
import sys

import pyatspi

from a11y_support import application, check, find, finish, start, stop, wait_for

PROGRAM = sys.argv[1]
PROJECT = sys.argv[2] if len(sys.argv) > 2 else ""


def find_all(root, role):
    return pyatspi.findAllDescendants(root, lambda n: n.getRoleName() == role)


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() in ("press", "click", "activate"):
            action.doAction(i)
            return True
    if action.nActions:
        action.doAction(0)
        return True
    return False


def state(node, which):
    return node.getState().contains(which)


def main():
    process = start(PROGRAM, [], "Vantri Kelvana (Untitled)")
    app = wait_for(application)
    check(app is not None, "the editor is on the accessibility bus")
    if app is None:
        stop(process)
        return
    frame = wait_for(lambda: find(app, "frame"))
    check(frame is not None and frame.name == "Vantri Kelvana (Untitled)", "a new album is untitled: %r" % (frame and frame.name))

    tabs = wait_for(lambda: [t for t in find_all(app, "page tab") if t.name])
    names = [t.name for t in tabs or []]
    check(names == ["添加图片", "编辑效果", "主题和音乐", "生成影集"], "the four step tabs by name: %r" % names)
    buttons = {}
    for name in ("保存", "上一步", "下一步", "文件"):
        buttons[name] = find(app, "push button", name)
        check(buttons[name] is not None, "button '%s' found" % name)
    if None in buttons.values() or len(tabs or []) != 4:
        stop(process)
        return

    check(state(tabs[0], pyatspi.STATE_SELECTED), "the first tab is selected")
    check(not state(buttons["上一步"], pyatspi.STATE_SENSITIVE), "Back is disabled on the first step")
    for step in range(1, 4):
        press(buttons["下一步"])
        selected = wait_for(lambda: state(tabs[step], pyatspi.STATE_SELECTED), timeout=10)
        check(bool(selected), "Next selects tab %d" % step)
        check(state(buttons["上一步"], pyatspi.STATE_SENSITIVE), "Back is enabled on step %d" % step)
        enabled = state(buttons["下一步"], pyatspi.STATE_SENSITIVE)
        check(enabled == (step < 3), "Next is %s on step %d" % ("enabled" if step < 3 else "disabled", step))
    check(not state(tabs[0], pyatspi.STATE_SELECTED), "the first tab is no longer selected")

    press(buttons["文件"])
    new = wait_for(lambda: find(app, "push button", "新建"), timeout=10)
    check(new is not None and state(new, pyatspi.STATE_SHOWING), "the application menu shows 新建")
    heading = find(app, "label", "当前文档")
    check(heading is not None, "the application menu shows the recent projects heading")
    exit_button = find(app, "push button", "退出")
    check(exit_button is not None, "the application menu shows 退出")
    if exit_button is not None:
        press(exit_button)
        ended = wait_for(lambda: process.poll() is not None, timeout=20)
        check(bool(ended), "退出 ends an unmodified editor")
    stop(process)

    if PROJECT:
        name = os.path.splitext(os.path.basename(PROJECT))[0]
        title = "Vantri Kelvana (%s)" % name
        process = start(PROGRAM, [PROJECT], title)
        app = wait_for(application)
        frame = app and wait_for(lambda: find(app, "frame"))
        check(frame is not None and frame.name == title, "the command-line project opens: %r" % (frame and frame.name))
        stop(process)


main()
finish()

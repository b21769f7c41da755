#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The README's pictures: both programs driven from the keyboard on a virtual display."""

import csv
import fcntl
import hashlib
import re
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import zipfile
import xml.etree.ElementTree as ElementTree
from contextlib import contextmanager
from pathlib import Path
from desktop_harness import *  # noqa: F401,F403  the display, Wine and the waits


class Desktop:
    """The keyboard and the eyes of an engineer on the virtual display. Qt's windows are X
    windows, found by their captions; Wine draws its windows inside one desktop window, where
    a window that opens or closes shows as the screen changing and then settling."""

    def __init__(self, env, out, own_windows):
        self.env, self.out, self.own_windows = env, out, own_windows

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, check=True, capture_output=True, text=True)

    def keys(self, *keys):
        self.xdotool("key", "--delay", "40", *keys)

    def type(self, text):
        self.xdotool("type", "--delay", "40", text)

    def screen(self):
        return hashlib.md5(subprocess.run(["import", "-window", "root", "rgb:-"], env=self.env, check=True,
                                          capture_output=True).stdout).hexdigest()

    def after(self, caption, action=None):
        """Does action, then waits for the window captioned so to be the one taking keys;
        without an action, for the screen to show it."""
        if self.own_windows:
            if action:
                action()
            found = []
            wait_for(lambda: found.append(windows_window(self.env, caption)) or found[-1], f"the window {caption}")
            self.xdotool("windowfocus", "--sync", found[-1])
            return
        before = self.screen() if action else None
        if action:
            action()
        seen = [before]
        wait_for(lambda: seen.append(self.screen()) or (seen[-1] != before and seen[-1] == seen[-2]),
                 f"the window {caption}")

    def shot(self, name):
        self.out.mkdir(parents=True, exist_ok=True)
        subprocess.run(["import", "-window", "root", str(self.out / name)], env=self.env, check=True)


def rows_in(log):
    return log.read_bytes().count(b"\n")


def drive(desk, log, prefix):
    """Three sizings, the sheet opened by Ctrl+T, lengths, Σξ (the first by short codes, its
    offered fittings pictured) and loops typed with Enter and Tab, one row re-sized; then the rows made a network by their 上游 and a return, its pipe
    chosen by Ctrl+D. A picture at each stage. Gives the log's last line and the sheet's file
    as they were before the network."""
    desk.after(MAIN_CAPTION)
    for number, (load, dn) in enumerate((("25000", "32"), ("6000", "20"), ("3000", "20"))):
        rows = rows_in(log)
        desk.keys("ctrl+a")
        desk.type(load)
        if number == 0:
            desk.shot(f"{prefix}main-window.png")
        desk.after("输入公称直径！", lambda: desk.keys("Return"))
        desk.keys("ctrl+a")
        desk.type(dn)
        if number == 0:
            desk.shot(f"{prefix}diameter-choice.png")
        desk.after("display", lambda: desk.keys("Return"))
        wait_for(lambda: rows_in(log) > rows, "the logged row")
        if number == 0:
            desk.shot(f"{prefix}result-window.png")
        desk.after(MAIN_CAPTION, lambda: desk.keys("Escape"))
    desk.after("计算表", lambda: desk.keys("ctrl+t"))
    desk.keys("Up", "Up")
    for length in ("12.5", "8", "4"):
        desk.type(length)
        desk.keys("Return")
    # The sheet's columns, from the left: 管段号, 上游, 用户负荷, Q, G, L, DN, d, v, R, R·L, Σξ,
    # ρv²/2, Z, ΔP, 环路, 备注.
    desk.keys("ctrl+Home", *["Tab"] * 11)
    # The first Σξ by short codes, the fittings offered for the last one pictured.
    desk.type("jzf+2w")
    desk.after("计算表")
    desk.shot(f"{prefix}fittings-offer.png")
    desk.keys("Return")
    for xi in ("3", "1.5"):
        desk.type(xi)
        desk.keys("Return")
    desk.keys("ctrl+Home", *["Tab"] * 15)
    for loops in ("1 2", "1", "2"):
        desk.type(loops)
        desk.keys("Return")
    rows = rows_in(log)
    desk.keys(*["Left"] * 9)  # from 环路 to DN
    desk.type("15")
    desk.keys("Return", "ctrl+Home")
    wait_for(lambda: rows_in(log) > rows, "the re-sized row")
    desk.after("计算表")
    desk.shot(f"{prefix}sheet-window.png")
    sheet = (log.parent / "calcsheet.txt").read_text(encoding="utf-8")
    last = log.read_text(encoding="cp936").splitlines()[-1]
    # Segments 2 and 3 fed from 1, which serves no consumer itself; 4 returns both.
    desk.keys("Tab", "Down")
    for upstream in ("1", "1"):
        desk.type(upstream)
        desk.keys("Return")
    desk.keys("ctrl+Home", "Tab", "Tab", "Delete", "Down", "Down", "ctrl+Return", "Left")
    desk.type("2 3")
    desk.keys("Tab", "Tab", "Tab", "Tab")
    desk.type("20")
    rows = rows_in(log)
    desk.keys("Return", "ctrl+d")
    wait_for(lambda: rows_in(log) > rows, "the return's sizing")
    desk.keys("ctrl+Home")
    desk.after("计算表")
    desk.shot(f"{prefix}sheet-sketch.png")
    return last, sheet


def screenshots(kind, state, program, source, out):
    # A display of their own, of a laptop's size.
    state = state / "screenshots"
    with tempfile.TemporaryDirectory() as scratch:
        # A project folder with a name, as the windows' titles show it.
        work = Path(scratch) / "三号楼"
        work.mkdir()
        for table in ("indata1.txt", "indata2.txt", "fittings.txt"):
            shutil.copy(source / "examples" / table, work)
        if kind == "qt":
            env = dict(os.environ, DISPLAY=display_of(state, "1366x768"), QT_QPA_PLATFORM="xcb")
            running = start_detached([str(program)], work, env)
            prefix = ""
        else:
            # Wine's dialog fonts borrow Chinese glyphs from Debian's AR PL UMing, as a Chinese
            # Windows has its own.
            link = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink"
            registry = [(link, "/v", face, "/t", "REG_MULTI_SZ", "/d", "uming.ttc,AR PL UMing CN")
                        for face in ("Tahoma", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif")]
            registry.append((r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes",
                             "/v", "SimSun", "/d", "AR PL UMing CN"))
            env = make_prefix(state / "wine-prefix", display_of(state, "1366x768"), "1366x768", registry)
            running = start_detached([WINE, str(program)], work, env)
            prefix = "windows-"
        try:
            log = work / "outdata.txt"
            wait_for(lambda: log.exists() and log.stat().st_size > 0, "the program's log")
            last, sheet = drive(Desktop(env, out, kind == "qt"), log, prefix)
        finally:
            running.terminate()
            if kind == "windows":
                subprocess.run([WINESERVER, "-k"], env=env, check=False)
            running.wait()
            stop(state)
        expected = " 3000          3600          123.82        15            .18           47.23 "
        if last != expected:
            fail("the re-sized row is not the one expected")
        # What was typed into the sheet is in its file: length, Σξ, loops and DN per segment.
        segments = [line.split("\t") for line in sheet.splitlines() if line.startswith("管段\t")]
        typed = [(f[2], f[3], f[5], f[10]) for f in segments]
        if typed != [("12.5", "截止阀+2×90°煨弯", "1 2", "32"), ("8", "3", "1", "20"), ("4", "1.5", "2", "15")]:
            fail(f"the sheet holds {typed}")
    print(f"pictures in {out}")

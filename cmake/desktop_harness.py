#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The virtual X display and the Wine prefix of a build, and waiting on windows, files and
processes in them: what every other desktop job stands on."""

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
WINE = next((p for p in ("/usr/lib/wine/wine64", shutil.which("wine64") or "", shutil.which("wine") or "")
             if p and os.access(p, os.X_OK)), "wine")
WINESERVER = "/usr/lib/wine/wineserver" if os.access("/usr/lib/wine/wineserver", os.X_OK) else "wineserver"
MAIN_CAPTION = "Kestrune："
ZIP_FILES = ["kestrune.exe", "indata1.txt", "indata2.txt", "fittings.txt", "LICENSE.txt", "说明.txt"]


def fail(message):
    print(message, file=sys.stderr)
    sys.exit(1)


def wait_for(condition, what, seconds=60.0):
    """Polls condition until it holds; fails with what after seconds."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return
        time.sleep(0.1)
    fail(f"gave up waiting for {what} after {seconds:.0f} s")


@contextmanager
def locked(state):
    state.mkdir(parents=True, exist_ok=True)
    with open(state / "lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        yield


def alive(pid):
    try:
        os.kill(pid, 0)
        return True
    except OSError:
        return False


def display_of(state, size="1920x1080"):
    """The virtual display of this state folder, started on a free number when not running."""
    with locked(state):
        record = state / "display"
        if record.exists():
            name, pid = record.read_text().split()
            if alive(int(pid)) and Path(f"/tmp/.X11-unix/X{name[1:]}").exists():
                return name
        number = next(n for n in range(90, 200)
                      if not Path(f"/tmp/.X{n}-lock").exists() and not Path(f"/tmp/.X11-unix/X{n}").exists())
        xvfb = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", f"{size}x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        wait_for(lambda: Path(f"/tmp/.X11-unix/X{number}").exists(), f"the virtual display :{number}", 20)
        record.write_text(f":{number} {xvfb.pid}\n")
        return f":{number}"


def wine_env(prefix, display):
    return dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                WINEARCH="win64", DISPLAY=display)


def wine(env, *args, check=True, **kwargs):
    return subprocess.run([WINE, *args], env=env, check=check, **kwargs)


def quiet_wine(env, *args):
    wine(env, *args, check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def make_prefix(prefix, display, desktop="1920x1080", registry=()):
    """A Wine prefix of its own: no Mono or Gecko, and every window in one virtual desktop of
    the given size, so that windows come and go without a window manager."""
    env = wine_env(prefix, display)
    with locked(prefix.parent):
        if not (prefix / "system.reg").exists():
            print(f"Creating the Wine prefix {prefix}", flush=True)
            subprocess.run([WINESERVER, "-k"], env=env, stderr=subprocess.DEVNULL, check=False)
            quiet_wine(env, "wineboot", "--init")
            if desktop:
                quiet_wine(env, "reg", "add", r"HKCU\Software\Wine\Explorer", "/v", "Desktop", "/d", "Default", "/f")
                quiet_wine(env, "reg", "add", r"HKCU\Software\Wine\Explorer\Desktops", "/v", "Default",
                           "/d", desktop, "/f")
            for entry in registry:
                quiet_wine(env, "reg", "add", *entry, "/f")
            subprocess.run([WINESERVER, "-w"], env=env, check=False)
    return env


def build_env(state):
    return make_prefix(state / "wine-prefix", display_of(state))


def stop(state):
    if (state / "wine-prefix").exists() and (state / "display").exists():
        env = wine_env(state / "wine-prefix", (state / "display").read_text().split()[0])
        subprocess.run([WINESERVER, "-k"], env=env, stderr=subprocess.DEVNULL, check=False)
    if (state / "display").exists():
        pid = int((state / "display").read_text().split()[1])
        if alive(pid):
            os.kill(pid, signal.SIGTERM)
        (state / "display").unlink()


def windows_window(env, caption):
    found = subprocess.run(["xdotool", "search", "--name", caption], env=env, capture_output=True, text=True)
    return found.stdout.split()[0] if found.returncode == 0 and found.stdout.split() else None


def start_detached(command, cwd, env):
    return subprocess.Popen(command, cwd=cwd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def wait_for_program(env, log):
    """The main window is up and the results log has its header."""
    wait_for(lambda: log.exists() and log.stat().st_size > 0 and windows_window(env, MAIN_CAPTION),
             f"the main window and {log}")


@contextmanager
def scratch_prefix(state):
    """A fresh Wine prefix with no virtual desktop, so that each window is an X window the
    checks can find by its caption; HOME a scratch one too, as Wine links Documents to it."""
    display = display_of(state)
    home = os.environ.get("HOME")
    with tempfile.TemporaryDirectory() as scratch:
        scratch = Path(scratch)
        (scratch / "home").mkdir()
        os.environ["HOME"] = str(scratch / "home")
        env = make_prefix(scratch / "wine-prefix", display, desktop="")
        try:
            yield scratch, env
        finally:
            subprocess.run([WINESERVER, "-k"], env=env, check=False)
            if home is not None:
                os.environ["HOME"] = home

#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows setup and zip, the static executable and the Debian package, checked as a
user meets them."""

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


# The files a Windows user gets, in one folder, all text in the system's line ends; the
# Chinese texts in UTF-8 with a byte-order mark, so that Notepad of any Windows reads them.
def windows_stage(build, source):
    stage = build / "stage"
    shutil.rmtree(stage, ignore_errors=True)
    stage.mkdir()
    crlf = lambda *files: b"".join(f.read_bytes() for f in files).replace(b"\n", b"\r\n")
    bom = b"\xef\xbb\xbf"
    shutil.copy(build / "app" / "kestrune.exe", stage)
    shutil.copy(build / "app" / "resources" / "kestrune.ico", stage)
    for name in ("indata1.txt", "indata2.txt"):
        shutil.copy(source / "examples" / name, stage)
    (stage / "LICENSE.txt").write_bytes(crlf(source / "LICENSE", source / "packaging/third-party-licences.txt"))
    (stage / "说明.txt").write_bytes(bom + crlf(source / "packaging/windows/readme-zh.txt"))
    (stage / "fittings.txt").write_bytes(bom + crlf(source / "examples/fittings.txt"))
    # The setup's licence page: a short note in Chinese above the binding English text.
    (stage / "licence-page.txt").write_bytes(
        bom + crlf(source / "packaging/windows/licence-note-zh.txt", source / "LICENSE"))
    return stage


def windows_packages(build, source, version):
    """The setup program (NSIS, pages in Simplified Chinese) and the portable zip, whose
    Chinese file name is marked UTF-8 as Windows' own unzip expects."""
    stage = windows_stage(build, source)
    subprocess.run(["makensis", "-V2", "-INPUTCHARSET", "UTF8", f"-DVERSION={version}", f"-DSTAGE={stage}",
                    f"-DOUTFILE={build}/kestrune-{version}-setup.exe",
                    str(source / "packaging/windows/kestrune.nsi")], check=True)
    with zipfile.ZipFile(build / f"kestrune-{version}-windows-x64.zip", "w", zipfile.ZIP_DEFLATED) as z:
        for name in ZIP_FILES:
            z.write(stage / name, name)


def exe_check(exe):
    """kestrune.exe needs only DLLs that every Windows has, and stays small."""
    system = ("kernel32", "user32", "gdi32", "comctl32", "shell32", "ole32", "msvcrt", "advapi32")
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(exe)], check=True, capture_output=True,
                          text=True).stdout
    dlls = [line.split()[-1] for line in dump.splitlines() if "DLL Name" in line]
    others = [dll for dll in dlls if not dll.lower().startswith(system)]
    if others:
        fail(f"kestrune.exe needs DLLs that Windows does not ship: {others}")
    if exe.stat().st_size >= 4 * 1024 * 1024:
        fail(f"kestrune.exe is {exe.stat().st_size} bytes, 4 MB or more")
    print(f"kestrune.exe: {exe.stat().st_size} bytes, imports {', '.join(dlls)}")


def setup_check(state, build, source, version):
    """In a fresh prefix: the silent setup installs the program, the tables, the Start-menu and
    uninstall entries; the program starts from the entry in Documents\\Kestrune; the silent
    uninstaller removes what was installed and leaves that folder and its log as they were."""
    with scratch_prefix(state) as (scratch, env):
        c = scratch / "wine-prefix" / "drive_c"
        user = os.environ.get("USER") or subprocess.run(["id", "-un"], capture_output=True, text=True).stdout.strip()
        programs = c / "Program Files" / "Kestrune"
        docs = c / "users" / user / "Documents" / "Kestrune"
        menu = c / f"users/{user}/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kestrune.lnk"
        key = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrune"
        wine(env, str(build / f"kestrune-{version}-setup.exe"), "/S")
        subprocess.run([WINESERVER, "-w"], env=env, check=False)
        for name in ("kestrune.exe", "LICENSE.txt", "说明.txt", "uninstall.exe", "examples/indata1.txt",
                     "examples/indata2.txt", "examples/fittings.txt"):
            if not (programs / name).is_file():
                fail(f"setup: {name} is missing")
        if (docs / "indata1.txt").read_bytes() != (source / "examples/indata1.txt").read_bytes():
            fail("setup: the working folder's table differs from the example")
        if not menu.is_file():
            fail("setup: no Start-menu entry")
        shown = wine(env, "reg", "query", key, "/v", "DisplayVersion", "/reg:64", capture_output=True, text=True)
        if version not in shown.stdout:
            fail("setup: the uninstall entry does not name the version")
        # Wine's shell now and then refuses a shortcut in a prefix just made ("Internal
        # error"); asking again is what a user would do, and the program must then start.
        wait_for(lambda: wine(env, "start", "/unix", str(menu), check=False).returncode == 0,
                 "the Start-menu entry to be started", seconds=30)
        wait_for_program(env, docs / "outdata.txt")
        subprocess.run([WINESERVER, "-k"], env=env, check=False)
        before = hashlib.md5((docs / "outdata.txt").read_bytes()).hexdigest()
        wine(env, r"C:\Program Files\Kestrune\uninstall.exe", "/S")
        # The uninstaller finishes from a copy of itself: wait for what it removes.
        wait_for(lambda: not programs.exists() and not menu.exists(), "the uninstaller to finish")
        subprocess.run([WINESERVER, "-w"], env=env, check=False)
        if wine(env, "reg", "query", key, "/reg:64", check=False, capture_output=True).returncode == 0:
            fail("uninstall: the uninstall entry is still there")
        if hashlib.md5((docs / "outdata.txt").read_bytes()).hexdigest() != before or \
                not (docs / "indata1.txt").exists():
            fail("uninstall: the working folder was touched")
    print("setup, start and uninstall checked under Wine")


def zip_check(state, build, version):
    """Exactly the zip's files, and kestrune.exe starts from the folder it is unzipped to."""
    archive = build / f"kestrune-{version}-windows-x64.zip"
    with zipfile.ZipFile(archive) as z:
        if sorted(z.namelist()) != sorted(ZIP_FILES):
            fail(f"zip: {sorted(z.namelist())}")
        with scratch_prefix(state) as (scratch, env):
            z.extractall(scratch / "portable")
            program = start_detached([WINE, "kestrune.exe"], scratch / "portable", env)
            wait_for_program(env, scratch / "portable" / "outdata.txt")
            subprocess.run([WINESERVER, "-k"], env=env, check=False)
            program.wait()
    print("zip checked under Wine")


def deb_check(build):
    """The .deb made, unpacked into a scratch root: its desktop entry and AppStream data valid,
    its copyright naming the licence, lintian without errors, the program linked, and started
    offscreen from its menu launcher in a home holding the example table."""
    subprocess.run(["cpack", "-G", "DEB"], cwd=build, check=True, stdout=subprocess.DEVNULL)
    deb = next(build.glob("kestrune_*.deb"))
    with tempfile.TemporaryDirectory() as scratch:
        root, home = Path(scratch) / "root", Path(scratch) / "home"
        subprocess.run(["dpkg-deb", "-x", str(deb), str(root)], check=True)
        subprocess.run(["desktop-file-validate", str(root / "usr/share/applications/kestrune.desktop")], check=True)
        subprocess.run(["appstreamcli", "validate", "--no-net",
                        str(root / "usr/share/metainfo/local.kestrune.kestrune.metainfo.xml")], check=True)
        if "License: GPL-3+" not in (root / "usr/share/doc/kestrune/copyright").read_text():
            fail("the copyright file does not name the licence")
        # The project has no public address yet, so its maintainer's mail host is not a real one.
        subprocess.run(["lintian", "--fail-on", "error", "--suppress-tags",
                        "bogus-mail-host,bogus-mail-host-in-debian-changelog", str(deb)], check=True)
        # The program, and the exports it loads when first used, from its private library folder.
        # Printing is a module too, so that the start loads no Qt print support.
        modules = [module for name in ("libkestrune-export.so", "libkestrune-print.so")
                   for module in root.glob(f"usr/lib/*/kestrune/{name}")]
        if len(modules) != 2:
            fail(f"the package holds {len(modules)} of the two modules")
        for binary in (root / "usr/bin/kestrune", *modules):
            linked = subprocess.run(["ldd", str(binary)], capture_output=True, text=True)
            if "not found" in linked.stdout:
                fail(linked.stdout + f"the packaged {binary.name} does not link")
            if binary.name == "kestrune" and "PrintSupport" in linked.stdout:
                fail("the packaged program loads Qt's print support at start")
        home.mkdir()
        for table in (root / "usr/share/kestrune/examples").glob("*.txt"):
            shutil.copy(table, home)
        env = dict(os.environ, HOME=str(home), PATH=f"{root}/usr/bin:{os.environ['PATH']}",
                   QT_QPA_PLATFORM="offscreen")
        program = start_detached([str(root / "usr/libexec/kestrune/kestrune-from-menu")], "/", env)
        log = home / "outdata.txt"
        wait_for(lambda: program.poll() is not None or (log.exists() and log.stat().st_size > 0),
                 "the packaged program's log", 30)
        running = program.poll() is None
        program.terminate()
        program.wait()
        if not running:
            fail(f"the packaged program ended at start (exit {program.returncode})")
    print(f"package checked: {deb}")

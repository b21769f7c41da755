#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What the tests need of a desktop, as CTest runs them: a virtual X display and a Wine prefix,
Windows programs run in them, the Windows setup and zip made and checked as a user meets them,
the Debian package checked, and the README's pictures taken of both programs driven from the
keyboard. Every wait is for a condition (a window, a file, a process), never a fixed time.

  desktop.py start STATE                   the display and the Wine prefix of a build
  desktop.py wine STATE PROGRAM [ARG...]   a Windows program under Wine (CTest's emulator)
  desktop.py stop STATE                    Wine and the display ended
  desktop.py windows-packages BUILD SOURCE VERSION
  desktop.py exe-check EXE                 one static file, system DLLs only, under 4 MB
  desktop.py setup-check STATE BUILD SOURCE VERSION
  desktop.py zip-check STATE BUILD VERSION
  desktop.py exports-check STATE WORKED_EXPORTS_EXE
  desktop.py deb-check BUILD
  desktop.py screenshots qt|windows STATE PROGRAM SOURCE OUT
"""

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


def recalculated(workbook, scratch):
    """Each worksheet as LibreOffice computes it on loading (forced, whatever the file holds),
    its cells unformatted, by the sheet's position."""
    profile = scratch / "lo-profile"
    (profile / "user").mkdir(parents=True)
    (profile / "user/registrymodifications.xcu").write_text(
        '<?xml version="1.0" encoding="UTF-8"?>\n<oor:items xmlns:oor="http://openoffice.org/2001/registry" '
        'xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">'
        '<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" '
        'oor:op="fuse"><value>0</value></prop></item></oor:items>\n')
    out = scratch / "csv"
    subprocess.run(["soffice", f"-env:UserInstallation=file://{profile}", "--headless", "--convert-to",
                    "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1",
                    "--outdir", str(out), str(workbook)], check=True, capture_output=True)
    with zipfile.ZipFile(workbook) as z:
        book = ElementTree.fromstring(z.read("xl/workbook.xml"))
    names = [sheet.get("name") for sheet in book.iter() if sheet.tag.endswith("}sheet")]
    return [list(csv.reader(open(out / f"{workbook.stem}-{name}.csv", encoding="utf-8"))) for name in names]


def exports_check(state, program):
    """The worked sheet exported by the Windows program under Wine: every formula of the
    workbook, recalculated by LibreOffice, gives the value the program wrote with it (to
    0.01); the PDF holds the calculation's words and numbers, its header on each page, and a
    subset of its Chinese font embedded."""
    with scratch_prefix(state) as (scratch, env):
        fonts = scratch / "wine-prefix/drive_c/windows/Fonts"
        # Debian's Song font stands in for the SimSun a Chinese Windows has.
        shutil.copy("/usr/share/fonts/truetype/arphic/uming.ttc", fonts / "simsun.ttc")
        out = scratch / "exports"
        out.mkdir()
        wine(env, str(program), "Z:" + str(out).replace("/", "\\"))
        sheets = recalculated(out / "worked.xlsx", scratch)
        checked = 0
        with zipfile.ZipFile(out / "worked.xlsx") as z:
            for index, rows in enumerate(sheets):
                cells = ElementTree.fromstring(z.read(f"xl/worksheets/sheet{index + 1}.xml")).iter()
                for cell in cells:
                    formula = next((c for c in cell if c.tag.endswith("}f")), None)
                    value = next((c for c in cell if c.tag.endswith("}v")), None)
                    if not cell.tag.endswith("}c") or formula is None or value is None:
                        continue
                    letters, number = re.match(r"([A-Z]+)(\d+)", cell.get("r")).groups()
                    column = sum((ord(ch) - 64) * 26 ** i for i, ch in enumerate(reversed(letters))) - 1
                    got = rows[int(number) - 1][column]
                    wrote = value.text or ""
                    if cell.get("t") == "str":
                        same = got == wrote
                    else:
                        same = abs(float(got or 0) - float(wrote)) <= 0.01
                    if not same:
                        fail(f"sheet {index + 1} {cell.get('r')}: {formula.text} gives {got}, the program {wrote}")
                    checked += 1
        if checked < 100:
            fail(f"only {checked} formula cells in the workbook")
        text = subprocess.run(["pdftotext", str(out / "worked.pdf"), "-"], check=True, capture_output=True,
                              text=True).stdout
        for words in ("室内供暖系统水力计算书", "Kestrune 0.1.0", "局部损失 Z = Σξ · ρv²/2", "1956.4",
                      "为最不利环路", "超过限值 15 %"):
            if words not in text:
                fail(f"the PDF does not say {words}")
        if text.count("ΔP (Pa)") < 2:
            fail("the sheet's header is not on each of its pages")
        fonts_used = subprocess.run(["pdffonts", str(out / "worked.pdf")], check=True, capture_output=True,
                                    text=True).stdout
        if "+" not in fonts_used or "yes yes yes" not in fonts_used:
            fail(f"the Chinese font is not embedded as a subset:\n{fonts_used}")
    print(f"the Windows program's exports: {checked} formula cells agree; the PDF reads right")


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
        linked = subprocess.run(["ldd", str(root / "usr/bin/kestrune")], capture_output=True, text=True)
        if "not found" in linked.stdout:
            fail(linked.stdout + "the packaged program does not link")
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
    """Three sizings, the sheet opened by Ctrl+T, lengths, Σξ and loops typed with Enter and
    Tab, one row re-sized; a picture at each stage."""
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
    desk.keys("ctrl+Home", *["Tab"] * 9)
    for xi in ("2.5", "3", "1.5"):
        desk.type(xi)
        desk.keys("Return")
    desk.keys("ctrl+Home", *["Tab"] * 13)
    for loops in ("1 2", "1", "2"):
        desk.type(loops)
        desk.keys("Return")
    rows = rows_in(log)
    desk.keys(*["Left"] * 9)
    desk.type("15")
    desk.keys("Return", "ctrl+Home")
    wait_for(lambda: rows_in(log) > rows, "the re-sized row")
    desk.after("计算表")
    desk.shot(f"{prefix}sheet-window.png")


def screenshots(kind, state, program, source, out):
    # A display of their own, of a laptop's size.
    state = state / "screenshots"
    with tempfile.TemporaryDirectory() as work:
        work = Path(work)
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
            drive(Desktop(env, out, kind == "qt"), log, prefix)
        finally:
            running.terminate()
            if kind == "windows":
                subprocess.run([WINESERVER, "-k"], env=env, check=False)
            running.wait()
            stop(state)
        expected = " 3000          3600          123.82        15            .18           47.23 "
        if (work / "outdata.txt").read_text(encoding="cp936").splitlines()[-1] != expected:
            fail("the re-sized row is not the one expected")
        # What was typed into the sheet is in its file: length, Σξ, loops and DN per segment.
        segments = [line.split("\t") for line in (work / "calcsheet.txt").read_text(encoding="utf-8").splitlines()
                    if line.startswith("管段\t")]
        typed = [(f[2], f[3], f[5], f[10]) for f in segments]
        if typed != [("12.5", "2.5", "1 2", "32"), ("8", "3", "1", "20"), ("4", "1.5", "2", "15")]:
            fail(f"the sheet holds {typed}")
    print(f"pictures in {out}")


def main(argv):
    command, args = argv[1], argv[2:]
    if command == "start":
        build_env(Path(args[0]))
    elif command == "wine":
        env = build_env(Path(args[0]))
        return subprocess.run([WINE, *args[1:]], env=env).returncode
    elif command == "stop":
        stop(Path(args[0]))
    elif command == "windows-packages":
        windows_packages(Path(args[0]), Path(args[1]), args[2])
    elif command == "exe-check":
        exe_check(Path(args[0]))
    elif command == "setup-check":
        setup_check(Path(args[0]), Path(args[1]), Path(args[2]), args[3])
    elif command == "zip-check":
        zip_check(Path(args[0]), Path(args[1]), args[2])
    elif command == "exports-check":
        exports_check(Path(args[0]), Path(args[1]))
    elif command == "deb-check":
        deb_check(Path(args[0]))
    elif command == "screenshots":
        screenshots(args[0], Path(args[1]), Path(args[2]), Path(args[3]), Path(args[4]))
    else:
        fail(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

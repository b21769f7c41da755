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
import subprocess
import sys
from pathlib import Path

# One file a job, beside this one.
from desktop_exports import exports_check
from desktop_harness import WINE, build_env, fail, stop
from desktop_packages import deb_check, exe_check, setup_check, windows_packages, zip_check
from desktop_pictures import screenshots


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

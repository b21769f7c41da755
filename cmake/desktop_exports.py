#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows program's exports, read on Linux by LibreOffice and poppler."""

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
        # An English Windows: no SimSun or SimHei, only Microsoft YaHei, for which Debian's Song
        # font stands in under YaHei's file name.
        shutil.copy("/usr/share/fonts/truetype/arphic/uming.ttc", fonts / "msyh.ttc")
        out = scratch / "exports"
        out.mkdir()
        said = wine(env, str(program), "Z:" + str(out).replace("/", "\\"), capture_output=True,
                    text=True).stdout
        if "font msyh.ttc" not in said:
            fail(f"the 计算书 does not embed the font under YaHei's name: {said!r}")
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

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Kestrune: set up, build, test and run, on Debian as root (or with the packages present).
#   bash build.sh run    install what is missing, build, start the program on the example table
#   bash build.sh test   install what is missing, build, run all tests
#   bash build.sh sanitize        the whole test suite under AddressSanitizer and UBSan
#   bash build.sh fuzz [SECONDS]  each fuzz target for SECONDS (default 60)
#   bash build.sh package         the Debian package, checked in a scratch root
#   bash build.sh windows         kestrune.exe and the suites cross-built for 64-bit Windows, tested under Wine
#   bash build.sh windows-screenshots   the README's pictures of kestrune.exe under Wine
#   bash build.sh bench           the calculation sheet's speed, the README's figures
set -euo pipefail
cd "$(dirname "$0")"
source_dir=$(pwd)
build_dir=${KESTRUNE_BUILD_DIR:-$source_dir/build}

packages=(cmake ninja-build g++ pkg-config libgtest-dev qt6-base-dev qt6-translations-l10n
          fonts-arphic-uming locales xvfb xauth libxlsxwriter-dev libhpdf-dev zlib1g-dev)
# The tests read the exports with other programs' eyes: LibreOffice recalculates the
# workbook, poppler reads the PDF.
test_packages=(poppler-utils libreoffice-calc-nogui)
fuzz_packages=(clang libclang-rt-dev)
package_packages=(dpkg-dev desktop-file-utils file appstream lintian)
windows_packages=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine wine64 xvfb
                  librsvg2-bin icoutils nsis python3 xdotool unzip libz-mingw-w64-dev xz-utils)

install_missing() {
    local missing=() p
    for p in "${packages[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    if ((${#missing[@]})); then
        if [ "$(id -u)" -ne 0 ]; then
            echo "Missing Debian packages: ${missing[*]}. Run this as root to install them." >&2
            exit 1
        fi
        apt-get update -q
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
    # A locale whose decimal separator is a comma, so the tests can show it changes nothing.
    if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
        if [ "$(id -u)" -eq 0 ]; then
            localedef -i de_DE -f UTF-8 de_DE.UTF-8 || true
        fi
    fi
}

build() {
    local dir=$1
    shift
    cmake -S "$source_dir" -B "$dir" -G Ninja "$@"
    cmake --build "$dir"
}

run_tests() {
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$1" --output-on-failure
}

# Every sanitizer report ends the test that made it, so the suite fails.
sanitize() {
    local dir=${build_dir}-sanitize
    build "$dir" -DCMAKE_BUILD_TYPE=Debug -DKESTRUNE_SANITIZE=ON
    ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_tests "$dir"
}

# Each target runs from the seed corpus in a scratch copy; any finding fails the run and
# leaves its input in the scratch folder, whose path is printed.
fuzz() {
    local seconds=${1:-60} dir=${build_dir}-fuzz scratch target
    build "$dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKESTRUNE_FUZZ=ON -DKESTRUNE_GUI=OFF -DKESTRUNE_TESTS=OFF
    scratch=$(mktemp -d)
    echo "Fuzzing for ${seconds} s per target in $scratch"
    for target in leading_number pipe_table print_line; do
        mkdir -p "$scratch/$target"
        cp "$source_dir/fuzz/corpus/$target/"* "$scratch/$target/"
        "$dir/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
            -artifact_prefix="$scratch/$target-" "$scratch/$target" 2>"$scratch/$target.log" || {
            tail -n 40 "$scratch/$target.log"
            echo "fuzz_$target found a fault; its input is in $scratch" >&2
            return 1
        }
        grep -E '^stat::number_of_executed_units|^Done|cov:' "$scratch/$target.log" | tail -n 2
    done
    rm -rf "$scratch"
}

# Starts a virtual X display for Wine's windows and exports DISPLAY; it ends with this script.
start_virtual_display() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    virtual_display_pid=$!
    trap 'kill "$virtual_display_pid" 2>/dev/null || true' EXIT
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
    export DISPLAY=":$n"
}

# A Wine prefix of the build's own: no Mono or Gecko, no chatter, and every program in one
# virtual desktop of the given size, so that windows come and go without waiting for a window
# manager.
wine_prefix() {
    local desktop=$2
    export WINEPREFIX="$1/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
    mkdir -p "$1"
    # A wineserver started without a display keeps its prefix display-less: end it first.
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX"
        /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
    fi
    if [ -n "$desktop" ]; then
        /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
            >/dev/null 2>&1
        /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
            /d "$desktop" /f >/dev/null 2>&1
    fi
    /usr/lib/wine/wineserver -w || true
}

# Everything for 64-bit Windows: the program kestrune.exe on the Win32 front-end and the
# GoogleTest suites (core, data, the windows' behaviour, and the Win32 windows themselves),
# each suite run under Wine on a virtual display.
# libxlsxwriter and libharu for Windows: Debian's own source packages (a deb-src entry of the
# same suite), cross-built with mingw-w64 into static libraries, once per build folder.
windows_libraries() {
    local libs=$1 work=$1/src suite
    [ -f "$libs/lib/libxlsxwriter.a" ] && [ -f "$libs/lib/libhpdfs.a" ] && return 0
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    if ! grep -rqs '^Types: deb-src' /etc/apt/sources.list.d/ &&
        ! grep -qs '^deb-src' /etc/apt/sources.list; then
        printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
            "$suite" >/etc/apt/sources.list.d/kestrune-sources.sources
        apt-get update -q
    fi
    rm -rf "$work" && mkdir -p "$work"
    # Only the upstream sources are needed: a missing Debian part does not stop the build.
    (cd "$work" && apt-get source -q --download-only libxlsxwriter libharu) || true
    local package source
    for package in libxlsxwriter libharu; do
        source=$(ls "$work"/${package}_*.orig.tar.* | head -n 1)
        [ -n "$source" ] || { echo "no source of $package from Debian" >&2; return 1; }
        mkdir -p "$work/$package" && tar -xf "$source" -C "$work/$package" --strip-components=1
    done
    local common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake"
                  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$libs" -DZLIB_USE_STATIC_LIBS=ON)
    cmake -S "$work/libxlsxwriter" -B "$work/build-xlsxwriter" "${common[@]}" -DBUILD_TESTS=OFF \
        -DBUILD_EXAMPLES=OFF
    cmake --build "$work/build-xlsxwriter" && cmake --install "$work/build-xlsxwriter"
    cmake -S "$work/libharu" -B "$work/build-libharu" "${common[@]}" -DLIBHPDF_SHARED=OFF \
        -DLIBHPDF_STATIC=ON -DLIBHPDF_EXAMPLES=OFF
    cmake --build "$work/build-libharu" && cmake --install "$work/build-libharu"
    rm -f "$libs"/lib/libz*  # zlib comes from Debian's static libz-mingw-w64-dev
}

windows() {
    local dir=${build_dir}-windows exe
    windows_libraries "$dir/libs"
    export KESTRUNE_WINDOWS_LIBS="$dir/libs"
    build "$dir" \
        -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUNE_GUI=OFF -DZLIB_USE_STATIC_LIBS=ON \
        -DKESTRUNE_GTEST_SOURCE=/usr/src/googletest
    exe="$dir/app/kestrune.exe"
    # Only DLLs that every Windows has, and small.
    if x86_64-w64-mingw32-objdump -p "$exe" | grep 'DLL Name' |
        grep -viE 'kernel32|user32|gdi32|comctl32|shell32|ole32|msvcrt|advapi32'; then
        echo "kestrune.exe needs a DLL that Windows does not ship" >&2
        return 1
    fi
    if [ "$(stat -c %s "$exe")" -ge $((4 * 1024 * 1024)) ]; then
        echo "kestrune.exe is 4 MB or larger" >&2
        return 1
    fi
    start_virtual_display
    # Room for the diameter list beside the main window, as on a large screen.
    wine_prefix "$dir" 1920x1080
    ctest --test-dir "$dir" --output-on-failure
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    windows_packages_build "$dir"
    windows_packages_check "$dir"
    echo "Windows program: $exe"
    echo "Windows setup and portable zip: $dir/kestrune-$(project_version)-setup.exe," \
        "$dir/kestrune-$(project_version)-windows-x64.zip"
}

project_version() {
    sed -n 's/^project(Kestrune VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt"
}

# The files a Windows user gets, in one folder: the program, the example table, the table of
# local resistance coefficients, the licence and the Chinese read-me, all text in the
# system's line ends.
windows_stage() {
    local dir=$1 stage=$1/stage
    rm -rf "$stage" && mkdir -p "$stage"
    cp "$dir/app/kestrune.exe" "$dir/app/resources/kestrune.ico" "$stage/"
    cp "$source_dir/examples/indata1.txt" "$source_dir/examples/indata2.txt" "$stage/"
    sed 's/$/\r/' "$source_dir/LICENSE" "$source_dir/packaging/third-party-licences.txt" \
        >"$stage/LICENSE.txt"
    # UTF-8 with a byte-order mark, so that Notepad of any Windows reads the Chinese.
    { printf '\357\273\277'; sed 's/$/\r/' "$source_dir/packaging/windows/readme-zh.txt"; } \
        >"$stage/说明.txt"
    { printf '\357\273\277'; sed 's/$/\r/' "$source_dir/examples/fittings.txt"; } \
        >"$stage/fittings.txt"
    # The setup's licence page: a short note in Chinese above the binding English text.
    { printf '\357\273\277'; sed 's/$/\r/' "$source_dir/packaging/windows/licence-note-zh.txt" \
        "$source_dir/LICENSE"; } >"$stage/licence-page.txt"
    echo "$stage"
}

# Waits up to 30 s for the main window of kestrune.exe and the log it writes at start.
wait_for_program() {
    local log=$1 _
    for _ in $(seq 60); do
        if [ -s "$log" ] && xdotool search --name 'Kestrune：' >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.5
    done
    echo "kestrune.exe did not start: no main window, or no $log" >&2
    return 1
}

# As a Windows user would, in a fresh Wine prefix of windows on the virtual display: the setup
# runs silently; the program, the table, the Start-menu entry and the uninstall entry are
# there; the program starts from the entry in Documents\Kestrune; the silent uninstaller
# removes what was installed and leaves that folder and its log as they were. Then the zip:
# exactly its five files, and kestrune.exe starts from the folder it is unzipped to.
windows_packages_check() {
    local dir=$1 version check c user programs docs menu key before
    version=$(project_version)
    check=$(mktemp -d)
    mkdir -p "$check/home"
    user=$(id -un)
    (
        export HOME="$check/home"  # Wine links Documents to the home's: keep it a scratch one
        wine_prefix "$check" ""
        c="$WINEPREFIX/drive_c"
        programs="$c/Program Files/Kestrune"
        docs="$c/users/$user/Documents/Kestrune"
        menu="$c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kestrune.lnk"
        key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrune'
        /usr/lib/wine/wine64 "$dir/kestrune-$version-setup.exe" /S
        /usr/lib/wine/wineserver -w
        for f in kestrune.exe LICENSE.txt 说明.txt uninstall.exe examples/indata1.txt \
            examples/indata2.txt examples/fittings.txt; do
            [ -f "$programs/$f" ] || { echo "setup: $f is missing" >&2; exit 1; }
        done
        cmp "$docs/indata1.txt" "$source_dir/examples/indata1.txt"
        [ -f "$menu" ] || { echo "setup: no Start-menu entry" >&2; exit 1; }
        /usr/lib/wine/wine64 reg query "$key" /v DisplayVersion /reg:64 | grep -q "$version"
        /usr/lib/wine/wine64 reg query "$key" /v UninstallString /reg:64 >/dev/null
        /usr/lib/wine/wine64 start /unix "$menu"
        wait_for_program "$docs/outdata.txt"
        /usr/lib/wine/wineserver -k
        before=$(md5sum <"$docs/outdata.txt")
        /usr/lib/wine/wine64 "C:\\Program Files\\Kestrune\\uninstall.exe" /S
        /usr/lib/wine/wineserver -w
        sleep 2  # the uninstaller finishes from a copy of itself
        /usr/lib/wine/wineserver -w
        [ ! -e "$programs" ] || { echo "uninstall: $programs is still there" >&2; exit 1; }
        [ ! -e "$menu" ] || { echo "uninstall: the Start-menu entry is still there" >&2; exit 1; }
        if /usr/lib/wine/wine64 reg query "$key" /reg:64 >/dev/null 2>&1; then
            echo "uninstall: the uninstall entry is still there" >&2
            exit 1
        fi
        [ "$(md5sum <"$docs/outdata.txt")" = "$before" ] && [ -f "$docs/indata1.txt" ] || {
            echo "uninstall: the working folder was touched" >&2
            exit 1
        }

        diff <(unzip -Z1 "$dir/kestrune-$version-windows-x64.zip" | sort) \
            <(printf '%s\n' LICENSE.txt fittings.txt indata1.txt indata2.txt kestrune.exe 说明.txt |
                sort)
        mkdir "$check/portable"
        unzip -q "$dir/kestrune-$version-windows-x64.zip" -d "$check/portable"
        (cd "$check/portable" && /usr/lib/wine/wine64 kestrune.exe >/dev/null 2>&1 &)
        wait_for_program "$check/portable/outdata.txt"
        /usr/lib/wine/wineserver -k
    )
    rm -rf "$check"
    echo "setup, uninstall and zip checked under Wine"
}

# The setup program (NSIS, 64-bit, pages in Simplified Chinese) and the portable zip.
windows_packages_build() {
    local dir=$1 version stage
    version=$(project_version)
    stage=$(windows_stage "$dir")
    makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" \
        -DOUTFILE="$dir/kestrune-$version-setup.exe" "$source_dir/packaging/windows/kestrune.nsi"
    # Python's zip marks the Chinese file name as UTF-8, as Windows' own unzip expects.
    rm -f "$dir/kestrune-$version-windows-x64.zip"
    python3 - "$dir/kestrune-$version-windows-x64.zip" "$stage" <<'PY'
import sys, zipfile, pathlib
out, stage = sys.argv[1], pathlib.Path(sys.argv[2])
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    for name in ["kestrune.exe", "indata1.txt", "indata2.txt", "fittings.txt", "LICENSE.txt",
                 "说明.txt"]:
        z.write(stage / name, name)
PY
}

# The README's pictures of the Windows program: kestrune.exe under Wine, driven as an engineer
# would, in a prefix of its own where Wine's dialog fonts borrow Chinese glyphs from Debian's
# AR PL UMing (a Chinese Windows has them of its own).
windows_screenshots() {
    local dir=${build_dir}-windows work key
    [ -f "$dir/app/kestrune.exe" ] || windows
    start_virtual_display
    wine_prefix "$dir/screenshots" 1366x768
    for key in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
        /usr/lib/wine/wine64 reg add \
            'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$key" \
            /t REG_MULTI_SZ /d 'uming.ttc,AR PL UMing CN' /f >/dev/null 2>&1
    done
    /usr/lib/wine/wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v SimSun /d 'AR PL UMing CN' /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w || true
    work=$(mktemp -d)
    cp "$source_dir/examples/"*.txt "$work/"
    (cd "$work" && /usr/lib/wine/wine64 "$dir/app/kestrune.exe" &)
    sleep 6
    # The main window is centred on the 1366 x 768 desktop: Text1, then 确定.
    xdotool mousemove 520 270 click 1 && sleep 0.5 && xdotool type --delay 60 10000 && sleep 0.5
    import -window root -crop 1366x768+0+0 "$source_dir/docs/windows-main-window.png"
    xdotool mousemove 523 494 click 1 && sleep 2
    import -window root -crop 1366x768+0+0 "$source_dir/docs/windows-diameter-choice.png"
    xdotool type 20 && xdotool key Return && sleep 2
    import -window root -crop 1366x768+0+0 "$source_dir/docs/windows-result-window.png"
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    cmp "$work/outdata.txt" <(printf '%s\r\n' "$(head -n 1 "$work/outdata.txt" | tr -d '\r')" \
        ' 10000         12000         412.71        20            .329          101.17 ')
    rm -rf "$work"
    echo "screenshots in $source_dir/docs/windows-*.png"
}

run_program() {
    local program="$build_dir/app/kestrune"
    # The program reads and writes its files in the working folder: give it one of its own.
    local work=${KESTRUNE_WORK:-$HOME/Kestrune}
    mkdir -p "$work"
    for f in indata1.txt indata2.txt; do
        [ -e "$work/$f" ] || cp "$source_dir/examples/$f" "$work/$f"
    done
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        cat >&2 <<MSG
There is no display to open the window on. Either start this from a desktop session, or
run it on a virtual display:  xvfb-run -a bash build.sh run
The working folder is $work (indata1.txt, indata2.txt, outdata.txt).
MSG
        return 1
    fi
    echo "Working folder: $work"
    cd "$work" && exec "$program"
}

# Builds the .deb, unpacks it into a scratch root and checks that the installed program links,
# starts offscreen from its menu launcher in a home folder holding the example table, that its
# desktop entry and AppStream metadata are valid, and that lintian finds no error in it.
package() {
    local dir=${build_dir}-package scratch deb
    # Debian's hardening flags (stack protector, fortified functions, full RELRO, bind now);
    # they leave the arithmetic as it is.
    flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
    build "$dir" -DCMAKE_BUILD_TYPE=Release -DKESTRUNE_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
        -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)"
    (cd "$dir" && cpack -G DEB)
    deb=$(ls "$dir"/kestrune_*.deb)
    scratch=$(mktemp -d)
    dpkg-deb -x "$deb" "$scratch/root"
    desktop-file-validate "$scratch/root/usr/share/applications/kestrune.desktop"
    appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/local.kestrune.kestrune.metainfo.xml"
    grep -q '^License: GPL-3+' "$scratch/root/usr/share/doc/kestrune/copyright"
    # The project has no public address yet, so its maintainer's mail host is not a real one.
    lintian --fail-on error --suppress-tags bogus-mail-host,bogus-mail-host-in-debian-changelog "$deb"
    if ldd "$scratch/root/usr/bin/kestrune" | grep -q 'not found'; then
        ldd "$scratch/root/usr/bin/kestrune"
        echo "the packaged program does not link" >&2
        return 1
    fi
    mkdir "$scratch/home"
    cp "$scratch/root/usr/share/kestrune/examples/"*.txt "$scratch/home/"
    local rc=0
    (cd / && HOME="$scratch/home" PATH="$scratch/root/usr/bin:$PATH" QT_QPA_PLATFORM=offscreen \
        timeout 5 "$scratch/root/usr/libexec/kestrune/kestrune-from-menu") || rc=$?
    # Still running after 5 s (124) with the log header written: started in the home folder.
    if [ "$rc" -ne 124 ] || [ ! -s "$scratch/home/outdata.txt" ]; then
        echo "the packaged program did not start (exit $rc)" >&2
        return 1
    fi
    echo "package checked: $deb"
    rm -rf "$scratch"
}

case "${1:-}" in
    run)
        install_missing
        build "$build_dir"
        run_program
        ;;
    test)
        install_missing "${test_packages[@]}"
        build "$build_dir"
        run_tests "$build_dir"
        ;;
    sanitize)
        install_missing "${test_packages[@]}"
        sanitize
        ;;
    package)
        install_missing "${package_packages[@]}"
        package
        ;;
    fuzz)
        install_missing "${fuzz_packages[@]}"
        fuzz "${2:-60}"
        ;;
    windows)
        install_missing "${windows_packages[@]}"
        windows
        ;;
    windows-screenshots)
        install_missing "${windows_packages[@]}" fonts-wine xdotool imagemagick
        windows_screenshots
        ;;
    bench)
        install_missing
        build "$build_dir"
        scratch=$(mktemp -d)
        (cd "$scratch" && "$build_dir/bench/kestrune_bench")
        rm -rf "$scratch"
        ;;
    *)
        echo "usage: bash build.sh run | test | sanitize | fuzz [SECONDS] | package | windows | windows-screenshots | bench" >&2
        exit 2
        ;;
esac

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
set -euo pipefail
cd "$(dirname "$0")"
source_dir=$(pwd)
build_dir=${KESTRUNE_BUILD_DIR:-$source_dir/build}

packages=(cmake ninja-build g++ pkg-config libgtest-dev qt6-base-dev qt6-translations-l10n
          fonts-arphic-uming locales xvfb xauth)
fuzz_packages=(clang libclang-rt-dev)
package_packages=(dpkg-dev desktop-file-utils file appstream lintian)
windows_packages=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine wine64 xvfb)

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
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
        >/dev/null 2>&1
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
        /d "$desktop" /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w || true
}

# Everything for 64-bit Windows: the program kestrune.exe on the Win32 front-end and the
# GoogleTest suites (core, data, the windows' behaviour, and the Win32 windows themselves),
# each suite run under Wine on a virtual display.
windows() {
    local dir=${build_dir}-windows exe
    build "$dir" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUNE_GUI=OFF \
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
    echo "Windows program: $exe"
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
        install_missing
        build "$build_dir"
        run_tests "$build_dir"
        ;;
    sanitize)
        install_missing
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
    *)
        echo "usage: bash build.sh run | test | sanitize | fuzz [SECONDS] | package | windows | windows-screenshots" >&2
        exit 2
        ;;
esac

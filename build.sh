#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Kestrune on Debian as root (or with the packages present): installs what is missing, then
# runs the CMake presets (CMakePresets.json); the checks themselves are CTest tests.
#   bash build.sh run             build, start the program on the example table
#   bash build.sh test            build, run all tests
#   bash build.sh sanitize        the whole test suite under AddressSanitizer and UBSan
#   bash build.sh fuzz [SECONDS]  each fuzz target for SECONDS (default 60)
#   bash build.sh package         the Debian package, built and checked
#   bash build.sh windows         kestrune.exe, its setup and zip and the suites, tested under Wine
#   bash build.sh screenshots     the README's pictures of both programs, into docs/
#   bash build.sh bench           the sheet's speed and the start-up, the README's figures
set -euo pipefail
cd "$(dirname "$0")"
source_dir=$(pwd)

packages=(cmake ninja-build g++ pkg-config python3 libgtest-dev qt6-base-dev
          qt6-translations-l10n fonts-arphic-uming locales xvfb xauth libxlsxwriter-dev
          libhpdf-dev zlib1g-dev)
# The tests read the exports with other programs' eyes: LibreOffice recalculates the
# workbook, poppler reads the PDF.
test_packages=(poppler-utils libreoffice-calc-nogui)
fuzz_packages=(clang libclang-rt-dev)
package_packages=(dpkg-dev desktop-file-utils file appstream lintian)
windows_packages=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine wine64
                  librsvg2-bin icoutils nsis xdotool libz-mingw-w64-dev xz-utils)
screenshot_packages=(xdotool imagemagick fonts-wine)

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
    locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' || [ "$(id -u)" -ne 0 ] ||
        localedef -i de_DE -f UTF-8 de_DE.UTF-8 || true
}

# libxlsxwriter and libharu for Windows: Debian's own source packages (a deb-src entry of the
# same suite), cross-built with mingw-w64 into static libraries, once per build folder.
windows_libraries() {
    local libs=$1 work=$1/src suite package source
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
    for package in libxlsxwriter libharu; do
        source=$(ls "$work"/${package}_*.orig.tar.* | head -n 1)
        mkdir -p "$work/$package" && tar -xf "$source" -C "$work/$package" --strip-components=1
    done
    local common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake"
                  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$libs" -DZLIB_USE_STATIC_LIBS=ON)
    cmake -S "$work/libxlsxwriter" -B "$work/build-xlsxwriter" "${common[@]}" -DBUILD_TESTS=OFF \
        -DBUILD_EXAMPLES=OFF
    cmake -S "$work/libharu" -B "$work/build-libharu" "${common[@]}" -DLIBHPDF_SHARED=OFF \
        -DLIBHPDF_STATIC=ON -DLIBHPDF_EXAMPLES=OFF
    for package in xlsxwriter libharu; do
        cmake --build "$work/build-$package" && cmake --install "$work/build-$package"
    done
    rm -f "$libs"/lib/libz*  # zlib comes from Debian's static libz-mingw-w64-dev
}

# The program reads and writes its files in the working folder: give it one of its own.
run_program() {
    local work=${KESTRUNE_WORK:-$HOME/Kestrune}
    mkdir -p "$work"
    cp -n "$source_dir/examples/indata1.txt" "$source_dir/examples/indata2.txt" "$work/"
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        echo "No display to open the window on: start this from a desktop session, or on a" \
            "virtual one (xvfb-run -a bash build.sh run). The working folder is $work." >&2
        return 1
    fi
    echo "Working folder: $work"
    cd "$work" && exec "$source_dir/build/app/kestrune"
}

# Debian's hardening flags (stack protector, fortified functions, full RELRO, bind now); they
# leave the arithmetic as it is.
hardened() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }

# Configures and builds a preset; what follows the preset's name goes to the configure step.
build() { cmake --preset "$@" && cmake --build --preset "$1"; }

case "${1:-}" in
    run) install_missing && build default && run_program ;;
    test) install_missing "${test_packages[@]}" && cmake --workflow --preset default ;;
    sanitize) install_missing "${test_packages[@]}" && cmake --workflow --preset sanitize ;;
    fuzz)
        install_missing "${fuzz_packages[@]}"
        build fuzz -DKESTRUNE_FUZZ_SECONDS="${2:-60}" && ctest --preset fuzz
        ;;
    package)
        install_missing "${package_packages[@]}"
        build package -DCMAKE_CXX_FLAGS="$(hardened CPPFLAGS) $(hardened CXXFLAGS)" \
            -DCMAKE_EXE_LINKER_FLAGS="$(hardened LDFLAGS)" && ctest --preset package
        ;;
    windows)
        install_missing "${windows_packages[@]}" "${test_packages[@]}"
        windows_libraries "$source_dir/build-windows/libs" && cmake --workflow --preset windows
        ;;
    screenshots)
        install_missing "${windows_packages[@]}" "${screenshot_packages[@]}"
        windows_libraries "$source_dir/build-windows/libs" && build default && build windows
        ctest --test-dir build -L release --output-on-failure
        ctest --test-dir build-windows -L release --output-on-failure
        cp build/screenshots/*.png build-windows/screenshots/*.png docs/
        ;;
    bench)
        install_missing libxcb1-dev && build default
        scratch=$(mktemp -d) && (cd "$scratch" && "$source_dir/build/bench/kestrune_bench")
        rm -rf "$scratch"
        # The start against a bare window, on a virtual display of its own when there is none.
        start=("$source_dir/build/bench/kestrune_startup_bench" "$source_dir/build/app/kestrune"
               "$source_dir/build/bench/kestrune_bare_window" "$source_dir/examples")
        if [ -n "${DISPLAY:-}" ]; then "${start[@]}"; else xvfb-run -a "${start[@]}"; fi
        # The Windows program under Wine against a bare Win32 window, once it is built
        # (bash build.sh windows), in a fresh prefix whose wineserver is kept running.
        windows_start=("$source_dir/build-windows/app/kestrune.exe"
                       "$source_dir/build-windows/bench/kestrune_bare_window.exe")
        if [ -f "${windows_start[0]}" ] && [ -f "${windows_start[1]}" ]; then
            prefix=$(mktemp -d)
            export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
            wine_start=("$source_dir/build/bench/kestrune_startup_bench" "${windows_start[@]}"
                        "$source_dir/examples" 15 wine)
            bench_wine='wine wineboot --init >/dev/null 2>&1; wineserver -w; wineserver -p
                        "$@"; status=$?; wineserver -k; exit $status'
            if [ -n "${DISPLAY:-}" ]; then bash -c "$bench_wine" bench "${wine_start[@]}"
            else xvfb-run -a bash -c "$bench_wine" bench "${wine_start[@]}"; fi
            rm -rf "$prefix"
        else
            echo "the Windows program is not built: bash build.sh windows, then again for Wine"
        fi
        ;;
    *)
        echo "usage: bash build.sh run | test | sanitize | fuzz [SECONDS] | package | windows |" \
            "screenshots | bench" >&2
        exit 2
        ;;
esac

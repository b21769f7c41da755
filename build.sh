#!/usr/bin/env bash
# Kestrune: set up, build, test and run, on Debian as root (or with the packages present).
#   bash build.sh run    install what is missing, build, start the program on the example table
#   bash build.sh test   install what is missing, build, run all tests
set -euo pipefail
cd "$(dirname "$0")"
source_dir=$(pwd)
build_dir=${KESTRUNE_BUILD_DIR:-$source_dir/build}

packages=(cmake ninja-build g++ pkg-config libgtest-dev qt6-base-dev fonts-arphic-uming
          locales xvfb xauth)

install_missing() {
    local missing=() p
    for p in "${packages[@]}"; do
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
    cmake -S "$source_dir" -B "$build_dir" -G Ninja "$@"
    cmake --build "$build_dir"
}

run_tests() {
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure
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

case "${1:-}" in
    run)
        install_missing
        build
        run_program
        ;;
    test)
        install_missing
        build
        run_tests
        ;;
    *)
        echo "usage: bash build.sh run | test" >&2
        exit 2
        ;;
esac

#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program as the unprivileged user "nobody" when started as root; as anyone else
# it runs as it is. The program is copied where that user may run it.
set -e
program=$1
if [ "$(id -u)" -ne 0 ]; then
    exec "$program"
fi
place=$(mktemp -d)
trap 'rm -rf "$place"' EXIT
chmod 755 "$place"
cp "$program" "$place/"
cd "$place"
setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$place" "$place/$(basename "$program")"

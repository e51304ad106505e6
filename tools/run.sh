#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it in a working folder
# (the one named, else ~/Tallyra). The first start there writes Quendar.ini and a
# ready database.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/tools/install-deps.sh"
build="${TALLYRA_BUILD_DIR:-$here/build}"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target tallyra
work="${1:-$HOME/Tallyra}"
mkdir -p "$work"
cd "$work"
exec "$build/app/tallyra"

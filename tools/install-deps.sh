#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when any is missing.
# With --fuzz also clang and LLVM's tools (libFuzzer, the sanitizers and the
# symbolizer of their reports), which only the fuzz build needs.
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
  libsqlite3-dev libzip-dev mdbtools-dev mdbtools
  fonts-ipafont-gothic fonts-ipafont-mincho poppler-utils poppler-data
  googletest libgtest-dev
)
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang llvm)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"

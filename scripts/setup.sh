#!/usr/bin/env bash
# Installs what building, running and testing Tavro needs on Debian 12, once.
# Safe to run again: it only asks apt for what is missing.
set -euo pipefail

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

packages=(
  cmake ninja-build make nasm dpkg-dev pkg-config libpng-dev zlib1g-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
  binutils-mingw-w64-x86-64 mingw-w64-tools
  googletest libgtest-dev
  wine wine64 wine32:i386
  xvfb xdotool x11-utils x11-apps trayer imagemagick giflib-tools fp-utils
  clang libclang-rt-14-dev python3 libgif-dev libbenchmark-dev
  cups printer-driver-cups-pdf poppler-utils ghostscript libcups2:i386
  fonts-dejavu-core nsis
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

need_src=0
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  need_src=1
fi
need_i386=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then need_i386=1; fi

if [ "${#missing[@]}" -eq 0 ] && [ "$need_src" -eq 0 ] && [ "$need_i386" -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]:-(sources only)}" >&2
if [ "$need_i386" -eq 1 ]; then "${sudo_cmd[@]}" dpkg --add-architecture i386; fi
if [ "$need_src" -eq 1 ]; then
  # The JPEG and PNG libraries are built from Debian's own source packages, so apt needs a
  # deb-src entry for the same suites the binary packages come from.
  "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/tavro-deb-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
if [ "${#missing[@]}" -gt 0 ]; then
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

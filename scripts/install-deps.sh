#!/usr/bin/env bash
# Installs, from Debian's archive, everything Pellix needs to build, run and test.
# Only packages that are missing are installed, so a second run is quick.
set -euo pipefail

pkgs=(
  # build
  cmake ninja-build g++ pkg-config clang-format
  qt6-base-dev qt6-image-formats-plugins libgl-dev
  libtesseract-dev libleptonica-dev
  libx11-dev libxi-dev libxext-dev libxrandr-dev libxtst-dev
  libgif-dev libtiff-dev libturbojpeg0-dev
  libgtest-dev libgmock-dev
  # fonts that keep the window's layout (Calibri's metric twin) and a plain sans
  fonts-crosextra-carlito fonts-dejavu-core
  # running on a desktop
  xdg-utils xdg-user-dirs
  # the Debian package and what the desktop reads: built by CPack, checked by
  # lintian and the desktop entry and AppStream validators
  dpkg-dev lintian desktop-file-utils appstream groff-base
  # tests and benchmarks: a private X server, a window manager and X tools
  xvfb xauth openbox xdotool xclip x11-utils x11-xserver-utils
  imagemagick libjpeg-turbo-progs scrot tesseract-ocr
  # Wayland sessions: Qt's Wayland platform, and for tests a headless sway with
  # the desktop portals, pipewire (the wlroots portal needs it) and Wayland tools
  qt6-wayland dbus dbus-bin sway grim wtype wl-clipboard pipewire
  xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk xwayland
  python3-dbus python3-gi libwayland-dev
  # the fuzz target of image reading: clang with libFuzzer and the sanitizers
  clang libclang-rt-dev
  # the screen-text benchmark: pages shown by a browser and a terminal, in the
  # fonts of real desktops, with texts that Debian ships as ground truth
  xterm chromium python3 bc man-db bsdextrautils
  fonts-liberation fonts-noto-core fonts-noto-cjk
  fortune-mod fortunes-min wamerican manpages libc6-dev
  manpages-de manpages-fr manpages-ru manpages-ja manpages-zh manpages-el
)
# The recognition languages' data, from the program's language table.
mapfile -t lang_pkgs < <(awk -F'\t' '!/^#/ && NF == 5 && $5 != "-" {print $5}' \
  "$(dirname "$0")/../resources/languages.tsv")
pkgs+=("${lang_pkgs[@]}")

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Quimbal needs.
# Runs `apt-get update` once, and only when something is missing.
set -euo pipefail
PKGS=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev
  qt6-qpa-plugins qt6-l10n-tools
  libpulse-dev libxkbcommon-dev libevdev-dev libudev-dev
  libxtst-dev libx11-dev
  xvfb icewm xdotool x11-utils x11-xserver-utils x11-xkb-utils imagemagick
  pulseaudio pulseaudio-utils sox
  dbus-daemon libglib2.0-bin
  # The accessibility bus and a client of it for tests/e2e/e2e_accesible.sh.
  at-spi2-core python3-pyatspi
  fonts-dejavu-core fonts-liberation fontconfig
  clang clang-format libclang-rt-14-dev git
  dpkg-dev file lintian appstream desktop-file-utils
  # Tests in a QEMU guest (tests/vm): the guest boots Debian's kernel package,
  # which tests/vm/invitado.sh fetches itself with apt-get download when none
  # is installed (installing one rebuilds initramfs images for minutes).
  qemu-system-x86 busybox-static cpio kmod python3 udev seatd sway jq
  qt6-wayland
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# The kernel package for the guest is fetched from the package lists.
if ! ls /boot/vmlinuz-* >/dev/null 2>&1 && ! apt-cache show linux-image-amd64 >/dev/null 2>&1; then
  SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
  $SUDO apt-get update -q
fi

#!/usr/bin/env bash
# Installs the Debian 12 packages Velvasto builds and runs with. Safe to run again: packages
# already present are not downloaded, and nothing is asked.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang
  libgtest-dev libgmock-dev libbenchmark-dev libsmf-dev
  librtmidi-dev libjack-jackd2-dev jackd2 libfluidsynth-dev fluidsynth fluid-soundfont-gm timgm6mb-soundfont
  qt6-base-dev qt6-translations-l10n fonts-liberation2 fonts-noto-cjk
  xdg-utils desktop-file-utils shared-mime-info libfile-mimeinfo-perl appstream librsvg2-bin groff-base
  dbus-daemon dbus-bin playerctl
  pulseaudio pulseaudio-utils
  xvfb xdotool twm procps
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"

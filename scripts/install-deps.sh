#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, run and test, but only those
# that are missing, so that a second run needs no network. clang and its runtime library
# package (which holds libFuzzer and clang's sanitizer runtimes) serve the fuzz build; the
# g++ sanitizer runtimes come with g++ itself.
set -euo pipefail

packages=(
  cmake g++ make ccache pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-charts-dev qt6-translations-l10n
  # The SQLite driver of the history; the charts' CMake package asks for the OpenGL one.
  libqt6sql6-sqlite libqt6charts6 libqt6opengl6-dev
  fonts-liberation
  # The time zones the progression chart's days are read in (a test reads one of Paris).
  tzdata
  # The keyboard layouts of the progression map, and the X server's name for the one in use.
  libxkbcommon-dev xkb-data libxcb1-dev
  xvfb xauth xdotool openbox x11-apps x11-utils
  # The end-to-end test under Wayland: a headless compositor, its screenshots and typing,
  # and Qt's Wayland platform.
  sway grim wtype qt6-wayland
  desktop-file-utils appstream
  clang libclang-rt-14-dev sqlite3
  # The tests' own PostgreSQL server (they make their own cluster and leave the package's
  # default one alone), the history's client driver, and openssl for the server's
  # throw-away TLS certificate.
  postgresql libqt6sql6-psql openssl procps
  # The accessible tree read as a screen reader reads it (tools/atspi_dump.sh).
  dbus at-spi2-core python3-pyatspi
  # The sound test's own PulseAudio server with a null sink, its recorder, and sox to cut
  # the recording into cues.
  pulseaudio pulseaudio-utils sox
  # The test with a real screen reader: Orca, speaking through speech-dispatcher with
  # espeak-ng (its module is a package of its own).
  orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg -s "$p" >/dev/null 2>&1; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

#!/usr/bin/env bash
# Makes the Debian package of the game: a Release build with Debian's hardening flags in
# build-package/, installed under /usr with the program in /usr/games as Debian wants for
# games, and packed by CPack. Leaves the one file build/clavimo_<version>_<architecture>.deb.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cd "$here"
bash scripts/install-deps.sh

# What packing needs beyond the build: dpkg-shlibdeps and dpkg-buildflags (dpkg-dev),
# file, which CPack uses to find the programs to strip.
missing=()
for p in dpkg-dev file; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-package \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_INSTALL_BINDIR=games \
  -DCLAVIMO_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build-package --parallel 2
rm -f build-package/*.deb
(cd build-package && cpack -G DEB)

mkdir -p build
rm -f build/clavimo_*.deb
debs=(build-package/clavimo_*.deb)
[ ${#debs[@]} -eq 1 ] || { echo "expected one package, found: ${debs[*]}" >&2; exit 1; }
cp "${debs[0]}" build/
echo "build/$(basename "${debs[0]}")"

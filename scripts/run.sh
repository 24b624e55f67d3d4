#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game. The records and the settings
# live in the user's data folder, so they survive rebuilds and a fresh build/.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/install-deps.sh"
bash "$here/scripts/build.sh"
exec "$here/build/clavimo" --dossier-utilisateur

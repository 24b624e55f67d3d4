#!/usr/bin/env bash
# Configures and builds the game and its tests into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
# The compile cache serves any checkout of the project: paths are hashed relative to it.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
cmake --preset default >/dev/null
cmake --build --preset default

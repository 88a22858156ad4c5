#!/usr/bin/env bash
# Configures (extra arguments go to cmake) and builds the tree into build/.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$raiz" -B "$raiz/build" "$@" >/dev/null
cmake --build "$raiz/build" -j2

#!/usr/bin/env bash
# Configures (extra arguments go to cmake) and builds the tree into build/, or into the folder
# given with --pasta.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
pasta=build
if [[ "${1:-}" == --pasta ]]; then
  pasta="$2"
  shift 2
fi
cmake -S "$raiz" -B "$raiz/$pasta" "$@" >/dev/null
cmake --build "$raiz/$pasta" -j2

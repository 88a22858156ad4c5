#!/usr/bin/env bash
# Runs the whole test suite: installs what is missing, builds, and ends with CTest's summary.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
"$raiz/scripts/dependencias.sh" test
"$raiz/scripts/compilar.sh" -DVELORA_TESTES=ON
cd "$raiz/build"
exec ctest --output-on-failure -j2 --timeout 900

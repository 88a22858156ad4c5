#!/usr/bin/env bash
# Starts the planner: installs what is missing, builds, and runs build/bin/velora.
# The build leaves an empty dadosu.lst beside the binary when there is none.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
"$raiz/scripts/dependencias.sh" run
"$raiz/scripts/compilar.sh"
exec "$raiz/build/bin/velora" "$@"

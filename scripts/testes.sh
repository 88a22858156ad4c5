#!/usr/bin/env bash
# Runs the whole test suite: installs what is missing, builds, and ends with CTest's summary.
# With --sanitizadores the suite runs in build-san/, built with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
"$raiz/scripts/dependencias.sh" test
if [[ "${1:-}" == --sanitizadores ]]; then
  pasta=build-san
  "$raiz/scripts/compilar.sh" --pasta "$pasta" -DVELORA_TESTES=ON -DVELORA_SANITIZADORES=ON
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
  export LSAN_OPTIONS="suppressions=$raiz/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
else
  pasta=build
  "$raiz/scripts/compilar.sh" -DVELORA_TESTES=ON
fi
cd "$raiz/$pasta"
exec ctest --output-on-failure -j2 --timeout 900

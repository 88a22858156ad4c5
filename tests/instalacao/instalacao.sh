#!/usr/bin/env bash
# Both programs installed, as a desktop and a Debian system find them.
#
#   instalacao.sh destdir BUILD   installs into a DESTDIR: exactly the expected files, all of
#                                 them inside it; desktop entries and metainfo validated; icons
#                                 at their sizes; manual pages render; the installed programs
#                                 answer --version and --help without a display.
#   instalacao.sh pacote BUILD    builds the Debian package and lists it; its fields (Depends
#                                 computed from the binaries), its files, stripped programs; then
#                                 both packaged programs start from the configured bin folder (the
#                                 package's laid over it in a private mount namespace) on a desktop
#                                 of their own, the planner making its empty database in
#                                 ~/.local/share/velora.
#
# The install folders, the version and the icon sizes come from CTest's environment
# (tests/instalacao/CMakeLists.txt). A missing tool is a failure.
set -euo pipefail

modo=$1
build=$2
falhas=0
pids=()
falha() { echo "FALHA: $*" >&2; falhas=$((falhas + 1)); }
precisa() {
  for f in "$@"; do
    command -v "$f" >/dev/null || { echo "FALHA: ferramenta ausente: $f" >&2; exit 1; }
  done
}
terminar() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  [[ -z ${tmp:-} ]] || rm -rf "$tmp"
}
trap terminar EXIT
bin_rel=$PASTA_BIN
ids=(example.velora.Velora example.kesto.PaneKeeper)

# Every file an install makes, below the root it was installed into.
esperados() {
  local p=${PREFIXO#/}
  printf '%s\n' "$p/$bin_rel/velora" "$p/$bin_rel/velora-criar-base" "$p/$bin_rel/panekeeper" \
    "$p/$PASTA_DADOS/velora/README.md" "$p/$PASTA_DADOS/velora/AjudaAgenda.doc"
  for id in "${ids[@]}"; do
    printf '%s\n' "$p/$PASTA_DADOS/applications/$id.desktop" "$p/$PASTA_DADOS/metainfo/$id.metainfo.xml"
  done
  for lado in $LADOS_DOS_ICONES; do
    printf '%s\n' "$p/$PASTA_DADOS/icons/hicolor/${lado}x$lado/apps/velora.png" \
      "$p/$PASTA_DADOS/icons/hicolor/${lado}x$lado/apps/panekeeper.png"
  done
  for m in velora velora-criar-base panekeeper; do printf '%s\n' "$p/$PASTA_MANUAL/man1/$m.1.gz"; done
}

conferir_arvore() {
  local raiz=$1
  diff <(esperados | sort) <(cd "$raiz" && find . -type f | sed 's|^\./||' | sort) >"$tmp/diferenca" ||
    falha "a instalação em $raiz difere do esperado (< falta, > sobra):"$'\n'"$(cat "$tmp/diferenca")"
}

# Runs the command with an empty environment (no display) and compares its first line.
conferir_saida() {
  local esperado=$1 saida
  shift
  if ! saida=$(env -i PATH=/usr/bin:/bin "$@" 2>&1); then
    falha "$* terminou com erro: $saida"
  elif [[ $(head -n1 <<<"$saida") != "$esperado" ]]; then
    falha "$* mostrou '$(head -n1 <<<"$saida")', esperado '$esperado'"
  fi
}

case $modo in
destdir)
  precisa cmake desktop-file-validate appstreamcli groff file sqlite3
  tmp=$(mktemp -d)
  raiz=$tmp/raiz
  DESTDIR=$raiz cmake --install "$build" >"$tmp/instalacao.log"
  fora=$(sed -nE 's/^-- (Installing|Up-to-date): //p' "$tmp/instalacao.log" | grep -v "^$raiz/" || true)
  [[ -z $fora ]] || falha "instalado fora de DESTDIR: $fora"
  conferir_arvore "$raiz"

  p=$raiz$PREFIXO
  for f in "$p/$PASTA_DADOS"/applications/*.desktop; do
    saida=$(desktop-file-validate "$f" 2>&1) && [[ -z $saida ]] || falha "desktop-file-validate $f: $saida"
    icone=$(sed -n 's/^Icon=//p' "$f")
    for lado in $LADOS_DOS_ICONES; do
      png=$p/$PASTA_DADOS/icons/hicolor/${lado}x$lado/apps/$icone.png
      [[ $(file -b "$png") == "PNG image data, $lado x $lado,"* ]] || falha "ícone $png: $(file -b "$png")"
    done
    programa=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$f" | head -n1)
    [[ -x $p/$bin_rel/$programa ]] || falha "$f: Exec=$programa não está instalado"
  done
  for f in "$p/$PASTA_DADOS"/metainfo/*.metainfo.xml; do
    saida=$(appstreamcli validate --no-net "$f" 2>&1) || falha "appstreamcli validate $f: $saida"
    versao=$(grep -o '<release version="[^"]*"' "$f" | head -n1 | cut -d'"' -f2)
    [[ $versao == "$VERSAO" ]] || falha "$f: última versão $versao, o programa é $VERSAO"
  done
  # The tree as a whole: each metainfo finds its desktop entry.
  saida=$(appstreamcli validate-tree --no-net "$raiz" 2>&1) || falha "appstreamcli validate-tree: $saida"
  for m in "$p/$PASTA_MANUAL"/man1/*.1.gz; do
    saida=$(zcat "$m" | groff -k -man -Tutf8 -ww -z 2>&1) && [[ -z $saida ]] || falha "manual $m: $saida"
    zcat "$m" | grep -q "^\.TH .*$VERSAO" || falha "manual $m sem a versão $VERSAO"
  done

  conferir_saida "velora $VERSAO" "$p/$bin_rel/velora" --version
  conferir_saida "panekeeper $VERSAO" "$p/$bin_rel/panekeeper" --version
  conferir_saida "Uso: velora [--help | --version | ARGUMENTO]" "$p/$bin_rel/velora" --help
  conferir_saida "Usage: panekeeper [settings | --help | --version]" "$p/$bin_rel/panekeeper" --help
  "$p/$bin_rel/velora-criar-base" "$tmp/base.lst" || falha "velora-criar-base instalado falhou"
  [[ $(sqlite3 "$tmp/base.lst" 'pragma user_version') == 1 ]] || falha "velora-criar-base não fez a base"
  ;;

pacote)
  precisa cpack dpkg-deb dpkg-shlibdeps dpkg file unshare mount Xvfb openbox xdotool xprop sqlite3 timeout
  tmp=$(mktemp -d)
  (cd "$build" && cpack -G DEB -B "$tmp/pacote") >"$tmp/cpack.log" 2>&1 || {
    cat "$tmp/cpack.log"
    falha "cpack -G DEB falhou"
    exit 1
  }
  debs=("$tmp"/pacote/*.deb)
  [[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || { falha "cpack não fez um só .deb: ${debs[*]}"; exit 1; }
  deb=${debs[0]}
  echo "== dpkg-deb -c $(basename "$deb")"
  dpkg-deb -c "$deb"
  echo "== dpkg-deb -f $(basename "$deb")"
  dpkg-deb -f "$deb"

  [[ $(dpkg-deb -f "$deb" Package) == velora-panekeeper ]] || falha "Package: $(dpkg-deb -f "$deb" Package)"
  [[ $(dpkg-deb -f "$deb" Version) == "$VERSAO" ]] || falha "Version: $(dpkg-deb -f "$deb" Version)"
  [[ $(dpkg-deb -f "$deb" Architecture) == "$(dpkg --print-architecture)" ]] || falha "Architecture errada"
  depende=$(dpkg-deb -f "$deb" Depends)
  # From the binaries (with versions, as shlibdeps gives them), and the plugin loaded at run time.
  for d in 'libc6 (>=' 'libqt6core6 (>=' 'libqt6gui6 (>=' 'libqt6widgets6 (>=' 'libqt6multimedia6 (>=' \
    'libsqlite3-0 (>=' 'libxcb1' 'libxcb-ewmh2 (>=' 'qt6-qpa-plugins'; do
    [[ ", $depende" == *", $d"* ]] || falha "Depends sem $d: $depende"
  done

  extraido=$tmp/extraido
  dpkg-deb -x "$deb" "$extraido"
  conferir_arvore "$extraido"
  pasta_bin=$PREFIXO/$bin_rel
  for b in velora velora-criar-base panekeeper; do
    [[ $(file -b "$extraido$pasta_bin/$b") == *", stripped"* ]] || falha "$b no pacote não está sem símbolos"
  done

  [[ $(id -u) -eq 0 ]] || { falha "pôr os programas do pacote em $pasta_bin precisa de root"; exit 1; }
  [[ -d $pasta_bin ]] || { falha "a pasta $pasta_bin não existe neste sistema"; exit 1; }
  unshare --mount --propagation private "$0" iniciar "$build" "$extraido$pasta_bin" "$pasta_bin" "$tmp" ||
    falha "os programas do pacote não começaram de $pasta_bin"
  ;;

iniciar)
  # Inside a private mount namespace: the package's programs over the bin folder, a desktop of
  # their own, and a user with an empty home.
  do_pacote=$3
  pasta_bin=$4
  t=$5
  mount -t overlay overlay -o "lowerdir=$do_pacote:$pasta_bin" "$pasta_bin"
  mkfifo "$t/tela"
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$t/tela" 2>"$t/xvfb.log" &
  pids+=($!)
  read -r -t 30 tela <"$t/tela" || { falha "Xvfb não começou: $(cat "$t/xvfb.log")"; exit 1; }
  export DISPLAY=:$tela
  openbox --sm-disable >"$t/openbox.log" 2>&1 &
  pids+=($!)
  timeout 30 bash -c 'until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do sleep 0.05; done' ||
    { falha "openbox não começou"; exit 1; }
  casa=$t/casa
  mkdir -p "$casa" "$t/execucao"
  chmod 700 "$t/execucao"
  usuario=(env -i PATH=/usr/bin:/bin HOME="$casa" XDG_RUNTIME_DIR="$t/execucao" DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb
    PANEKEEPER_MACHINE_STORE="$t/maquina" XDG_CONFIG_HOME="$casa/.config")

  # The planner's first start: the empty database made, the probe passed, the first-run message.
  "${usuario[@]}" "$pasta_bin/velora" >"$t/velora.log" 2>&1 &
  pids+=($!)
  timeout 60 xdotool search --sync --onlyvisible --name '^Mensagem do Velora$' >/dev/null ||
    falha "velora não mostrou a mensagem da primeira execução: $(cat "$t/velora.log")"
  dados=$casa/.local/share/velora
  [[ $(stat -c %a "$dados" 2>&1) == 700 ]] || falha "pasta $dados: $(stat -c %a "$dados" 2>&1)"
  [[ $(sqlite3 "$dados/dadosu.lst" 'pragma user_version; select count(*) from Usuarios' 2>&1 | tr '\n' ' ') == "1 0 " ]] ||
    falha "$dados/dadosu.lst não é uma base vazia"

  # panekeeper, with no tray on this desktop, shows its dialog; a termination signal ends it well.
  "${usuario[@]}" "$pasta_bin/panekeeper" >"$t/panekeeper.log" 2>&1 &
  panekeeper=$!
  pids+=($panekeeper)
  timeout 60 xdotool search --sync --onlyvisible --name '^Kesto@PaneKeeper$' >/dev/null ||
    falha "panekeeper não mostrou o diálogo: $(cat "$t/panekeeper.log")"
  kill -TERM "$panekeeper"
  timeout 30 tail --pid="$panekeeper" -f /dev/null || falha "panekeeper não terminou com SIGTERM"
  wait "$panekeeper" || falha "panekeeper terminou com $?"
  ;;

*)
  echo "uso: instalacao.sh destdir|pacote PASTA_DE_COMPILACAO" >&2
  exit 2
  ;;
esac

if [[ $falhas -gt 0 ]]; then
  echo "$falhas falha(s)" >&2
  exit 1
fi
echo "instalacao $modo: tudo conferido"

#!/usr/bin/env bash
# A private PostgreSQL server for the planner's tests.
#   postgres_testes.sh iniciar PASTA CRIAR_BASE   makes a cluster in PASTA (initdb), starts it
#       listening only on a Unix socket in PASTA, and makes the template database velora_modelo
#       with the schema tool CRIAR_BASE; each test copies the template into a database of its own.
#   postgres_testes.sh parar PASTA                stops the server and removes PASTA.
# The server refuses to run as root: as root it runs as the unprivileged user nobody.
set -euo pipefail
acao=$1 pasta=$2

bin=$(pg_config --bindir 2>/dev/null || true)
if [[ ! -x "$bin/initdb" ]]; then
  bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
fi
if [[ ! -x "$bin/initdb" ]]; then
  echo "initdb não encontrado: instale o pacote postgresql (scripts/dependencias.sh test)" >&2
  exit 1
fi
como=()
[[ $(id -u) -eq 0 ]] && como=(runuser -u nobody --)

parar() {
  if [[ -f "$pasta/dados/postmaster.pid" ]]; then
    "${como[@]}" "$bin/pg_ctl" -D "$pasta/dados" -m immediate -w -t 60 stop >/dev/null || true
  fi
  rm -rf "$pasta"
}

case "$acao" in
  iniciar)
    criar_base=$3
    parar  # what a run that was killed left behind
    mkdir -m 700 "$pasta"
    [[ ${#como[@]} -gt 0 ]] && chown nobody "$pasta"
    "${como[@]}" "$bin/initdb" -D "$pasta/dados" -U velora -A trust -E UTF8 --locale=C --no-sync >/dev/null
    # Durability is not what these tests measure: no fsync, so a database per test is cheap.
    "${como[@]}" "$bin/pg_ctl" -D "$pasta/dados" -l "$pasta/servidor.log" -w -t 60 \
      -o "-c listen_addresses='' -k $pasta -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
      start >/dev/null
    "$bin/psql" -X -q -v ON_ERROR_STOP=1 -h "$pasta" -U velora -d postgres -c "CREATE DATABASE velora_modelo"
    "$criar_base" "postgresql:///velora_modelo?host=$pasta&user=velora"
    # SQLite's functions that the tests read the stored rows with (never the planner's).
    "$bin/psql" -X -q -v ON_ERROR_STOP=1 -h "$pasta" -U velora -d velora_modelo <<'SQL'
CREATE FUNCTION concat_sep(a text, b text, sep text) RETURNS text LANGUAGE sql IMMUTABLE
  AS $$ SELECT CASE WHEN b IS NULL THEN a WHEN a IS NULL THEN b ELSE a || sep || b END $$;
CREATE FUNCTION concat_sep(a text, b text) RETURNS text LANGUAGE sql IMMUTABLE
  AS $$ SELECT concat_sep(a, b, ',') $$;
CREATE AGGREGATE group_concat(text, text) (SFUNC = concat_sep, STYPE = text);
CREATE AGGREGATE group_concat(text) (SFUNC = concat_sep, STYPE = text);
CREATE FUNCTION concat_sep(a text, b double precision) RETURNS text LANGUAGE sql IMMUTABLE
  AS $$ SELECT concat_sep(a, b::text, ',') $$;
CREATE AGGREGATE group_concat(double precision) (SFUNC = concat_sep, STYPE = text);
CREATE FUNCTION ifnull(text, text) RETURNS text LANGUAGE sql IMMUTABLE AS $$ SELECT coalesce($1, $2) $$;
CREATE FUNCTION ifnull(double precision, text) RETURNS text LANGUAGE sql IMMUTABLE AS $$ SELECT coalesce($1::text, $2) $$;
CREATE FUNCTION ifnull(bigint, text) RETURNS text LANGUAGE sql IMMUTABLE AS $$ SELECT coalesce($1::text, $2) $$;
CREATE FUNCTION quote(text) RETURNS text LANGUAGE sql IMMUTABLE AS $$ SELECT coalesce(quote_literal($1), 'NULL') $$;
SQL
    ;;
  parar)
    parar
    ;;
  *)
    echo "uso: $0 iniciar PASTA CRIAR_BASE | parar PASTA" >&2
    exit 2
    ;;
esac

#!/usr/bin/env bash
# The stock sqlite3 tool and the library read each other's catalogue files.
#   $1: the folder of the built programs
set -euo pipefail
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

host() {   # host EXE COMMANDS...: runs a test host with one command per argument
  local exe=$1; shift
  printf '%s\n' "$@" quit | wine "$bin/$exe" | tr -d '\r'
}

# 1. A catalogue written by the library, read by the tool.
db=$work/written.db
out=$(host viewproc.exe "db-init $(winepath -w "$db")" "db-photo p1|Caf"$'\xc3\xa9'"|sun beach|value one" \
      "db-thumb p1|THUMBDATA" "db-photo p2||snow|" "db-flush")
echo "$out" | grep -q '^ok 1$' || fail "host could not write: $out"
schema=$(sqlite3 "$db" "SELECT sql FROM sqlite_master WHERE name = 'app'")
expected='CREATE TABLE `app` (  `key` VARCHAR(255) NOT NULL,  `cat` UNSIGNED INT NOT NULL DEFAULT 0,  `time` INT NOT NULL DEFAULT 0,  `level` INT NOT NULL DEFAULT 0,  `group` VARCHAR(255),  `keywords` VARCHAR(1024),  `value` TEXT,  `bin` BLOB,  PRIMARY KEY (`key`, `cat`))'
[ "$schema" = "$expected" ] || fail "schema is: $schema"
[ "$(sqlite3 "$db" "SELECT count(*) FROM sqlite_master WHERE type IN ('table','index') AND name NOT LIKE 'sqlite_autoindex%'")" = 1 ] \
  || fail "more than the one table"
[ "$(sqlite3 "$db" "SELECT value FROM app WHERE key = 'VERSION' AND cat = 1")" = "1.1" ] || fail "no VERSION row"
[ "$(sqlite3 "$db" "SELECT \`group\` FROM app WHERE key = 'p1'")" = "$(printf 'Caf\xc3\xa9')" ] || fail "group is not UTF-8"
[ "$(sqlite3 "$db" "SELECT hex(\`group\`) FROM app WHERE key = 'p1'")" = "436166C3A9" ] || fail "group bytes"
[ "$(sqlite3 "$db" "SELECT keywords || '/' || value || '/' || cat FROM app WHERE key = 'p1'")" = "sun beach/value one/8" ] || fail "row p1"
[ "$(sqlite3 "$db" "SELECT CAST(bin AS TEXT) FROM app WHERE key = 'p1'")" = "THUMBDATA" ] || fail "attachment bytes"
[ "$(sqlite3 "$db" "SELECT typeof(\`group\`) || typeof(value) FROM app WHERE key = 'p2'")" = "nullnull" ] || fail "empty texts are not NULL"
[ "$(sqlite3 "$db" "PRAGMA integrity_check")" = "ok" ] || fail "integrity"

# 2. A file made by hand with extra rows, read by the library.
hand=$work/hand.db
sqlite3 "$hand" "$expected;" \
  "INSERT INTO app (key, cat, value) VALUES ('VERSION', 1, '1.1');" \
  "INSERT INTO app (key, cat, \`group\`, keywords) VALUES ('h1', 8, 'Hand', 'sun'), ('h2', 8, 'Hand', 'rain'), ('h3', 8, NULL, 'sun'), ('x', 16, 'Hand', 'sun');" \
  "INSERT INTO app (key, cat, \`group\`) VALUES ('h4', 8, 'It''s');"
out=$(host dockproc.exe "db-init $(winepath -w "$hand")" "db-count-photos Hand" "db-count-photos" "db-search sun" "db-count-photos It's")
expected_out=$'ready\nok 1\nok 2\nok 4\nok h1 h3\nok 1\nok'
[ "$out" = "$expected_out" ] || fail "the library read the hand-made file as: $out"
echo "1 passed, 0 failed"

#!/usr/bin/env bash
# Registers (or replaces) an ODBC data source for the current user, so that a
# connect string "DSN=<name>; UID=..; PWD=.." reaches a database through
# unixODBC. Defaults to Debian's SQLite3 ODBC driver on a database file;
# with --function-module, that driver loads the SQL Server functions of
# rp_tarifario (rpsqlext.so) on every connection.
#
#   scripts/odbc-dsn.sh NAME DATABASE [--driver NAME] [--function-module PATH]
#   scripts/odbc-dsn.sh --remove NAME
set -euo pipefail

usage() {
    sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

if [ "${1:-}" = "--remove" ]; then
    [ $# -eq 2 ] || usage
    odbcinst -u -s -h -n "$2" >/dev/null 2>&1 || true
    echo "Data source $2 removed."
    exit 0
fi
[ $# -ge 2 ] || usage
name="$1"
database="$2"
shift 2
driver="SQLite3"
module=""
while [ $# -gt 0 ]; do
    case "$1" in
        --driver) driver="${2:?}"; shift 2 ;;
        --function-module) module="${2:?}"; shift 2 ;;
        *) usage ;;
    esac
done
case "$name$database$driver$module" in
    *$'\n'*|*'['*|*']'*) echo "odbc-dsn: names and paths must not hold line breaks or brackets" >&2; exit 2 ;;
esac
if ! odbcinst -q -d | grep -qxF "[$driver]"; then
    echo "odbc-dsn: the ODBC driver \"$driver\" is not registered (see odbcinst -q -d)" >&2
    exit 1
fi
case "$driver" in
    *[Ss][Qq][Ll][Ii][Tt][Ee]*)
        case "$database" in /*) ;; *) database="$(pwd)/$database" ;; esac ;;
esac

entry="[$name]
Driver=$driver
Database=$database"
[ -n "$module" ] && entry="$entry
LoadExt=$module"

odbcinst -u -s -h -n "$name" >/dev/null 2>&1 || true
printf '%s\n' "$entry" | odbcinst -i -s -h -r >/dev/null
echo "Data source $name -> $driver, $database${module:+ (functions: $module)}"

#!/usr/bin/env bash
# Starts the local PostgreSQL cluster used by the server tests (connection loss
# and recovery through the PostgreSQL ODBC driver) and makes sure the test role
# and database exist. Idempotent; meant to run as root on Debian 12, also where
# no service manager runs (containers, CI).
#
# Tests find the server through RP_TEST_PG (an ODBC connection string); when it
# is not set they use the default printed at the end.
set -euo pipefail

ver="${RP_PG_VERSION:-15}"
cluster="${RP_PG_CLUSTER:-main}"
role="${RP_PG_USER:-rp_test}"
password="${RP_PG_PASSWORD:-rp_test}"
database="${RP_PG_DATABASE:-rp_test}"

if [ "$(id -u)" -ne 0 ]; then
    exec sudo --preserve-env=RP_PG_VERSION,RP_PG_CLUSTER,RP_PG_USER,RP_PG_PASSWORD,RP_PG_DATABASE "$0" "$@"
fi
if ! command -v pg_ctlcluster >/dev/null 2>&1; then
    echo "pg-start: PostgreSQL is not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
fi

# The socket folder lives on a tmpfs that a fresh container may lack.
install -d -o postgres -g postgres -m 2775 /var/run/postgresql

if ! pg_lsclusters -h | awk '{print $1" "$2}' | grep -qx "$ver $cluster"; then
    pg_createcluster "$ver" "$cluster" >/dev/null
fi

port="$(pg_lsclusters -h | awk -v v="$ver" -v c="$cluster" '$1==v && $2==c {print $3}')"
status="$(pg_lsclusters -h | awk -v v="$ver" -v c="$cluster" '$1==v && $2==c {print $4}')"
if [ "$status" != "online" ]; then
    pg_ctlcluster "$ver" "$cluster" start
fi

for _ in $(seq 1 60); do
    pg_isready -q -h 127.0.0.1 -p "$port" && break
    sleep 0.5
done
if ! pg_isready -q -h 127.0.0.1 -p "$port"; then
    echo "pg-start: PostgreSQL $ver/$cluster does not answer on 127.0.0.1:$port" >&2
    exit 1
fi

psql_admin() {
    runuser -u postgres -- psql -X -q -v ON_ERROR_STOP=1 -p "$port" "$@"
}
sql_quote() { printf "'%s'" "${1//\'/\'\'}"; }

if [ -z "$(psql_admin -tAc "SELECT 1 FROM pg_roles WHERE rolname = $(sql_quote "$role")")" ]; then
    psql_admin -c "CREATE ROLE \"$role\" LOGIN"
fi
psql_admin -c "ALTER ROLE \"$role\" LOGIN PASSWORD $(sql_quote "$password")"
if [ -z "$(psql_admin -tAc "SELECT 1 FROM pg_database WHERE datname = $(sql_quote "$database")")" ]; then
    psql_admin -c "CREATE DATABASE \"$database\" OWNER \"$role\" ENCODING 'UTF8' TEMPLATE template0"
fi

if ! odbcinst -q -d 2>/dev/null | grep -qx '\[PostgreSQL Unicode\]'; then
    echo "pg-start: warning: the ODBC driver \"PostgreSQL Unicode\" is not registered" \
         "(package odbc-postgresql)" >&2
fi

echo "PostgreSQL $ver/$cluster is running on 127.0.0.1:$port (role $role, database $database)."
echo "Server tests use:"
echo "export RP_TEST_PG=\"DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=$port;DATABASE=$database;UID=$role;PWD=$password;\""

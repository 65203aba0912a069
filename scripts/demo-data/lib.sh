# Shell helpers of the demo and the run benchmark (sourced, not run). Needs the
# environment that `scripts/servers start` prints, and $build.

# The path of a built program, found below $build.
program() {
  local found
  found=$(find "$build" -maxdepth 2 -type f -name "$1" -perm -u+x 2>/dev/null | head -1)
  [[ -n $found ]] || { echo "$1 not found under $build; run scripts/build" >&2; return 1; }
  echo "$found"
}

# psql on the Oracle stand-in as its user; mariadb client on the test server.
pg() {
  PGPASSWORD=$QUENLOR_PG_PASSWORD "$QUENLOR_PG_PSQL" -X -q -v ON_ERROR_STOP=1 -h "$QUENLOR_PG_HOST" \
    -p "$QUENLOR_PG_PORT" -U "$QUENLOR_PG_USER" -d "$QUENLOR_PG_DATABASE" "$@"
}
my() {
  MYSQL_PWD=$QUENLOR_MYSQL_PASSWORD mariadb --no-defaults -h "$QUENLOR_MYSQL_HOST" -P "$QUENLOR_MYSQL_PORT" \
    -u "$QUENLOR_MYSQL_USER" "$@"
}

# The text form of a job's sections MainInfo, Config/Init (the option lines given as
# arguments) and both connections, the destination database being $1.
job_head() {
  local database=$1 line
  shift
  printf '[MainInfo]\nConvertName=CopyConvert\nConvertVersion=1\n[Config/Init]\nSource=Oracle\nDest=MySQL\n'
  for line in "$@"; do echo "$line"; done
  cat <<JOB
[Config/SourceConnect]
MainProperty_ProviderName=Oracle
MainProperty_Username=$QUENLOR_ORACLE_USER
MainProperty_Password=$QUENLOR_ORACLE_PASSWORD
ConnectionString=$QUENLOR_ORACLE_ODBC
UseUnicode=True
[Config/DestConnect]
MainProperty_ProviderName=MySQL
MainProperty_Server=$QUENLOR_MYSQL_HOST
MainProperty_Port=$QUENLOR_MYSQL_PORT
MainProperty_Username=$QUENLOR_MYSQL_USER
MainProperty_Password=$QUENLOR_MYSQL_PASSWORD
MainProperty_Database=$database
UseUnicode=True
JOB
}

#!/usr/bin/env bash
# Run benchmark, by hand: migrates a stand-in table of 1,000,000 rows (ids, integers,
# exact decimals, short strings, dates, a mostly-NULL column) with quenlor-run, and the
# same rows with psql \copy piped into LOAD DATA LOCAL INFILE; prints rows per second of
# both, their ratio and the peak memory of quenlor-run.
# Usage (as root): bench/run_bench.sh [ROWS]   (build in $QUENLOR_BUILD_DIR, default build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUENLOR_BUILD_DIR:-$root/build}
rows=${1:-1000000}
# shellcheck source=../scripts/demo-data/lib.sh
source "$root/scripts/demo-data/lib.sh"
run=$(program quenlor-run) || exit 1
config=$(program quenlor-config) || exit 1
[[ -x /usr/bin/time ]] || { echo "bench: needs GNU time (apt-get install time)" >&2; exit 1; }

eval "$(bash "$root/scripts/servers" start)"
now() { date +%s.%N; }

if [[ $(pg -tA -c "select count(*) from \"BENCH_RUN_ROWS\"" 2>/dev/null || echo 0) != "$rows" ]]; then
  echo "bench: creating BENCH_RUN_ROWS with $rows rows in the Oracle stand-in"
  pg <<SQL
drop table if exists "BENCH_RUN_ROWS";
create table "BENCH_RUN_ROWS" (
  "ID"      numeric(9, 0) not null constraint "PK_BENCH_RUN_ROWS" primary key,
  "QTY"     numeric(9, 0),
  "PRICE"   numeric(12, 2),
  "CODE"    varchar2(20),
  "CREATED" oracle.date,
  "SPARSE"  numeric(9, 0)
);
insert into "BENCH_RUN_ROWS"
  select g, g % 1000, (g::bigint * 7919 % 10000000) / 100.0, 'C' || lpad(g::text, 9, '0'),
         timestamp '2000-01-01' + g * interval '1 minute', case when g % 50 = 0 then g end
    from generate_series(1, $rows) g;
analyze "BENCH_RUN_ROWS";
SQL
fi

work=$(mktemp -d /tmp/quenlor-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
{
  job_head "$QUENLOR_MYSQL_DATABASE" QuoteFieldName=True UppercaseFieldName=False DropDestTable=True
  cat <<JOB
[Config/Tables]
BENCH_RUN_ROWS=bench_run_rows
[Config/FieldMatch/BENCH_RUN_ROWS]
ID=ID
QTY=QTY
PRICE=PRICE
CODE=CODE
CREATED=CREATED
SPARSE=SPARSE
JOB
} >"$work/job.txt"
"$config" pack "$work/job.txt" "$work/job.Tvcfg"

echo "bench: quenlor-run"
start=$(now)
XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config /usr/bin/time -v -o "$work/time.txt" \
  "$run" "$work/job.Tvcfg" --lang EN >"$work/run.out" 2>&1 || { cat "$work/run.out"; exit 1; }
run_s=$(awk -v a="$(now)" -v b="$start" 'BEGIN { print a - b }')
copied=$(my -N -B -e "select count(*) from \`$QUENLOR_MYSQL_DATABASE\`.bench_run_rows")
[[ $copied == "$rows" ]] || { echo "bench: only $copied rows arrived"; cat "$work/run.out"; exit 1; }
peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")

echo "bench: psql \\copy | LOAD DATA LOCAL INFILE"
my -e "drop table if exists \`$QUENLOR_MYSQL_DATABASE\`.bench_run_load;
       create table \`$QUENLOR_MYSQL_DATABASE\`.bench_run_load like \`$QUENLOR_MYSQL_DATABASE\`.bench_run_rows"
start=$(now)
pg -c "\\copy (select \"ID\", \"QTY\", \"PRICE\", \"CODE\", \"CREATED\", \"SPARSE\" from \"BENCH_RUN_ROWS\") to stdout with (format csv, null '\\N')" |
  my --local-infile=1 "$QUENLOR_MYSQL_DATABASE" -e "load data local infile '/dev/stdin' into table bench_run_load
       fields terminated by ',' optionally enclosed by '\"' lines terminated by '\n'"
load_s=$(awk -v a="$(now)" -v b="$start" 'BEGIN { print a - b }')
loaded=$(my -N -B -e "select count(*) from \`$QUENLOR_MYSQL_DATABASE\`.bench_run_load")
[[ $loaded == "$rows" ]] || { echo "bench: the bulk load gave $loaded rows"; exit 1; }

run_rate=$(awk -v r="$rows" -v s="$run_s" 'BEGIN { printf "%d", r / s }')
load_rate=$(awk -v r="$rows" -v s="$load_s" 'BEGIN { printf "%d", r / s }')
printf 'rows                        %d\n' "$rows"
printf 'quenlor-run                 %.1f s  %d rows/s  (peak RSS %d MiB)\n' "$run_s" "$run_rate" "$((peak_kb / 1024))"
printf 'psql \\copy | LOAD DATA      %.1f s  %d rows/s\n' "$load_s" "$load_rate"
printf 'ratio quenlor-run / bulk    %.2f\n' "$(awk -v a="$run_rate" -v b="$load_rate" 'BEGIN { print a / b }')"
my -e "drop table if exists \`$QUENLOR_MYSQL_DATABASE\`.bench_run_rows, \`$QUENLOR_MYSQL_DATABASE\`.bench_run_load"

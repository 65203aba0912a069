-- Oracle stand-in for the tests and the demo: PostgreSQL 15 + orafce, reached through the
-- PostgreSQL ODBC driver, so the "Oracle" provider runs its own code against it.
--
-- Mirrors of Oracle:
--   * a login user owning a schema of the same upper-case name ("QUENLOR"), which is its
--     default schema, as an Oracle user owns its schema;
--   * the dictionary views ALL_TABLES, USER_TABLES, ALL_TAB_COLUMNS, ALL_INDEXES,
--     ALL_IND_COLUMNS, ALL_IND_EXPRESSIONS, ALL_CONSTRAINTS, ALL_CONS_COLUMNS with Oracle's
--     column names and value conventions: upper-case names, DATA_TYPE texts (NUMBER,
--     VARCHAR2, NVARCHAR2, CHAR, DATE, TIMESTAMP(6), CLOB, NCLOB, BLOB, RAW, BINARY_FLOAT,
--     BINARY_DOUBLE, INTERVAL ...), DATA_PRECISION/DATA_SCALE NULL for plain NUMBER,
--     DATA_LENGTH 22 for NUMBER and byte lengths for character types, NULLABLE 'Y'/'N',
--     UNIQUENESS 'UNIQUE'/'NONUNIQUE', DESCEND 'ASC'/'DESC', CONSTRAINT_TYPE 'P'/'U'/'R'/'C';
--   * a descending index column shows as a hidden SYS_NCnnnnn$ column in ALL_IND_COLUMNS
--     with its column in ALL_IND_EXPRESSIONS ("NAME"), and the index as FUNCTION-BASED NORMAL;
--   * recycle-bin tables (names BIN$...) are listed with DROPPED = 'YES';
--   * Oracle types: orafce's VARCHAR2 (length in bytes), NVARCHAR2 (length in characters),
--     oracle.date (no fractional seconds), plus the domains below for the names PostgreSQL lacks.
-- Not mirrored:
--   * unquoted identifiers fold to lower case (Oracle: upper case), so the dictionary views
--     and their columns have lower-case names: unquoted Oracle SQL resolves, but result
--     labels come back lower-case; tables use quoted upper-case names as Oracle stores them;
--   * BLOB is plain bytea (psqlODBC binds long binary data to bytea only, not to a domain);
--   * domains take no length: RAW(n) is written RAWn (RAW16, RAW2000), FLOAT(p) FLOATp (FLOAT126),
--     NUMBER(p,s) is written numeric(p,s); timestamps hold at most 6 fractional digits; no NCHAR,
--     LONG, ROWID;
--   * ALL_* views list every schema owned by an ordinary role, not just what was granted;
--   * empty text is not NULL here, unlike Oracle's VARCHAR2; sequences, synonyms, packages,
--     TNS and Oracle's error numbers are absent (errors carry PostgreSQL SQLSTATEs).
-- Run by scripts/servers as superuser with psql variables :user and :password.

create extension if not exists orafce;

drop schema if exists "QUENLOR_OTHER" cascade;
select format('drop schema if exists %I cascade', :'user') \gexec
drop schema if exists sys cascade;

select format('create role %I login password %L', :'user', :'password')
 where not exists (select 1 from pg_roles where rolname = :'user') \gexec
select format('alter role %I password %L', :'user', :'password') \gexec
select 'create role "QUENLOR_OTHER" nologin'
 where not exists (select 1 from pg_roles where rolname = 'QUENLOR_OTHER') \gexec

create schema sys;
grant usage on schema sys to public;

-- Oracle type names PostgreSQL lacks.
create domain sys.number as numeric;
create domain sys.binary_float as real;
create domain sys.binary_double as double precision;
create domain sys.clob as text;
create domain sys.nclob as text;
create domain sys.raw16 as bytea check (octet_length(value) <= 16);
create domain sys.raw2000 as bytea check (octet_length(value) <= 2000);
-- Oracle's FLOAT is a decimal NUMBER whose precision counts binary digits.
create domain sys.float126 as numeric;

select format('create schema %I authorization %I', :'user', :'user') \gexec
create schema "QUENLOR_OTHER" authorization "QUENLOR_OTHER";
select format('grant usage on schema "QUENLOR_OTHER" to %I', :'user') \gexec

-- Oracle DATE and the Oracle functions come before PostgreSQL's own.
select format('alter role %I set search_path = "$user", sys, oracle, pg_catalog, public', :'user') \gexec
select format('alter role %I set datestyle = %L', :'user', 'ISO, YMD') \gexec
select format('alter role %I set timezone = %L', :'user', 'UTC') \gexec

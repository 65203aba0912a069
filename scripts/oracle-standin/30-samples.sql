-- Sample tables with Oracle types under quoted upper-case names, owned by the stand-in user.
select format('set role %I', :'user') \gexec
set search_path = "QUENLOR", sys, oracle, pg_catalog, public;

-- Composite primary key, a unique index and an index with a descending column.
create table "DEPT_EMP" (
  "DEPT_NO"   numeric(4, 0) not null,
  "EMP_NO"    numeric(9, 0) not null,
  "FROM_DATE" oracle.date,
  "NOTE"      varchar2(200),
  constraint "PK_DEPT_EMP" primary key ("DEPT_NO", "EMP_NO")
);
create unique index "UX_DEPT_EMP_NOTE" on "DEPT_EMP" ("NOTE");
create index "IX_DEPT_EMP_DATE" on "DEPT_EMP" ("FROM_DATE" desc, "EMP_NO");
insert into "DEPT_EMP" values
  (10, 1, '1999-01-31 00:00:00', 'first'),
  (10, 2, '2001-06-15 08:30:00', 'second'),
  (20, 1, null, null);

-- One column of each Oracle type the provider maps.
create table "ALL_TYPES" (
  "ID"          numeric(9, 0) not null constraint "PK_ALL_TYPES" primary key,
  "N_PLAIN"     number,
  "N_INT9"      numeric(9, 0),
  "N_INT18"     numeric(18, 0),
  "N_INT19"     numeric(19, 0),
  "N_DEC"       numeric(38, 8),
  "F_FLOAT"     binary_float,
  "F_DOUBLE"    binary_double,
  "S_VARCHAR2"  varchar2(4000),
  "S_NVARCHAR2" nvarchar2(2000),
  "S_CHAR"      char(10),
  "D_DATE"      oracle.date,
  "T_TS0"       timestamp(0),
  "T_TS6"       timestamp(6),
  "T_TSTZ"      timestamp(6) with time zone,
  "I_DS"        interval day to second,
  "I_YM"        interval year to month,
  "L_CLOB"      clob,
  "L_NCLOB"     nclob,
  "L_BLOB"      bytea,
  "R_RAW"       raw16
);
insert into "ALL_TYPES" ("ID") values (1);
insert into "ALL_TYPES" values
  (2, -123456789012345678901.123456789, 999999999, -999999999999999999, 1234567890123456789,
   -123456789012345678901234567890.12345678, 1.5, -2.25e-300,
   'plain text', '漢字かな 😀 Ünïcödé', 'abc', '1850-03-04 05:06:07', '1899-12-31 23:59:59',
   '2024-02-29 12:34:56.123456', '2024-02-29 12:34:56.654321+00', '3 days 04:05:06.5',
   '2 years 3 months', 'clob text', 'nclob 文字', '\x00ff10', '\x0102');

-- Forward-only reading: 200,000 rows of six columns.
create table "STREAM_ROWS" (
  "ID"      numeric(9, 0) not null constraint "PK_STREAM_ROWS" primary key,
  "CODE"    varchar2(20),
  "AMOUNT"  numeric(12, 2),
  "CREATED" oracle.date,
  "NOTE"    nvarchar2(60),
  "RATIO"   binary_double
);
insert into "STREAM_ROWS"
  select g, 'C' || lpad(g::text, 8, '0'), (g * 7 % 100000) / 100.0,
         timestamp '2000-01-01' + g * interval '1 minute',
         'row ' || g || ' ÄÖÜ', g / 3.0
    from generate_series(1, 200000) g;

-- A recycle-bin object, as Oracle lists a dropped table.
create table "BIN$k8Hn0sQ1RmKZ3w9bXJ2aYA==$0" ("ID" numeric(9, 0));

reset role;
-- The same table name in another schema: schema restrictions must keep it out.
create table "QUENLOR_OTHER"."DEPT_EMP" ("OTHER_COL" varchar2(10));
alter table "QUENLOR_OTHER"."DEPT_EMP" owner to "QUENLOR_OTHER";
analyze;

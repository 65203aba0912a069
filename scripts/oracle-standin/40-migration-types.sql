-- Source tables of the migration tests: every Oracle type the provider maps, with values that
-- must arrive unchanged (exact decimals of many digits, CJK and emoji text, microseconds, large
-- objects beyond 64 KB, NULLs), keys and indexes; and a small table whose values need the
-- importer's repairs in a narrower destination table. Decimals of unknown precision keep at most
-- 30 fraction digits: MariaDB's widest exact type, DECIMAL(65,30), holds no more.
select format('set role %I', :'user') \gexec
set search_path = "QUENLOR", sys, oracle, pg_catalog, public;

-- Composite primary key, a unique index, an index with a descending column.
create table "MIG_TYPES" (
  "K_REGION"    varchar2(10) not null,
  "K_ID"        numeric(9, 0) not null,
  "CODE"        varchar2(20),
  "N_PLAIN"     number,
  "N_INT"       numeric(9, 0),
  "N_BIG"       numeric(18, 0),
  "N_DEC"       numeric(38, 10),
  "N_MONEY"     numeric(12, 2),
  "F_FLOAT"     float126,
  "F_DOUBLE"    binary_double,
  "S_VARCHAR2"  varchar2(200),
  "S_NVARCHAR2" nvarchar2(50),
  "S_CHAR"      char(8),
  "D_DATE"      oracle.date,
  "T_TS6"       timestamp(6),
  "L_CLOB"      clob,
  "L_BLOB"      bytea,
  "R_RAW"       raw16,
  constraint "PK_MIG_TYPES" primary key ("K_REGION", "K_ID")
);
create unique index "UX_MIG_TYPES_CODE" on "MIG_TYPES" ("CODE");
create index "IX_MIG_TYPES_DATE" on "MIG_TYPES" ("D_DATE" desc, "N_INT");

insert into "MIG_TYPES" values
  ('EU', 1, 'C-001', -123456789012345678901.123456789, 999999999, -999999999999999999,
   1234567890123456789012345678.0123456789, 1234567890.12, 3.141592653589793238462643383279,
   -2.25e-300, '漢字かな混じり 한국어 text', 'Ünïcödé 文字 😀', 'abc',
   '2001-06-15 08:30:00', '2024-02-29 12:34:56.123456',
   repeat('大きなテキスト large text ', 4000),
   (select decode(string_agg(lpad(to_hex(g % 256), 2, '0'), ''), 'hex') from generate_series(0, 99999) g),
   '\x00ff10807f'),
  ('EU', 2, 'C-002', null, null, null, null, null, null, null, null, null, null, null, null, null, null, null),
  ('ASIA', 1, 'C-003', 0.000000000000000000000000000001, -1, 1, -0.0000000001, -0.01, -1e-10,
   1.5, 'x', '🎉', 'z', '1000-01-01 00:00:00', '2000-01-01 00:00:00.000001',
   'short clob 中', '\x00', '\xff'),
  ('ASIA', 2, null, 100, 0, 0, 99999999999999999999999999.9999999999, 9999999999.99, 12345678901234567890,
   123456789.125, 'tab	and ''quotes'' "double"', 'end', 'padded  ', '9999-12-31 23:59:59',
   '1999-12-31 23:59:59.999999', '', '\x', null);

-- Values for a destination whose NAME column is varchar(5) NOT NULL.
create table "MIG_REPAIR" (
  "ID"   numeric(9, 0) not null constraint "PK_MIG_REPAIR" primary key,
  "NAME" varchar2(80),
  "NOTE" nvarchar2(40)
);
insert into "MIG_REPAIR" values
  (1, 'alpha', 'fits'),
  (2, null, 'null name'),
  (3, 'twelve chars', 'too long for five'),
  (4, '中文字符测试中文', 'multibyte'),
  (5, 'beta', 'fits too'),
  (6, '中文字符测试中文中文字符测试中文中文字符测', 'wide');

reset role;
analyze;

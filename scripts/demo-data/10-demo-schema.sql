-- Sample schema of the demo, loaded into the Oracle stand-in as its user (schema QUENLOR).
-- Tables carry the DEMO_ prefix and are rebuilt on every demo run; the test fixture is
-- left alone. Oracle types as the stand-in provides them: NUMBER(p,s) as numeric(p,s),
-- VARCHAR2, NVARCHAR2, CHAR, DATE (oracle.date), TIMESTAMP(6), CLOB, BLOB (bytea).
\set ON_ERROR_STOP 1
set client_min_messages = warning;

drop table if exists "DEMO_PAYMENTS", "DEMO_CUSTOMERS", "DEMO_ORDERS", "DEMO_EMPLOYEES", "DEMO_DEPARTMENTS";

create table "DEMO_DEPARTMENTS" (
  "DEPT_ID"  numeric(4, 0) not null constraint "PK_DEMO_DEPARTMENTS" primary key,
  "NAME"     nvarchar2(60) not null,
  "LOCATION" varchar2(40),
  "CREATED"  oracle.date
);

create table "DEMO_EMPLOYEES" (
  "EMP_ID"     numeric(9, 0) not null constraint "PK_DEMO_EMPLOYEES" primary key,
  "DEPT_ID"    numeric(4, 0) not null,
  "FIRST_NAME" nvarchar2(40),
  "LAST_NAME"  nvarchar2(40),
  "EMAIL"      varchar2(80),
  "HIRED"      oracle.date,
  "SALARY"     numeric(10, 2),
  "BONUS"      numeric(10, 2),
  "UPDATED"    timestamp(6),
  "RESUME"     clob,
  "PHOTO"      bytea
);
create index "IX_DEMO_EMPLOYEES_DEPT" on "DEMO_EMPLOYEES" ("DEPT_ID");
create unique index "UX_DEMO_EMPLOYEES_EMAIL" on "DEMO_EMPLOYEES" ("EMAIL");

create table "DEMO_ORDERS" (
  "ORDER_ID" numeric(12, 0) not null constraint "PK_DEMO_ORDERS" primary key,
  "EMP_ID"   numeric(9, 0) not null,
  "ORDERED"  timestamp(6) not null,
  "AMOUNT"   numeric(14, 2) not null,
  "STATUS"   char(1),
  "REMARK"   nvarchar2(200)
);
create index "IX_DEMO_ORDERS_EMP" on "DEMO_ORDERS" ("EMP_ID", "ORDERED" desc);

-- The destination of the demo pre-creates this table with a short NAME column and a
-- NOT NULL PHONE column: the long names and the missing phones are repaired on the way.
create table "DEMO_CUSTOMERS" (
  "CUST_ID" numeric(9, 0) not null constraint "PK_DEMO_CUSTOMERS" primary key,
  "NAME"    nvarchar2(100) not null,
  "PHONE"   varchar2(30),
  "REGION"  varchar2(20)
);

-- The destination pre-creates this table refusing negative amounts: those rows end in
-- the error files.
create table "DEMO_PAYMENTS" (
  "PAY_ID"  numeric(12, 0) not null constraint "PK_DEMO_PAYMENTS" primary key,
  "CUST_ID" numeric(9, 0) not null,
  "AMOUNT"  numeric(12, 2) not null,
  "PAID"    oracle.date
);

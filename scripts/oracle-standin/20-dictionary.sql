-- The Oracle dictionary views over pg_catalog (see 10-schema.sql for what they mirror).

-- Schemas that play Oracle users: those owned by ordinary (non-superuser) roles.
create view sys.ora_schemas as
  select n.oid, n.nspname::text as owner
    from pg_namespace n join pg_roles r on r.oid = n.nspowner
   where not r.rolsuper and n.nspname not like 'pg\_%';

create view sys.ora_tables as
  select c.oid, s.owner, c.relname::text as table_name, c.relnatts
    from pg_class c join sys.ora_schemas s on s.oid = c.relnamespace
   where c.relkind in ('r', 'p');

-- Oracle's type text, lengths, precision and scale of one column.
create function sys.ora_type(typ oid, typmod int,
    out data_type text, out data_length numeric, out data_precision numeric,
    out data_scale numeric, out char_length numeric, out char_used text)
language plpgsql stable as $$
declare
  nm text;
  sch text;
  base oid;
  fmt text;
  n int;
begin
  select t.typname, tn.nspname, t.typbasetype into nm, sch, base
    from pg_type t join pg_namespace tn on tn.oid = t.typnamespace where t.oid = typ;
  fmt := format_type(typ, typmod);
  char_length := 0;
  if sch = 'sys' and nm = 'number' or nm = 'numeric' then
    data_type := 'NUMBER';
    data_length := 22;
    if typmod >= 4 then
      data_precision := ((typmod - 4) >> 16) & 65535;
      data_scale := (typmod - 4) & 65535;
    end if;
  elsif nm in ('int2', 'int4', 'int8') then
    -- Oracle's INTEGER: NUMBER(38) with scale 0.
    data_type := 'NUMBER'; data_length := 22; data_scale := 0;
  elsif sch = 'oracle' and nm = 'varchar2' or nm = 'varchar' then
    data_type := 'VARCHAR2';
    n := case when typmod >= 4 then typmod - 4 else 4000 end;
    data_length := n; char_length := n; char_used := 'B';
  elsif sch = 'oracle' and nm = 'nvarchar2' then
    data_type := 'NVARCHAR2';
    n := case when typmod >= 4 then typmod - 4 else 2000 end;
    data_length := 2 * n; char_length := n; char_used := 'C';
  elsif nm = 'bpchar' then
    data_type := 'CHAR';
    n := case when typmod >= 4 then typmod - 4 else 1 end;
    data_length := n; char_length := n; char_used := 'B';
  elsif sch = 'oracle' and nm = 'date' or nm = 'date' then
    data_type := 'DATE'; data_length := 7;
  elsif nm in ('timestamp', 'timestamptz') then
    n := case when typmod >= 0 then typmod else 6 end;
    data_type := format('TIMESTAMP(%s)', n)
                 || case when nm = 'timestamptz' then ' WITH TIME ZONE' else '' end;
    data_length := case when nm = 'timestamptz' then 13 when n = 0 then 7 else 11 end;
    data_scale := n;
  elsif nm = 'interval' then
    if fmt like 'interval year%' or fmt like 'interval month%' then
      data_type := 'INTERVAL YEAR(2) TO MONTH'; data_length := 5;
      data_precision := 2; data_scale := 0;
    else
      data_type := 'INTERVAL DAY(2) TO SECOND(6)'; data_length := 11;
      data_precision := 2; data_scale := 6;
    end if;
  elsif sch = 'sys' and nm in ('clob', 'nclob') or nm in ('text', 'bytea') then
    data_type := case when nm = 'text' then 'CLOB' when nm = 'bytea' then 'BLOB' else upper(nm) end;
    data_length := 4000;
  elsif sch = 'sys' and nm ~ '^raw[0-9]+$' then
    data_type := 'RAW'; data_length := substr(nm, 4)::numeric;
  elsif sch = 'sys' and nm ~ '^float[0-9]+$' then
    data_type := 'FLOAT'; data_length := 22; data_precision := substr(nm, 6)::numeric;
  elsif sch = 'sys' and nm = 'binary_float' or nm = 'float4' then
    data_type := 'BINARY_FLOAT'; data_length := 4;
  elsif sch = 'sys' and nm = 'binary_double' or nm = 'float8' then
    data_type := 'BINARY_DOUBLE'; data_length := 8;
  elsif base <> 0 then
    select * into data_type, data_length, data_precision, data_scale, char_length, char_used
      from sys.ora_type(base, typmod);
  else
    data_type := upper(fmt); data_length := 0;
  end if;
end $$;

create view sys.all_tables as
  select t.owner, t.table_name,
         'USERS'::text as tablespace_name, 'VALID'::text as status,
         c.reltuples::numeric as num_rows, 'N'::text as temporary, 'NO'::text as nested,
         case when t.table_name like 'BIN$%' then 'YES' else 'NO' end as dropped
    from sys.ora_tables t join pg_class c on c.oid = t.oid;

create view sys.user_tables as
  select table_name, tablespace_name, status, num_rows, temporary, nested, dropped
    from sys.all_tables where owner = current_user;

create view sys.all_tab_columns as
  select t.owner, t.table_name, a.attname::text as column_name,
         ty.data_type, null::text as data_type_mod, null::text as data_type_owner,
         ty.data_length, ty.data_precision, ty.data_scale,
         case when a.attnotnull then 'N' else 'Y' end as nullable,
         row_number() over (partition by t.oid order by a.attnum)::numeric as column_id,
         pg_get_expr(d.adbin, d.adrelid) as data_default,
         ty.char_length, ty.char_length as char_col_decl_length, ty.char_used
    from sys.ora_tables t
    join pg_attribute a on a.attrelid = t.oid and a.attnum > 0 and not a.attisdropped
    left join pg_attrdef d on d.adrelid = a.attrelid and d.adnum = a.attnum
    cross join lateral sys.ora_type(a.atttypid, a.atttypmod) ty;

create view sys.ora_index_keys as
  select i.indexrelid, i.indrelid, k.pos, k.attnum,
         (i.indoption[k.pos - 1] & 1) = 1 as descending
    from pg_index i
    cross join lateral unnest(i.indkey::int2[]) with ordinality as k(attnum, pos)
   where k.pos <= i.indnkeyatts;

create view sys.all_indexes as
  select t.owner, ic.relname::text as index_name,
         case when exists (select 1 from sys.ora_index_keys k
                            where k.indexrelid = i.indexrelid and (k.descending or k.attnum = 0))
              then 'FUNCTION-BASED NORMAL' else 'NORMAL' end as index_type,
         t.owner as table_owner, t.table_name, 'TABLE'::text as table_type,
         case when i.indisunique then 'UNIQUE' else 'NONUNIQUE' end as uniqueness,
         'USERS'::text as tablespace_name, 'VALID'::text as status
    from pg_index i
    join sys.ora_tables t on t.oid = i.indrelid
    join pg_class ic on ic.oid = i.indexrelid;

-- A descending or expression key is a hidden column, as Oracle keeps it.
create view sys.all_ind_columns as
  select t.owner as index_owner, ic.relname::text as index_name,
         t.owner as table_owner, t.table_name,
         case when k.descending or k.attnum = 0
              then 'SYS_NC' || lpad((t.relnatts + k.pos)::text, 5, '0') || '$'
              else a.attname::text end as column_name,
         k.pos::numeric as column_position,
         coalesce(ty.data_length, 34) as column_length,
         coalesce(ty.char_length, 0) as char_length,
         case when k.descending then 'DESC' else 'ASC' end as descend
    from sys.ora_index_keys k
    join sys.ora_tables t on t.oid = k.indrelid
    join pg_class ic on ic.oid = k.indexrelid
    left join pg_attribute a on a.attrelid = k.indrelid and a.attnum = k.attnum
    left join lateral sys.ora_type(a.atttypid, a.atttypmod) ty on k.attnum <> 0;

create view sys.all_ind_expressions as
  select t.owner as index_owner, ic.relname::text as index_name,
         t.owner as table_owner, t.table_name,
         case when k.attnum = 0 then pg_get_indexdef(k.indexrelid, k.pos::int, true)
              else '"' || a.attname || '"' end as column_expression,
         k.pos::numeric as column_position
    from sys.ora_index_keys k
    join sys.ora_tables t on t.oid = k.indrelid
    join pg_class ic on ic.oid = k.indexrelid
    left join pg_attribute a on a.attrelid = k.indrelid and a.attnum = k.attnum
   where k.descending or k.attnum = 0;

create view sys.all_constraints as
  select t.owner, c.conname::text as constraint_name,
         case c.contype when 'p' then 'P' when 'u' then 'U' when 'f' then 'R' else 'C' end
           as constraint_type,
         t.table_name,
         case when c.contype = 'c' then pg_get_expr(c.conbin, c.conrelid) end as search_condition,
         rs.owner as r_owner, rc.conname::text as r_constraint_name,
         'ENABLED'::text as status,
         case when c.contype in ('p', 'u') then t.owner end as index_owner,
         case when c.contype in ('p', 'u') then ic.relname::text end as index_name
    from pg_constraint c
    join sys.ora_tables t on t.oid = c.conrelid
    left join pg_class ic on ic.oid = c.conindid
    left join pg_constraint rc on c.contype = 'f' and rc.conrelid = c.confrelid
                              and rc.conindid = c.conindid and rc.contype in ('p', 'u')
    left join pg_class rt on rt.oid = rc.conrelid
    left join sys.ora_schemas rs on rs.oid = rt.relnamespace
   where c.contype in ('p', 'u', 'f', 'c');

create view sys.all_cons_columns as
  select t.owner, c.conname::text as constraint_name, t.table_name,
         a.attname::text as column_name, k.pos::numeric as position
    from pg_constraint c
    join sys.ora_tables t on t.oid = c.conrelid
    cross join lateral unnest(c.conkey) with ordinality as k(attnum, pos)
    join pg_attribute a on a.attrelid = c.conrelid and a.attnum = k.attnum
   where c.contype in ('p', 'u', 'f');

create view sys.all_users as
  select owner as username from sys.ora_schemas;

grant select on all tables in schema sys to public;

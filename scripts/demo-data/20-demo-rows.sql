-- Rows of the demo schema: thousands of rows, CJK and other non-Latin text, large
-- objects, dates and timestamps, mostly-NULL columns, and a handful of rows the
-- destination repairs or refuses.
\set ON_ERROR_STOP 1
set client_min_messages = warning;

insert into "DEMO_DEPARTMENTS"
select g,
       (array['研发部', '销售部', 'Marketing', '人事部', 'Finance', 'Support', '物流部', 'Legal',
              'Einkauf', 'Qualität', '東京支社', 'Research'])[g],
       (array['北京', 'Shanghai', 'Berlin', '深圳', 'London', 'Paris', '广州', 'Madrid',
              'München', 'Zürich', '東京', 'Boston'])[g],
       timestamp '2001-01-01 08:00:00' + (g * 97) * interval '1 day'
  from generate_series(1, 12) g;

insert into "DEMO_EMPLOYEES"
select g,
       1 + g % 12,
       (array['伟', '芳', 'Anna', 'Jürgen', '娜', 'Olivia', '敏', 'Lukas', '静', 'Marta'])[1 + g % 10],
       (array['王', '李', 'Schmidt', 'Müller', '张', 'Smith', '刘', 'García', '陈', 'Rossi'])[1 + g % 7],
       'emp' || g || '@example.com',
       timestamp '2005-03-01 09:00:00' + (g * 13) * interval '1 day',
       3000 + (g * 7919 % 900000) / 100.0,
       case when g % 17 = 0 then (g % 500) + 0.5 end,
       timestamp '2024-01-01 00:00:00.000001' + g * interval '3 minutes 7.123457 seconds',
       '简历 ' || g || E'\n' || repeat('经验 experience 経験 ', 20 + g % 30),
       case when g % 5 = 0 then decode(repeat(lpad(to_hex(g), 8, '0'), 64), 'hex') end
  from generate_series(1, 5000) g;

insert into "DEMO_ORDERS"
select g,
       1 + g % 5000,
       timestamp '2023-06-01 00:00:00' + g * interval '17 minutes 3.25 seconds',
       (g * 104729 % 10000000) / 100.0,
       (array['N', 'P', 'S', 'C'])[1 + g % 4],
       case when g % 3 = 0 then '订单备注 ' || g || ' — note ' || g end
  from generate_series(1, 20000) g;

-- Every 97th name is longer than the destination's 20 characters; every 250th phone is
-- missing although the destination column is NOT NULL.
insert into "DEMO_CUSTOMERS"
select g,
       case when g % 97 = 0 then '株式会社 ' || g || ' International Trading Company'
            else 'Kunde ' || g || ' 客户' end,
       case when g % 250 = 0 then null else '+86 10 ' || lpad((g * 7)::text, 8, '0') end,
       (array['East', 'West', 'North', 'South', '华东', '华南'])[1 + g % 6]
  from generate_series(1, 2000) g;

-- Five refunds booked as negative amounts, which the destination refuses.
insert into "DEMO_PAYMENTS"
select g,
       1 + g % 2000,
       case when g in (101, 777, 1500, 2222, 2999) then -(g % 100) - 0.99
            else 10 + (g * 31 % 50000) / 100.0 end,
       timestamp '2022-01-01 10:00:00' + g * interval '2 hours'
  from generate_series(1, 3000) g;

-- Only the demo tables: a plain ANALYZE warns about every catalogue table it may not touch.
analyze "DEMO_DEPARTMENTS", "DEMO_EMPLOYEES", "DEMO_ORDERS", "DEMO_CUSTOMERS", "DEMO_PAYMENTS";

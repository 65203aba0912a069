-- MariaDB side of the demo: its own database, and the two tables the job finds already
-- there (it neither drops nor empties destination tables).
DROP DATABASE IF EXISTS quenlor_demo;
CREATE DATABASE quenlor_demo CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
USE quenlor_demo;
CREATE TABLE demo_customers (
  CUST_ID INT NOT NULL PRIMARY KEY,
  NAME    VARCHAR(20) NOT NULL,
  PHONE   VARCHAR(30) NOT NULL,
  REGION  VARCHAR(20)
);
CREATE TABLE demo_payments (
  PAY_ID  BIGINT NOT NULL PRIMARY KEY,
  CUST_ID INT NOT NULL,
  AMOUNT  DECIMAL(12,2) NOT NULL CHECK (AMOUNT >= 0),
  PAID    DATETIME
);

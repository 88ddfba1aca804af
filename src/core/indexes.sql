-- The list reads listed orders (dj_type >= 0) a page at a time, newest order number
-- first and then newest row, and counts them, along these indexes without reading
-- a row. Created after the upgrade, because an older database gains NumSign only then.
CREATE INDEX IF NOT EXISTS listed_all ON order_data (NumSign) WHERE dj_type >= 0;
CREATE INDEX IF NOT EXISTS listed_kd ON order_data (kd_sign, NumSign) WHERE dj_type >= 0;
CREATE INDEX IF NOT EXISTS listed_fh ON order_data (fh_sign, NumSign) WHERE dj_type >= 0;
CREATE INDEX IF NOT EXISTS listed_sender ON order_data (my_id, NumSign) WHERE dj_type >= 0;
-- A capture lists its seller's orders still to print.
CREATE INDEX IF NOT EXISTS listed_sender_kd ON order_data (my_id, kd_sign, NumSign) WHERE dj_type >= 0;
-- The courier filter lists the couriers the orders name.
CREATE INDEX IF NOT EXISTS listed_courier ON order_data (delivery) WHERE dj_type >= 0;
CREATE INDEX IF NOT EXISTS absorbed_orders ON order_data (NumSign) WHERE dj_type < 0;
-- The list's indexes before it was read a page at a time.
DROP INDEX IF EXISTS order_list_all;
DROP INDEX IF EXISTS order_list_kd;
DROP INDEX IF EXISTS order_list_fh;
DROP INDEX IF EXISTS order_list_sender;
-- The look-ups of capture, merging and import.
CREATE INDEX IF NOT EXISTS order_by_sign ON order_data (order_sign);
-- The import's same-receiver check compares the name and the split address; a
-- look-up by name alone walks the same index, so no index of the name alone is
-- kept up at every insert.
CREATE INDEX IF NOT EXISTS order_by_receiver ON order_data (buy_name, buy_address_sheng, buy_address_shi, buy_address_xian, buy_address);
DROP INDEX IF EXISTS order_by_name;
-- The 填写运单号 mode asks whether a scanned number is on another order already.
CREATE INDEX IF NOT EXISTS order_by_tracking ON order_data (wuliu_code);
-- No look-up finds orders by the street address alone; its index only slowed
-- every insert down.
DROP INDEX IF EXISTS order_by_address;

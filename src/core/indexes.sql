-- Indexes for the list query ("dj_type >= 0" + print state, newest order number first)
-- and for the look-ups of capture, merging and import. Created after the upgrade,
-- because an older database gains NumSign only then.
CREATE INDEX IF NOT EXISTS order_list_all ON order_data (NumSign, dj_type);
CREATE INDEX IF NOT EXISTS order_list_kd ON order_data (kd_sign, NumSign, dj_type);
CREATE INDEX IF NOT EXISTS order_list_fh ON order_data (fh_sign, NumSign, dj_type);
CREATE INDEX IF NOT EXISTS order_list_sender ON order_data (my_id, NumSign);
CREATE INDEX IF NOT EXISTS order_by_sign ON order_data (order_sign);
CREATE INDEX IF NOT EXISTS order_by_address ON order_data (buy_address);
CREATE INDEX IF NOT EXISTS order_by_name ON order_data (buy_name);
-- The import's same-receiver check compares the name and the split address.
CREATE INDEX IF NOT EXISTS order_by_receiver ON order_data (buy_name, buy_address_sheng, buy_address_shi, buy_address_xian, buy_address);
-- The 填写运单号 mode asks whether a scanned number is on another order already.
CREATE INDEX IF NOT EXISTS order_by_tracking ON order_data (wuliu_code);

-- The indexes of the shared store: the list reads newest order number first with
-- orders without one last, which a server index must state to be walked in order.
CREATE INDEX IF NOT EXISTS order_list_all ON order_data (NumSign DESC NULLS LAST, dj_type);
CREATE INDEX IF NOT EXISTS order_list_kd ON order_data (kd_sign, NumSign DESC NULLS LAST, dj_type);
CREATE INDEX IF NOT EXISTS order_list_fh ON order_data (fh_sign, NumSign DESC NULLS LAST, dj_type);
CREATE INDEX IF NOT EXISTS order_list_sender ON order_data (my_id, NumSign DESC NULLS LAST);
CREATE INDEX IF NOT EXISTS order_by_sign ON order_data (order_sign);
CREATE INDEX IF NOT EXISTS order_by_address ON order_data (buy_address);
CREATE INDEX IF NOT EXISTS order_by_name ON order_data (buy_name);
CREATE INDEX IF NOT EXISTS order_by_receiver ON order_data (buy_name, buy_address_sheng, buy_address_shi, buy_address_xian, buy_address);
-- The 填写运单号 mode asks whether a scanned number is on another order already.
CREATE INDEX IF NOT EXISTS order_by_tracking ON order_data (wuliu_code);

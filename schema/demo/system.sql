-- Demo operators of the system database. Accounts may share it, so rows that
-- are already there stay as they are.

INSERT INTO lxsystem.qd_user (cuser_id, cuser_name, iAdmin, nState) VALUES
    ('admin', '系统管理员', 1, 0),
    ('001', '张伟', 0, 0),
    ('002', '李娜', 0, 0),
    ('003', '王强', 0, NULL),
    ('004', '刘洋', 0, 1),
    ('005', '陈静', 0, 0),
    ('07', '周(小)明', 0, 0)
ON CONFLICT DO NOTHING;

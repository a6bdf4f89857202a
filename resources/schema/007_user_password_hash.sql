-- Passwords are kept as salted PBKDF2 hashes
-- ("pbkdf2-sha256$iterations$salt$hash", about 90 characters), no longer
-- as 32-character MD5 digests, so Passwd is widened. SQLite cannot change
-- a column's declared type in place: the table is rebuilt and every row
-- copied with its ID.

CREATE TABLE UserTable_widened (
    ID        INTEGER PRIMARY KEY AUTOINCREMENT,
    UserName  TEXT,
    Passwd    VARCHAR(255) DEFAULT '',
    RoleName  TEXT,
    lastlogin DATE,
    Remark    VARCHAR(200)
);
INSERT INTO UserTable_widened (ID, UserName, Passwd, RoleName, lastlogin, Remark)
    SELECT ID, UserName, coalesce(Passwd, ''), RoleName, lastlogin, Remark FROM UserTable;
DROP TABLE UserTable;
ALTER TABLE UserTable_widened RENAME TO UserTable;

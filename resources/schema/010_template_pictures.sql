-- Template pictures kept in the database, so that a template designed at
-- one desk of an office prints at every desk sharing the database. Each
-- desk keeps a copy in its own Image/ folder, refreshed when the stored
-- picture's hash differs from the copy's. FileName is the name the
-- template's ImgFile gives the picture in that folder.

CREATE TABLE IF NOT EXISTS TemplatePicture (
    FileName TEXT NOT NULL PRIMARY KEY,
    Picture BLOB NOT NULL,
    PictureSize INTEGER NOT NULL,
    PictureHash TEXT NOT NULL,
    StoredAt TEXT NOT NULL
);

#include "templates/template_picture_store.h"

#include "app/alert.h"
#include "app/database.h"
#include "templates/template_package.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>

namespace billprint {

namespace {

// -1: the engine decides; 0 or 1: a ForcedSharing in force.
int forcedSharing = -1;

QString sha256Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024 * 1024), 'f', 1);
}

QString tooLarge(const QString &fileName, qint64 bytes)
{
    return QStringLiteral("底图 %1 有 %2 MB，超过 %3 MB 的上限。")
        .arg(fileName, megabytes(bytes), QString::number(TemplatePictureStore::MaxPictureBytes / (1024 * 1024)));
}

// True when the file at `path` holds exactly the picture of `size` bytes
// and `hash`; a file of another size is not read.
bool holdsPicture(const QString &path, qint64 size, const QString &hash)
{
    QFile file(path);
    if (file.size() != size || !file.open(QIODevice::ReadOnly))
        return false;
    QCryptographicHash sum(QCryptographicHash::Sha256);
    sum.addData(&file);
    return QString::fromLatin1(sum.result().toHex()) == hash;
}

} // namespace

TemplatePictureStore::TemplatePictureStore(const Database &db, QString imageFolder)
    : m_db(db), m_imageFolder(std::move(imageFolder)), m_shared(sharesPictures(db))
{
}

bool TemplatePictureStore::sharesPictures(const Database &db)
{
    if (forcedSharing >= 0)
        return forcedSharing == 1;
    return db.dialect().engine() == SqlEngine::Postgres;
}

TemplatePictureStore::ForcedSharing::ForcedSharing(bool shared) : m_previous(forcedSharing)
{
    forcedSharing = shared ? 1 : 0;
}

TemplatePictureStore::ForcedSharing::~ForcedSharing()
{
    forcedSharing = m_previous;
}

bool TemplatePictureStore::publish(const QString &fileName, QString *error) const
{
    return !m_shared || store(fileName, error);
}

bool TemplatePictureStore::store(const QString &fileName, QString *error) const
{
    if (!TemplatePackage::isSafePictureName(fileName)) {
        *error = QStringLiteral("底图名称不安全：") + fileName;
        return false;
    }
    QFile file(path(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("底图无法读取：") + QDir::toNativeSeparators(file.fileName());
        return false;
    }
    if (file.size() > MaxPictureBytes) {
        *error = tooLarge(fileName, file.size()) + QStringLiteral("不能存入共享数据库。");
        return false;
    }
    const QByteArray bytes = file.readAll();
    QString dbError;
    // One statement: insert or replace by name, atomic against a second
    // desk storing the same picture at the same moment.
    if (!m_db.exec(QStringLiteral("insert into TemplatePicture (FileName, Picture, PictureSize, PictureHash, StoredAt)"
                                  " values (?,?,?,?,?) on conflict (FileName) do update set"
                                  " Picture=excluded.Picture, PictureSize=excluded.PictureSize,"
                                  " PictureHash=excluded.PictureHash, StoredAt=excluded.StoredAt"),
                   {fileName, bytes, bytes.size(), sha256Hex(bytes),
                    QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))},
                   &dbError)) {
        *error = QStringLiteral("底图 %1 无法存入数据库：%2").arg(fileName, dbError);
        return false;
    }
    return true;
}

bool TemplatePictureStore::ensureLocal(const QString &fileName, QString *error) const
{
    if (!m_shared || fileName.isEmpty())
        return true;
    if (!TemplatePackage::isSafePictureName(fileName)) {
        *error = QStringLiteral("底图名称不安全：") + fileName;
        return false;
    }
    // Size and hash first: the picture itself is read only when the folder
    // lacks it, and only within the limit.
    QSqlQuery head = m_db.prepare(
        QStringLiteral("select length(Picture), PictureHash from TemplatePicture where FileName=?"));
    head.addBindValue(fileName);
    if (!head.exec()) {
        *error = QStringLiteral("底图 %1 无法从数据库读取：%2").arg(fileName, head.lastError().text());
        return false;
    }
    if (!head.next())
        return true;  // never stored: the folder's file (or none) as before
    const qint64 size = head.value(0).toLongLong();
    const QString hash = head.value(1).toString();
    if (size > MaxPictureBytes) {
        *error = tooLarge(fileName, size) + QStringLiteral("未从共享数据库取回。");
        return false;
    }
    if (holdsPicture(path(fileName), size, hash))
        return true;
    // Another desk may store a new version meanwhile: the limit is asked
    // again and the bytes are checked against the hash read with them.
    QSqlQuery body = m_db.prepare(QStringLiteral(
        "select Picture, PictureHash from TemplatePicture where FileName=? and length(Picture) <= ?"));
    body.addBindValue(fileName);
    body.addBindValue(MaxPictureBytes);
    if (!body.exec() || !body.next()) {
        *error = QStringLiteral("底图 %1 无法从数据库读取：%2").arg(fileName, body.lastError().text());
        return false;
    }
    const QByteArray bytes = body.value(0).toByteArray();
    if (sha256Hex(bytes) != body.value(1).toString()) {
        *error = QStringLiteral("数据库中的底图 %1 已损坏（校验值不符），未取回。").arg(fileName);
        return false;
    }
    QDir().mkpath(m_imageFolder);
    // Written beside the old copy and renamed over it: a desk never shows
    // half a picture.
    QSaveFile out(path(fileName));
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        *error = QStringLiteral("底图无法写入：%1（%2）").arg(QDir::toNativeSeparators(path(fileName)), out.errorString());
        return false;
    }
    return true;
}

bool TemplatePictureStore::publishAll(QStringList *missing, QString *error) const
{
    if (!m_shared)
        return true;
    QSqlQuery q = m_db.prepare(QStringLiteral("select distinct ImgFile from CKTypeTable"));
    if (!q.exec()) {
        *error = q.lastError().text();
        return false;
    }
    QStringList names;
    while (q.next()) {
        const QString name = q.value(0).toString().trimmed();
        if (name.isEmpty())
            continue;
        if (TemplatePackage::isSafePictureName(name) && QFileInfo(path(name)).isFile())
            names << name;
        else
            *missing << name;
    }
    return m_db.transaction([&] {
        for (const QString &name : std::as_const(names))
            if (!store(name, error))
                return false;
        return true;
    }, error);
}

bool TemplatePictureStore::forget(const QString &fileName, QString *error) const
{
    if (!m_shared)
        return true;
    return m_db.exec(QStringLiteral("delete from TemplatePicture where FileName=?"), {fileName}, error);
}

QString localTemplatePicture(const Database &db, const QString &imageFolder, const QString &fileName)
{
    QString error;
    if (!TemplatePictureStore(db, imageFolder).ensureLocal(fileName, &error))
        tell(error, QStringLiteral("提示"), AlertIcon::Warning);
    return imageFolder + fileName;
}

} // namespace billprint

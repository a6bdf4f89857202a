#include "templates/template_catalogue.h"

#include "app/database.h"
#include "app/lookups.h"
#include "templates/check_type.h"
#include "templates/ck_control.h"
#include "templates/template_error.h"
#include "templates/template_package.h"
#include "templates/template_picture_store.h"

#include <QFile>

namespace billprint {

namespace {

const QString kInvalidName = QStringLiteral("输入了无效的字符(引号\\?\\*\\(\\)\\%)!");

} // namespace

QString TemplateCatalogue::cleanLastName(const QString &answer)
{
    QString name = answer.trimmed();
    for (const QString &bad : {QStringLiteral("("), QStringLiteral(")"), QStringLiteral("（"), QStringLiteral("）"),
                               QStringLiteral("'"), QStringLiteral("%"), QStringLiteral("*"), QStringLiteral("?"),
                               QStringLiteral(" ")})
        name.remove(bad);
    return name;
}

int TemplateCatalogue::cloneTemplate(int sourceId, const QString &answer, QString *message) const
{
    std::optional<TCheckType> source = TCheckType::findById(m_db, sourceId);
    if (!source)
        throw TemplateError(QStringLiteral("找不到源模板，ID=%1").arg(sourceId));
    const QString last = cleanLastName(answer);
    if (last.isEmpty()) {
        *message = kInvalidName;
        return 0;
    }
    const QString family = source->getFirstName();
    if (TCheckType::findByFirstAndLastName(m_db, family, last)) {
        *message = QStringLiteral("模板名字已经存在,请确认是否输入了重复的名字或者改模版正被隐藏。");
        return 0;
    }
    const std::vector<CkControl> fields = CkControlStore(m_db).loadAll(sourceId);
    if (fields.empty())
        throw TemplateError(QStringLiteral("找不到源模板细节数据，ID=%1").arg(sourceId));

    // The source's picture may so far live only in a shared database.
    const TemplatePictureStore pictures(m_db, m_imageFolder);
    QString error;
    if (TemplatePackage::isSafePictureName(source->ImgFile) && !pictures.ensureLocal(source->ImgFile, &error))
        throw TemplateError(error);
    int newId = 0;
    QString target;
    const bool ok = m_db.transaction([&] {
        newId = TCheckType::nextCheckTypeId(m_db);
        TCheckType copy = *source;
        copy.CheckTypeID = newId;
        copy.ImgFile = TCheckType::newPictureName(Lookups::getTypeCodeByTypeName(family), newId, QStringLiteral("hsb"));
        copy.IniFile.clear();
        // The entry windows list and find templates by their last name, so
        // the clone must carry its own or it would stand for its source.
        copy.TypeDescribe = last;
        copy.setFullName(family, last);
        copy.save(m_db, newId);
        const CkControlStore store(m_db);
        for (CkControl f : fields) {
            f.ID = 0;
            f.CheckTypeID = newId;
            store.save(f);
        }
        // The picture goes with the rows: a failed copy undoes the clone.
        if (!TemplatePackage::isSafePictureName(source->ImgFile))
            return true;
        target = m_imageFolder + copy.ImgFile;
        QFile::remove(target);
        if (QFile::exists(m_imageFolder + source->ImgFile) && !QFile::copy(m_imageFolder + source->ImgFile, target)) {
            error = QStringLiteral("底图复制失败：") + target;
            return false;
        }
        return !QFile::exists(target) || pictures.publish(copy.ImgFile, &error);
    }, &error);
    if (!ok) {
        // The rows are undone; so is a copy the database refused to store.
        if (!target.isEmpty())
            QFile::remove(target);
        throw TemplateError(error);
    }
    return newId;
}

bool TemplateCatalogue::renameTemplate(int id, const QString &answer, QString *message) const
{
    std::optional<TCheckType> t = TCheckType::findById(m_db, id);
    if (!t)
        return false;
    const QString last = cleanLastName(answer);
    if (last.isEmpty()) {
        *message = kInvalidName;
        return false;
    }
    const QString family = t->getFirstName();
    if (const auto other = TCheckType::findByFirstAndLastName(m_db, family, last)) {
        *message = other->TypeName + QStringLiteral("模板名字已经存在,请确认是否输入了重复的名字或者该模版正被隐藏。");
        return false;
    }
    t->TypeDescribe = last;
    t->setFullName(family, last);
    return t->save(m_db) == 1;
}

bool TemplateCatalogue::deleteTemplate(int id) const
{
    const std::optional<TCheckType> t = TCheckType::findById(m_db, id);
    if (!t || !TCheckType::deleteTemplate(m_db, id))
        return false;
    const bool shared = m_db.scalar(QStringLiteral("select count(*) from CKTypeTable where ImgFile=?"), {t->ImgFile})
                            .toInt() > 0;
    if (!shared && TemplatePackage::isSafePictureName(t->ImgFile)) {
        QFile::remove(m_imageFolder + t->ImgFile);
        // A stored picture left behind only takes room: the template is
        // gone either way, so a failure here is not worth undoing it.
        QString ignored;
        TemplatePictureStore(m_db, m_imageFolder).forget(t->ImgFile, &ignored);
    }
    return true;
}

} // namespace billprint

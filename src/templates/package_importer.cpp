// Importing templates of a package: all in one transaction, pictures put
// back as they were when it fails.
#include "templates/template_package.h"

#include "app/database.h"
#include "app/lookups.h"
#include "templates/check_type.h"
#include "templates/ck_control.h"
#include "templates/name_dict.h"
#include "templates/template_error.h"
#include "templates/template_picture_store.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace billprint {

namespace {

QString text(const QVariantMap &row, const char *column, const QString &fallback = {})
{
    const QVariant v = row.value(QLatin1String(column));
    return v.isNull() || v.toString().isEmpty() ? fallback : v.toString();
}
int number(const QVariantMap &row, const char *column, int fallback)
{
    const QString t = text(row, column);
    bool ok = false;
    const int v = t.toInt(&ok);
    return ok ? v : fallback;
}

CkControl fieldFrom(const QVariantMap &row, int newId)
{
    CkControl f;
    f.CheckTypeID = newId;
    f.CtlName = text(row, "ctlname");
    f.CtlCName = text(row, "ctlcname");
    f.CtlType = text(row, "ctltype", QStringLiteral("Text"));
    f.CtlX = number(row, "ctlx", 0);
    f.CtlY = number(row, "ctly", 0);
    f.SrcX = number(row, "srcx", 10);
    f.SrcY = number(row, "srcy", 10);
    f.SrcW = number(row, "srcw", 50);
    f.SrcH = number(row, "srch", 20);
    const int w = number(row, "ctlw", 0), h = number(row, "ctlh", 0);
    // Old packages lack the print box; it is estimated from the input box.
    f.CtlW = w > 0 && h > 0 ? w : std::max(30, f.SrcW * 100 / 38);
    f.CtlH = w > 0 && h > 0 ? h : 42;
    f.CtlLH = number(row, "ctllh", 0) == 0 ? 40 : number(row, "ctllh", 40);
    f.NeedPrint = number(row, "needprint", 1);
    f.NeedShow = number(row, "needshow", 1);
    f.CtlFontName = text(row, "ctlfontname");
    f.CtlFontSize = number(row, "ctlfontsize", 0);
    f.BreakFontSize = number(row, "breakfontsize", 7);
    f.CtlFontColor = text(row, "ctlfontcolor");
    f.Bold = number(row, "bold", 0);
    f.Italic = number(row, "italic", 0);
    f.UnderLine = number(row, "underline", 0);
    f.FitParam = text(row, "fitparam");
    f.BreakNum = text(row, "breaknum");
    f.Align = text(row, "align");
    f.InitValue = text(row, "initvalue");
    f.ShowOrd = number(row, "showord", 0);
    return f;
}

TCheckType templateFrom(const QVariantMap &row)
{
    TCheckType t;
    t.TypeName = text(row, "typename");
    t.TypeFirstName = TCheckType::firstNameOf(text(row, "typefirstname"), t.TypeName);
    t.TypeDescribe = text(row, "typedescribe");
    t.XMove = number(row, "xmove", 0);
    t.YMove = number(row, "ymove", 0);
    t.THeight = number(row, "theight", 0);
    t.TWidth = number(row, "twidth", 0);
    t.GroupCompany = text(row, "groupcompany");
    t.GroupTypeArea = text(row, "grouptypearea");
    t.PHeight = number(row, "pheight", TCheckType::DefaultPHeight);
    t.PWidth = number(row, "pwidth", TCheckType::DefaultPWidth);
    t.HVPrint = number(row, "hvprint", 0);
    t.CheckBoxs = text(row, "checkboxs");
    t.IsSysCommon = number(row, "issyscommon", TCheckType::DefaultIsSysCommon);
    t.ShowOrd = number(row, "showord", 9);
    t.IsCommon = TemplateFlag::Common;
    t.Visiable = TemplateFlag::Enabled;
    t.IsDefault = TemplateFlag::NotDefault;
    return t;
}

} // namespace

QString PackageImporter::freeFullName(const QString &first, const QString &last, QString *newLast) const
{
    for (int n = 2;; ++n) {
        *newLast = last + QString::number(n);
        if (!TCheckType::findByFirstAndLastName(m_db, first, *newLast))
            return TCheckType::fullName(first, *newLast);
    }
}

namespace {

// A template replacing another of the same name keeps the place the user
// gave the old one: its default mark (else the family would be left
// without a default), its common mark and its order among the common ones.
void takeOverPlace(const TCheckType &replaced, TCheckType *t)
{
    t->IsDefault = replaced.isDefault() ? TemplateFlag::Default : TemplateFlag::NotDefault;
    t->IsCommon = replaced.isCommon() ? TemplateFlag::Common : TemplateFlag::NotCommon;
    t->ShowOrd = replaced.ShowOrd;
}

} // namespace

int PackageImporter::importOne(const PackageTemplate &source, ExistingName existing, ImportReport *report,
                               std::vector<std::pair<QString, QByteArray>> *replacedFiles) const
{
    TCheckType t = templateFrom(source.row);
    if (const auto old = TCheckType::findByTypeName(m_db, t.TypeName)) {
        if (existing == ExistingName::Replace) {
            takeOverPlace(*old, &t);
            TCheckType::deleteTemplate(m_db, old->CheckTypeID);
        } else {
            t.TypeName = freeFullName(t.TypeFirstName, t.TypeDescribe, &t.TypeDescribe);
        }
    }
    const int newId = TCheckType::newCheckTypeId(m_db);
    t.CheckTypeID = newId;
    // Without a picture the template shows the fallback picture rather
    // than naming a file that does not exist.
    if (!source.picture.isEmpty())
        t.ImgFile = TCheckType::newPictureName(Lookups::getTypeCodeByTypeName(t.TypeFirstName), newId,
                                               QStringLiteral("img"));
    else
        report->withoutPicture << t.TypeName;
    t.save(m_db, newId);
    std::vector<CkControl> fields;
    fields.reserve(source.fields.size());
    for (const QVariantMap &row : source.fields)
        fields.push_back(fieldFrom(row, newId));
    CkControlStore(m_db).saveAll(fields);
    std::vector<NameDict> names;
    for (const QVariantMap &row : source.nameDict) {
        NameDict n;
        n.CheckTypeName = text(row, "checktypename");
        n.CtlName = text(row, "ctlname");
        n.CtlLabel = text(row, "ctllabel");
        n.CtlType = text(row, "ctltype");
        n.PrintItem = number(row, "printitem", 0);
        n.ShowOrd = number(row, "showord", 0);
        n.Groups = text(row, "groups");
        n.CtlData = text(row, "ctldata");
        names.push_back(n);
    }
    // The family's own catalogue wins.
    NameDictStore(m_db).addMissing(names);
    QString error;
    for (const QVariantMap &row : source.dictionary)
        if (!m_db.exec(QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (?,?,?)"),
                       {newId, row.value(QStringLiteral("dmname")), row.value(QStringLiteral("dmvalue"))}, &error))
            throw TemplateError(error);
    if (!source.picture.isEmpty()) {
        const QString path = m_imageFolder + t.ImgFile;
        QFile previous(path);
        replacedFiles->push_back({path, previous.open(QIODevice::ReadOnly) ? previous.readAll() : QByteArray()});
        QDir().mkpath(m_imageFolder);
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(source.picture) != source.picture.size() || !out.commit())
            throw TemplateError(QStringLiteral("图片导入失败：") + out.errorString());
        // The other desks of a shared database show it from there.
        if (!TemplatePictureStore(m_db, m_imageFolder).publish(t.ImgFile, &error))
            throw TemplateError(error);
    }
    return newId;
}

bool PackageImporter::chooseSources(const TemplatePackage &package, const QStringList &chosen,
                                    std::vector<const PackageTemplate *> *sources, QString *error) const
{
    if (chosen.isEmpty()) {
        for (const PackageTemplate &t : package.templates())
            sources->push_back(&t);
    }
    for (const QString &name : chosen) {
        const PackageTemplate *t = package.find(name);
        if (!t) {
            *error = QStringLiteral("票据包中没有模板：") + name;
            return false;
        }
        sources->push_back(t);
    }
    if (sources->empty()) {
        *error = QStringLiteral("抱歉,禾朔从包里找不到可用于导入的票据！");
        return false;
    }
    return true;
}

QList<int> PackageImporter::import(const TemplatePackage &package, const QStringList &chosen, ExistingName existing,
                                   QString *error) const
{
    std::vector<const PackageTemplate *> sources;
    if (!chooseSources(package, chosen, &sources, error))
        return {};
    for (const PackageTemplate *t : sources)
        if (!t->problem.isEmpty()) {
            *error = QStringLiteral("导入失败，单据：") + t->shownName() + QStringLiteral("，") + t->problem;
            return {};
        }
    ImportReport report;
    if (!importAvailable(package, chosen, existing, &report, error))
        return {};
    return report.ids;
}

bool PackageImporter::importAvailable(const TemplatePackage &package, const QStringList &chosen,
                                      ExistingName existing, ImportReport *report, QString *error) const
{
    *report = ImportReport();
    std::vector<const PackageTemplate *> sources;
    if (!chooseSources(package, chosen, &sources, error))
        return false;
    // Pictures written so far, with what the file held before (empty: none).
    std::vector<std::pair<QString, QByteArray>> written;
    const bool ok = m_db.transaction([&] {
        int done = 0;
        for (const PackageTemplate *t : sources) {
            if (!t->problem.isEmpty())
                report->refused.push_back({t->shownName(), t->problem});
            else {
                try {
                    report->ids << importOne(*t, existing, report, &written);
                } catch (const TemplateError &e) {
                    *error = QStringLiteral("导入失败，单据：") + t->shownName() + QStringLiteral("，") + e.message();
                    return false;
                }
            }
            if (progress)
                progress(++done, int(sources.size()));
        }
        return true;
    }, error);
    if (ok)
        return true;
    *report = ImportReport();
    for (auto it = written.rbegin(); it != written.rend(); ++it) {
        if (it->second.isEmpty()) {
            QFile::remove(it->first);
            continue;
        }
        QSaveFile back(it->first);
        if (back.open(QIODevice::WriteOnly) && back.write(it->second) == it->second.size())
            back.commit();
    }
    return false;
}

} // namespace billprint

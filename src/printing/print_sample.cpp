#include "printing/print_sample.h"

#include "app/app_context.h"
#include "app/lookups.h"
#include "templates/check_type.h"
#include "templates/ck_control.h"
#include "templates/name_dict.h"
#include "templates/template_error.h"

namespace billprint {

SampleValueSource::SampleValueSource(const Database &db, int checkTypeId, const QString &family)
{
    QHash<QString, CkControl> fields;
    for (const CkControl &field : CkControlStore(db).loadAll(checkTypeId))
        fields.insert(field.CtlName.trimmed().toUpper(), field);

    for (const NameDict &item : NameDictStore(db).listFamily(family)) {
        const QString key = item.CtlName.trimmed().toUpper();
        const auto field = fields.constFind(key);
        if (field == fields.constEnd() || !field->isShown())
            continue;
        QString sample;
        if (item.kind() == QLatin1String("CHECKBOX"))
            sample = QStringLiteral("√");
        else if (!field->InitValue.trimmed().isEmpty())
            sample = field->InitValue;
        else if (!item.CtlData.trimmed().isEmpty())
            sample = item.CtlData;
        else
            sample = item.CtlLabel;
        m_values.insert(key, sample);
    }
    m_currencyCode = Lookups(db).getMoneyCodeByName(QStringLiteral("人民币"));
}

QString SampleValueSource::value(const QString &name) const
{
    return m_values.value(name.trimmed().toUpper());
}

bool printSampleBill(AppContext &context, int checkTypeId, PrintOutput &output, QString *error)
{
    QString readError;
    const std::optional<TCheckType> type = TCheckType::findById(context.db(), checkTypeId, &readError);
    if (!type) {
        if (error)
            *error = readError.isEmpty() ? QStringLiteral("没有编号为%1的票据模板").arg(checkTypeId)
                                         : readError;
        return false;
    }
    const QString family = type->getFirstName();
    try {
        SampleValueSource source(context.db(), checkTypeId, family);
        PrintRun run(context, output, PrintFamily::forFamily(family));
        return run.printOne(source, checkTypeId, type->TypeName.isEmpty() ? family : type->TypeName);
    } catch (const TemplateError &e) {
        if (error)
            *error = e.message();
        return false;
    }
}

} // namespace billprint

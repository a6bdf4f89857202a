// The sample bill of a template: every print item with its sample value,
// printed through the same run and renderer as a real bill, so a clerk can
// hold the sheet against the pre-printed form and check the alignment.
#pragma once

#include "printing/print_run.h"

#include <QHash>
#include <QString>

namespace billprint {

class AppContext;
class Database;

// Sample values of one template: the field's initial value, else the
// family catalogue's sample text (NameDict.CtlData), else its label; "√"
// for a tick box. Fields the template hides (NeedShow 0) are empty, as the
// entry window hides them, and so are fields the template lacks.
class SampleValueSource : public FieldValueSource
{
public:
    // Reads the template's fields; throws TemplateError when it cannot.
    SampleValueSource(const Database &db, int checkTypeId, const QString &family);

    QString value(const QString &name) const override;
    // The code of 人民币, the currency a new bill starts with.
    QString currencyCode() const override { return m_currencyCode; }

private:
    QHash<QString, QString> m_values;  // upper-case name -> value
    QString m_currencyCode;
};

// Prints the sample bill of template `checkTypeId` as one page through
// `output`. False with `error` when the template is unknown or cannot be
// read; a run that fails while printing tells the user as any run does and
// returns false.
bool printSampleBill(AppContext &context, int checkTypeId, PrintOutput &output, QString *error);

} // namespace billprint

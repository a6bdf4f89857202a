#pragma once

#include "templates/delivered_form_model.h"

#include <QString>

namespace billprint {

// The renderer starts every printed value two average character widths
// (one em of the field's one-line font, also for the lines of a value
// broken in a smaller size) to the right of its CtlX. The geometry files
// say where the ink should begin, so the rows store that place less this
// lead-in, in tenths of a millimetre.
int deliveredPrintLeadIn(int fontSizePoints);


// The seed script that puts the delivered field catalogues, templates and
// their field rows into a new database (NameDict, CKTypeTable, CkControl).
// The text depends only on the form set, so a regenerated script can be
// compared with the one in the repository.
QString deliveredTemplatesScript(const DeliveredFormSet &set);

// Writes the seed script to `sqlPath` and one picture per template,
// <code><id>.jpg, into `imageFolder`. Returns false with `error` set when
// a file cannot be written.
bool writeDeliveredForms(const DeliveredFormSet &set, const QString &sqlPath,
                         const QString &imageFolder, QString *error);

} // namespace billprint

// `billprint batch --template ID|NAME --csv FILE [--sender NAME]
//  (--pdf OUT | --printer NAME) [--data DIR]`
//
// Prints one waybill per CSV row in a single document, unseen: the rows
// enter the receiver list as a batch group of their own (the desktop list
// never shows them, and they are gone again afterwards) and are printed
// through the same waybill window and print run as the desktop list.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace billprint {

// Needs a QApplication. Returns 0 with the page count on `out` when
// printed; 2 with one line on `err` when nothing was printed.
int runBatchCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err);

} // namespace billprint

// What the batch print list needs from the windows around it. The install
// code fills these in; a hook left empty makes its command say that it
// comes in a later version (openImport, openAddressParser) or falls back
// to the program's own dialog (askValue, pickUnits).
#pragma once

#include <QList>
#include <QString>
#include <functional>

class QWidget;

namespace billprint {

class TfrmMutiPrint;

struct BatchListHost
{
    // "导入Excel ": the spreadsheet import with the batch list scenario
    // chosen and locked and "判断重复" unticked. The list reloads itself
    // when the hook returns; an importer may also call list.refresh().
    std::function<void(TfrmMutiPrint &list)> openImport;
    // "识别复制串或输入": the address text parser in its batch mode, which
    // adds receivers with list.addReceiverAndGoods().
    std::function<void(TfrmMutiPrint &list)> openAddressParser;
    // The value prompt ("输入重复打印的张数"); empty when cancelled.
    std::function<QString(const QString &prompt, const QString &defaultValue, QWidget *parent)> askValue;
    // "选取地址本": the IDs of the address-book units the user picked.
    std::function<QList<int>(QWidget *parent)> pickUnits;
};

// The one set of hooks of this run.
BatchListHost &batchListHost();

} // namespace billprint

// The four bill families and what sets them apart in the entry windows
// and the history: family word, history table, window section and the
// messages and commands that carry the family's name.
#pragma once

#include <QString>

namespace billprint {

struct BillFamilyInfo
{
    QString family;              // 支票: first name of the templates, NameDict.CheckTypeName
    QString windowName;          // object name of the entry window, e.g. "fmCheckZP"
    QString historyTable;        // DataZPTable
    QString noTemplateMessage;   // no template chosen when printing
    QString savedEditedMessage;  // after a save that edited a stored row
    QString savedNewMessage;     // after a save that appended a row
    QString closeQuestion;       // asked when an unsaved bill is closed
    QString closeCaption;        // caption of that question
    QString historyNoSave;       // the save button on a bill opened from history
    QString menuEntry;           // main menu entry that opens the window
    QString historyCommand;      // main menu command of the history window

    // Config.ini section of the window: its object name in upper case.
    QString configSection() const { return windowName.toUpper(); }

    static const BillFamilyInfo &cheque();
    static const BillFamilyInfo &depositSlip();
    static const BillFamilyInfo &cashSlip();
    static const BillFamilyInfo &waybill();
    // The family of a family word; null for any other word.
    static const BillFamilyInfo *find(const QString &family);
};

// The text of the payee field of a new bill. It counts as no payee: saving
// writes an empty payee and printing empties the field first.
inline const QString kPayeeStartText = QStringLiteral("单击我或红圈选择收款人...:)");

} // namespace billprint

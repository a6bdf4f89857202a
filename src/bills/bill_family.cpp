#include "bills/bill_family.h"

namespace billprint {

namespace {

BillFamilyInfo make(const QString &family, const QString &windowName, const QString &table,
                    const QString &noTemplate, const QString &edited, const QString &added,
                    const QString &menuEntry, const QString &historyCommand)
{
    BillFamilyInfo f;
    f.family = family;
    f.windowName = windowName;
    f.historyTable = table;
    f.noTemplateMessage = noTemplate;
    f.savedEditedMessage = edited;
    f.savedNewMessage = added;
    f.closeQuestion = QStringLiteral("是否保存该") + family + QStringLiteral("？");
    f.closeCaption = QStringLiteral("关闭票据");
    f.historyNoSave = QStringLiteral("历史单据不能保存，请点击[复制]后,再保存为新单据！");
    f.menuEntry = menuEntry;
    f.historyCommand = historyCommand;
    return f;
}

} // namespace

const BillFamilyInfo &BillFamilyInfo::cheque()
{
    static const BillFamilyInfo f = make(
        QStringLiteral("支票"), QStringLiteral("fmCheckZP"), QStringLiteral("DataZPTable"),
        QStringLiteral("请选择支票模板的类型!"),
        QStringLiteral("支票修改保存成功（要修改成新支票请先点击【复制】按钮）！ "),
        QStringLiteral("新支票保存成功！ "), QStringLiteral("支票"), QStringLiteral("支票管理(&Z)"));
    return f;
}

const BillFamilyInfo &BillFamilyInfo::depositSlip()
{
    static const BillFamilyInfo f = make(
        QStringLiteral("进账单"), QStringLiteral("fmCheckJZD"), QStringLiteral("DataJZDTable"),
        QStringLiteral("请选择进账单模板的类型!"),
        QStringLiteral("进账单修改保存成功（要修改成新进账单请先点击【复制】按钮）！ "),
        QStringLiteral("新进账单保存成功！ "), QStringLiteral("进账单"), QStringLiteral("进帐单管理(&J) "));
    return f;
}

const BillFamilyInfo &BillFamilyInfo::cashSlip()
{
    static const BillFamilyInfo f = make(
        QStringLiteral("缴款单"), QStringLiteral("fmCheckJKD"), QStringLiteral("DataJKDTable"),
        QStringLiteral("请选择缴款单模板的类型!"),
        QStringLiteral("缴款单修改保存成功（要修改成新缴款单请先点击【复制】按钮）！"),
        QStringLiteral("新缴款单保存成功!"), QStringLiteral("现金缴款单"), QStringLiteral("现金缴款单管理"));
    return f;
}

const BillFamilyInfo &BillFamilyInfo::waybill()
{
    static const BillFamilyInfo f = [] {
        BillFamilyInfo w = make(
            QStringLiteral("快递单"), QStringLiteral("fmCheckKDD"), QStringLiteral("DataKDDTable"),
            QStringLiteral("请选择快递单的类型!"),
            QStringLiteral("快递单修改保存成功（要修改成新快递单请先点击【复制】按钮）！ "),
            QStringLiteral("新快递单保存成功！ "), QStringLiteral("填写快递单"), QStringLiteral("快递单管理"));
        w.closeCaption = QStringLiteral("关闭快递单");
        w.historyNoSave = QStringLiteral("历史单据不能保存，请点击【复制】后,再保存为新单据！");
        return w;
    }();
    return f;
}

const BillFamilyInfo *BillFamilyInfo::find(const QString &family)
{
    for (const BillFamilyInfo *f : {&cheque(), &depositSlip(), &cashSlip(), &waybill()})
        if (f->family == family)
            return f;
    return nullptr;
}

} // namespace billprint

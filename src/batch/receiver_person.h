// A waybill receiver of the address book (or of the address text parser)
// as a row of the batch print list.
#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace billprint {

class TPersonKDD;

// The list columns a receiver fills, with its texts: 全称, 省, 市, 地址,
// 镇区, 电话, 联系人, 邮编, 手机, 国家, 内件说明, 备注 (the record's 扩展信息),
// 目的站, and an empty 批打分组 so that the list window shows the row.
QList<QPair<QString, QString>> receiverRowValues(const TPersonKDD &person);

// A receiver without 联系人, 全称 and 地址 is not worth a waybill.
bool receiverWorthAdding(const TPersonKDD &person);

} // namespace billprint

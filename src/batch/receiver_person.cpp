#include "batch/receiver_person.h"

#include "addressbook/person.h"

namespace billprint {

QList<QPair<QString, QString>> receiverRowValues(const TPersonKDD &p)
{
    return {
        {QStringLiteral("全称"), p.fullName()},
        {QStringLiteral("省"), p.province()},
        {QStringLiteral("市"), p.city()},
        {QStringLiteral("地址"), p.address()},
        {QStringLiteral("镇区"), p.town()},
        {QStringLiteral("电话"), p.phone()},
        {QStringLiteral("联系人"), p.contact()},
        {QStringLiteral("邮编"), p.postcode()},
        {QStringLiteral("手机"), p.mobile()},
        {QStringLiteral("国家"), p.country()},
        {QStringLiteral("内件说明"), p.goodsDescription()},
        {QStringLiteral("备注"), p.extraInfo()},
        {QStringLiteral("目的站"), p.destinationStation()},
        {QStringLiteral("批打分组"), QString()},
    };
}

bool receiverWorthAdding(const TPersonKDD &p)
{
    return !p.contact().trimmed().isEmpty() || !p.fullName().trimmed().isEmpty()
           || !p.address().trimmed().isEmpty();
}

} // namespace billprint

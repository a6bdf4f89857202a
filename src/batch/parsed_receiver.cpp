#include "batch/parsed_receiver.h"

#include "batch/receiver_list.h"

namespace billprint {

bool addParsedReceiver(const Database &db, const TPersonKDD &party, QString *error)
{
    if (party.contact().isEmpty() && party.fullName().isEmpty() && party.address().isEmpty())
        return true;
    const QList<QPair<QString, QString>> values{
        {QStringLiteral("全称"), party.fullName()},       {QStringLiteral("省"), party.province()},
        {QStringLiteral("市"), party.city()},             {QStringLiteral("地址"), party.address()},
        {QStringLiteral("镇区"), party.town()},           {QStringLiteral("电话"), party.phone()},
        {QStringLiteral("联系人"), party.contact()},      {QStringLiteral("邮编"), party.postcode()},
        {QStringLiteral("手机"), party.mobile()},         {QStringLiteral("国家"), party.country()},
        {QStringLiteral("内件说明"), party.goodsDescription()},
        {QStringLiteral("备注"), party.extraInfo()},
        {QStringLiteral("目的站"), party.destinationStation()},
        {QStringLiteral("批打分组"), QString()}};
    return ReceiverList(db).add(values, error) > 0;
}

} // namespace billprint

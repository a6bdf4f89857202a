#pragma once

// One data root with an address book of 20 000 units, built once and
// shared by every benchmark of the program that needs it.
#include "addressbook/person.h"
#include "bench_root.h"

namespace billprint::bench {

class FilledAddressBook
{
public:
    static constexpr int kUnits = 20000;

    static FilledAddressBook &instance()
    {
        static FilledAddressBook book;
        return book;
    }
    // Null when the data root could not be opened.
    AppContext *context() { return m_root.context.get(); }

private:
    FilledAddressBook()
    {
        static const char *const provinces[] = {"广东省", "北京市", "上海市", "浙江省",
                                                "江苏省", "四川省", "湖北省", "山东省"};
        static const char *const groups[] = {"华南客户", "华东客户", "供应商", "物流", "银行"};
        if (!m_root.isOpen())
            return;
        const Database &db = m_root.db();
        const bool filled = db.transaction([&] {
            for (int i = 0; i < kUnits; ++i) {
                TPerson p;
                p.setFullName(QStringLiteral("测试单位%1贸易有限公司").arg(i));
                p.setInputCode(QStringLiteral("csdw%1").arg(i));
                p.setContact(QStringLiteral("联系人%1").arg(i % 997));
                p.setBank(QStringLiteral("中国工商银行第%1支行").arg(i % 300));
                p.setAccount(QStringLiteral("6222%1").arg(i, 12, 10, QLatin1Char('0')));
                p.setProvince(QString::fromUtf8(provinces[i % 8]));
                p.setCity(QStringLiteral("城市%1").arg(i % 50));
                p.setAddress(QStringLiteral("某某区某某路%1号").arg(i));
                p.setPhone(QStringLiteral("020-%1").arg(30000000 + i));
                p.setGroup(QString::fromUtf8(groups[i % 5]));
                p.setUnitKind(i % 3 ? UnitKind::Counterparty : UnitKind::Own);
                if (!p.save(db))
                    return false;
            }
            return true;
        });
        if (!filled)
            m_root.context.reset();
    }

    BenchRoot m_root;
};

} // namespace billprint::bench

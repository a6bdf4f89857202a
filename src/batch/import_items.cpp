#include "batch/import_items.h"

#include "batch/receiver_columns.h"

namespace billprint {

QString importScenarioName(ImportTarget target)
{
    return target == ImportTarget::AddressBook ? QStringLiteral("收发件人批量到地址薄")
                                               : QStringLiteral("导入Excel导入到批量打印收件人列表");
}

const QList<ImportItem> &importItems()
{
    static const QList<ImportItem> items = [] {
        QList<ImportItem> list;
        auto both = [&list](const char *name, const char *caption, const char *book, const char *batch) {
            list << ImportItem{QString::fromUtf8(name), QString::fromUtf8(caption), true, true,
                               QString::fromUtf8(book), QString::fromUtf8(batch)};
        };
        auto book = [&list](const char *name, const char *caption, const char *column) {
            list << ImportItem{QString::fromUtf8(name), QString::fromUtf8(caption), true, false,
                               QString::fromUtf8(column), QString()};
        };
        auto batch = [&list](const char *name, const char *caption, const char *column) {
            list << ImportItem{QString::fromUtf8(name), QString::fromUtf8(caption), false, true, QString(),
                               QString::fromUtf8(column)};
        };
        both("单位全称", "*单位全称->", "全称", "全称");
        both("联系人", "*联系人->", "联系人", "联系人");
        both("电话", "*联系电话->", "电话", "电话");
        both("手机", "手机->", "手机", "手机");
        both("国家", "国家->", "国家", "国家");
        both("省", "省->", "省", "省");
        both("市", "市/县->", "市", "市");
        both("镇区", "镇/区->", "镇区", "镇区");
        both("地址", "*详细地址->", "地址", "地址");
        both("邮政编码", "邮政编码->", "邮编", "邮编");
        both("备注", "备注->", "扩展信息", "备注");
        both("批打分组", "批打分组->", "分组", "批打分组");
        book("单位类型", "单位类型->", "单位类型");
        book("助记码", "输入助记码->", "助记码");
        book("开户银行", "开户银行->", "开户银行");
        book("银行账号", "银行账号->", "开户行账号");
        book("银行行号", "银行行号->", "开户行行号");
        book("银行地址", "银行地址->", "开户行地址");
        batch("物品内容", "物品内容->", "内件说明");
        batch("目的站", "目的站->", "目的站");
        batch("件数", "件数->", "件数");
        batch("重量", "重量->", "重量");
        batch("费用", "总费用->", "费用");
        for (const char *name : {"保价金额", "保价费", "加急费", "运费", "送货费", "体积", "包装费", "代收金额",
                                 "手续费", "其他费", "自定义3", "自定义4", "自定义5", "金额大写1"})
            batch(name, (QByteArray(name) + "->").constData(), name);
        batch("订单号", "", "");
        batch("会员Id", "", "");
        return list;
    }();
    return items;
}

const ImportItem *findImportItem(const QString &name)
{
    for (const ImportItem &item : importItems()) {
        if (item.name == name)
            return &item;
    }
    return nullptr;
}

QStringList importMatchOrder(ImportTarget target)
{
    // The bank items take their columns in both imports: the batch list
    // has no bank columns, but a column titled 开户行地址 must not become
    // the receiver's 地址 there either. It is matched and left unimported.
    QStringList order{QStringLiteral("单位全称"), QStringLiteral("联系人"), QStringLiteral("电话"),
                      QStringLiteral("手机"),     QStringLiteral("省"),     QStringLiteral("开户银行"),
                      QStringLiteral("银行账号"), QStringLiteral("银行地址"), QStringLiteral("银行行号")};
    order << QStringLiteral("市") << QStringLiteral("镇区") << QStringLiteral("地址") << QStringLiteral("邮政编码")
          << QStringLiteral("国家") << QStringLiteral("备注");
    if (target == ImportTarget::AddressBook) {
        order << QStringLiteral("批打分组") << QStringLiteral("单位类型") << QStringLiteral("助记码");
    } else {
        for (const char *name : {"批打分组", "物品内容", "目的站", "件数", "重量", "费用", "保价费", "保价金额",
                                 "加急费", "运费", "送货费", "体积", "包装费", "代收金额", "手续费", "其他费",
                                 "自定义3", "自定义4", "自定义5", "金额大写1", "订单号", "会员Id"})
            order << QString::fromUtf8(name);
    }
    return order;
}

QString sourceColumnEntry(int column, const QString &title)
{
    return QStringLiteral("列%1:").arg(column) + title;
}

int sourceColumnOf(const QString &entry)
{
    const int colon = entry.indexOf(QLatin1Char(':'));
    if (!entry.startsWith(QStringLiteral("列")) || colon < 0)
        return 0;
    return entry.mid(1, colon - 1).toInt();
}

QList<QPair<int, QString>> sourceColumns(const QStringList &firstRow)
{
    QList<QPair<int, QString>> sources;
    for (int i = 0; i < firstRow.size() && i < kMaxSourceColumns; ++i) {
        const QString title = firstRow[i].trimmed();
        if (!title.isEmpty())
            sources << qMakePair(i + 1, title);
    }
    return sources;
}

bool importTitleAccepts(const QString &title, const QString &titleList)
{
    return titleAccepts(title, titleList);
}

QHash<QString, int> matchImportColumns(ImportTarget target, const QList<QPair<int, QString>> &sources,
                                       const std::function<QString(const QString &)> &titleList)
{
    const QStringList order = importMatchOrder(target);
    QStringList lists;
    for (const QString &item : order)
        lists << titleList(item);
    QHash<QString, int> matched;
    for (const auto &[column, title] : sources) {
        for (int i = 0; i < order.size(); ++i) {
            if (matched.contains(order[i]) || !titleAccepts(title, lists[i]))
                continue;
            matched.insert(order[i], column);
            break;
        }
    }
    return matched;
}

} // namespace billprint

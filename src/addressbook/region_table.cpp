#include "addressbook/region_table.h"

#include <QFile>
#include <QStringList>

// The table is a resource of the core library, which, being static, has
// to register its resources itself.
static void initRegionResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace billprint {

namespace {

quint32 startKey(QChar a, QChar b)
{
    return (quint32(a.unicode()) << 16) | b.unicode();
}

// Ethnic names inside the names of autonomous prefectures and counties;
// the short name is what stands before them ("延边朝鲜族自治州" -> "延边").
const QStringList &ethnicNames()
{
    static const QStringList names{
        QStringLiteral("维吾尔"), QStringLiteral("朝鲜族"), QStringLiteral("土家族"), QStringLiteral("苗族"), QStringLiteral("侗族"),
        QStringLiteral("布依族"), QStringLiteral("白族"), QStringLiteral("傣族"), QStringLiteral("景颇族"),
        QStringLiteral("傈僳族"), QStringLiteral("藏族"), QStringLiteral("羌族"), QStringLiteral("彝族"),
        QStringLiteral("哈尼族"), QStringLiteral("壮族"), QStringLiteral("回族"), QStringLiteral("蒙古族"),
        QStringLiteral("哈萨克族"), QStringLiteral("哈萨克"), QStringLiteral("柯尔克孜"), QStringLiteral("蒙古"),
        QStringLiteral("纳西族"), QStringLiteral("瑶族"), QStringLiteral("畲族"), QStringLiteral("满族"),
        QStringLiteral("仫佬族"), QStringLiteral("毛南族"), QStringLiteral("仡佬族"), QStringLiteral("水族"),
        QStringLiteral("黎族"), QStringLiteral("拉祜族"), QStringLiteral("佤族"), QStringLiteral("布朗族"),
        QStringLiteral("独龙族"), QStringLiteral("怒族"), QStringLiteral("普米族"), QStringLiteral("达斡尔族"),
        QStringLiteral("鄂温克族"), QStringLiteral("鄂伦春"), QStringLiteral("锡伯"), QStringLiteral("塔吉克"),
        QStringLiteral("撒拉族"), QStringLiteral("保安族"), QStringLiteral("东乡族"), QStringLiteral("土族"),
        QStringLiteral("各族"), QStringLiteral("裕固族"), QStringLiteral("哈尼"), QStringLiteral("阿昌族"),
        QStringLiteral("德昂族"), QStringLiteral("基诺族"), QStringLiteral("门巴族"), QStringLiteral("珞巴族")};
    return names;
}

QString stripEthnic(QString name)
{
    bool again = true;
    while (again) {
        again = false;
        for (const QString &ethnic : ethnicNames()) {
            if (name.size() > ethnic.size() + 1 && name.endsWith(ethnic)) {
                name.chop(ethnic.size());
                again = true;
            }
        }
    }
    return name;
}

} // namespace

const RegionTable &RegionTable::delivered()
{
    static const RegionTable table = [] {
        initRegionResources();
        QFile file(QStringLiteral(":/regions/divisions.txt"));
        file.open(QIODevice::ReadOnly);
        return fromLines(QString::fromUtf8(file.readAll()));
    }();
    return table;
}

RegionTable RegionTable::fromLines(const QString &text)
{
    RegionTable table;
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList parts = line.trimmed().split(QLatin1Char('\t'));
        if (parts.size() == 2)
            table.add(parts.at(0), parts.at(1));
    }
    return table;
}

QString RegionTable::shortFor(const QString &name, Division::Level level)
{
    static const QStringList provinceKinds{QStringLiteral("特别行政区"), QStringLiteral("自治区"),
                                           QStringLiteral("省"), QStringLiteral("市")};
    static const QStringList prefectureKinds{QStringLiteral("自治州"), QStringLiteral("地区"),
                                             QStringLiteral("盟"), QStringLiteral("市")};
    static const QStringList countyKinds{QStringLiteral("自治县"), QStringLiteral("自治旗"), QStringLiteral("林区"),
                                         QStringLiteral("特区"), QStringLiteral("新区"), QStringLiteral("县"),
                                         QStringLiteral("区"), QStringLiteral("市"), QStringLiteral("旗")};
    const QStringList &kinds = level == Division::Province ? provinceKinds
        : level == Division::Prefecture                    ? prefectureKinds
                                                           : countyKinds;
    for (const QString &kind : kinds) {
        if (name.endsWith(kind)) {
            const QString rest = stripEthnic(name.left(name.size() - kind.size()));
            return rest.size() >= 2 ? rest : QString();
        }
    }
    return QString();
}

void RegionTable::add(const QString &code, const QString &name)
{
    Division d;
    d.code = code;
    d.name = name;
    d.level = code.size() == 2 ? Division::Province : code.size() == 4 ? Division::Prefecture : Division::County;
    d.shortName = shortFor(name, d.level);
    if (d.level != Division::Province) {
        d.province = m_byCode.value(code.left(2), -1);
        d.parent = d.level == Division::County ? m_byCode.value(code.left(4), d.province) : d.province;
        if (d.province < 0)
            return;
    }
    const int id = m_divisions.size();
    if (d.level == Division::Province)
        d.province = id;
    // 东莞市 and 中山市 list themselves as their only county.
    if (d.level == Division::County && m_divisions.at(d.parent).name != name)
        m_withCounties.insert(d.parent);
    m_divisions << d;
    m_byCode.insert(code, id);
    m_full[name] << id;
    m_starts.insert(startKey(name.at(0), name.at(1)));
    m_longest = qMax(m_longest, int(name.size()));
    if (!d.shortName.isEmpty()) {
        m_short[d.shortName] << id;
        m_starts.insert(startKey(d.shortName.at(0), d.shortName.at(1)));
    }
}

bool RegionTable::isMunicipality(int province) const
{
    static const QStringList codes{QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("31"),
                                   QStringLiteral("50")};
    return province >= 0 && codes.contains(m_divisions.at(province).code);
}

bool RegionTable::mayStartAt(QStringView text) const
{
    return text.size() >= 2 && m_starts.contains(startKey(text.at(0), text.at(1)));
}

QString RegionTable::provinceText(int province) const
{
    const Division &d = m_divisions.at(province);
    if (d.name.endsWith(QStringLiteral("省")))
        return d.name;
    return d.shortName;
}

} // namespace billprint

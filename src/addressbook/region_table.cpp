#include "addressbook/region_table.h"

#include "app/delivered_resources.h"

#include <QStringList>

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

// Short names that would be read in ordinary words of an address: what is
// left of a few Hong Kong, Macau and Taiwan districts without their kind
// ("大堂区" -> "大堂", a hotel's lobby; "新店区" -> "新店", a new shop). These
// divisions are found by their full name only.
bool isEverydayWord(const QString &shortName)
{
    static const QSet<QString> words{
        QStringLiteral("大堂"), QStringLiteral("离岛"), QStringLiteral("中西"), QStringLiteral("中和"),
        QStringLiteral("三重"), QStringLiteral("新店"), QStringLiteral("树林"), QStringLiteral("淡水"),
        QStringLiteral("三峡"), QStringLiteral("五股"), QStringLiteral("深坑"), QStringLiteral("万里"),
        QStringLiteral("杨梅"), QStringLiteral("观音"), QStringLiteral("新屋"), QStringLiteral("大肚"),
        QStringLiteral("新社"), QStringLiteral("大社"), QStringLiteral("盐水"), QStringLiteral("后壁"),
        QStringLiteral("将军"), QStringLiteral("北门"), QStringLiteral("内门"), QStringLiteral("大内"),
        QStringLiteral("山上"), QStringLiteral("大树"), QStringLiteral("桥头"), QStringLiteral("安乐"),
        QStringLiteral("仁爱"), QStringLiteral("板桥"), QStringLiteral("新庄"), QStringLiteral("土城"),
        QStringLiteral("八里"), QStringLiteral("暖暖"), QStringLiteral("太保"), QStringLiteral("大雅"),
        QStringLiteral("小港"), QStringLiteral("双溪"), QStringLiteral("大溪"), QStringLiteral("香山"),
        QStringLiteral("后里"), QStringLiteral("大里")};
    return words.contains(shortName);
}

// Colloquial names written with their kind that the table does not list:
// an autonomous prefecture by its short name and "州" ("甘南州"), and Hong
// Kong Island as "港岛".
QStringList aliasesFor(const Division &d)
{
    QStringList aliases;
    if (d.level == Division::Prefecture && d.name.endsWith(QStringLiteral("自治州")) && !d.shortName.isEmpty())
        aliases << d.shortName + QChar(u'州');
    if (d.level == Division::Prefecture && d.name == QStringLiteral("香港岛"))
        aliases << QStringLiteral("港岛");
    return aliases;
}

} // namespace

const RegionTable &RegionTable::delivered()
{
    static const RegionTable table = fromLines(deliveredText(QStringLiteral(":/regions/divisions.txt")));
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
                                             QStringLiteral("盟"), QStringLiteral("市"), QStringLiteral("县")};
    static const QStringList countyKinds{QStringLiteral("自治县"), QStringLiteral("自治旗"), QStringLiteral("林区"),
                                         QStringLiteral("特区"), QStringLiteral("新区"), QStringLiteral("县"),
                                         QStringLiteral("堂区"), QStringLiteral("区"), QStringLiteral("市"),
                                         QStringLiteral("旗")};
    const QStringList &kinds = level == Division::Province ? provinceKinds
        : level == Division::Prefecture                    ? prefectureKinds
                                                           : countyKinds;
    // A longer kind that leaves one character was part of the name: "碑林区"
    // is "碑林" and "区", not "碑" and "林区"; "东区" keeps no short name.
    for (const QString &kind : kinds) {
        if (name.endsWith(kind)) {
            const QString rest = stripEthnic(name.left(name.size() - kind.size()));
            if (rest.size() >= 2)
                return isEverydayWord(rest) ? QString() : rest;
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
    addFullName(name, id);
    for (const QString &alias : aliasesFor(d))
        addFullName(alias, id);
    if (!d.shortName.isEmpty()) {
        m_short[d.shortName] << id;
        m_nameHashes.insert(qHash(QStringView(d.shortName), 0));
        noteStart(d.shortName);
    }
}

void RegionTable::addFullName(const QString &name, int id)
{
    m_full[name] << id;
    m_nameHashes.insert(qHash(QStringView(name), 0));
    noteStart(name);
    m_longest = qMax(m_longest, int(name.size()));
}

bool RegionTable::isMunicipality(int province) const
{
    static const QStringList codes{QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("31"),
                                   QStringLiteral("50")};
    return province >= 0 && codes.contains(m_divisions.at(province).code);
}

// Most words looked up are no name: they are turned away by their hash
// before a string is made for the lookup.
QList<int> RegionTable::fullNamed(QStringView name) const
{
    return m_nameHashes.contains(qHash(name, 0)) ? m_full.value(name.toString()) : QList<int>();
}

QList<int> RegionTable::shortNamed(QStringView name) const
{
    return m_nameHashes.contains(qHash(name, 0)) ? m_short.value(name.toString()) : QList<int>();
}

bool RegionTable::mayStartAt(QStringView text) const
{
    return text.size() >= 2 && m_starts.contains(startKey(text.at(0), text.at(1)));
}

int RegionTable::longestNameAt(QStringView text) const
{
    return text.size() >= 2 ? m_starts.value(startKey(text.at(0), text.at(1)), 0) : 0;
}

void RegionTable::noteStart(const QString &name)
{
    int &longest = m_starts[startKey(name.at(0), name.at(1))];
    longest = qMax(longest, int(name.size()));
}

QString RegionTable::provinceText(int province) const
{
    const Division &d = m_divisions.at(province);
    if (d.name.endsWith(QStringLiteral("省")))
        return d.name;
    return d.shortName;
}

} // namespace billprint

#include "addressbook/address_patterns.h"

namespace billprint::address_patterns {

namespace {

const QString kProvinceNames = QStringLiteral(
    "[广][东]|[福][建]|[北][京]|[天][津]|[河][北]|[上][海]|[江][苏]|[浙][江]|[山][西]|[辽][宁]|"
    "[吉][林]|[黑][龙][江]|[安][徽]|[江][西]|[山][东]|[河][南]|[湖][北]|[湖][南]|[海][南]|"
    "[广][西][壮][族][自][治][区]|[广][西]|[新][疆][维][吾][尔][族][自][治][区]|[新][疆]|"
    "[西][藏][自][治][区]|[西][藏]|[内][蒙][古][自][治][区]|[内][蒙][古]|[宁][夏][回][族][自][治][区]|"
    "[宁][夏]|[重][庆]|[贵][州]|[云][南]|[陕][西]|[甘][肃]|[青][海]|[四][川]|");

const QString kProvinceList = QStringLiteral("(") + kProvinceNames
    + QStringLiteral("[香][港][特][别][行][政][区]|[香][港]|[澳][门][特][别][行][政][区]|[澳][门]|[台][湾]){1}([省]|[市]){0,1}");

const QString kSurnames = QStringLiteral(
    "([李]|[王]|[张]|[刘]|[陈]|[杨]|[黄]|[赵]|[周]|[吴]|[徐]|[孙]|[朱]|[马]|[胡]|[郭]|[林]|[何]|[高]|"
    "[梁]|[郑]|[罗]|[宋]|[谢]|[唐]|[韩]|[曹]|[许]|[邓]|[萧]|[冯]|[曾]|[程]|[蔡]|[彭]|[潘]|[袁]|[于]|"
    "[董]|[余]|[苏]|[叶]|[吕]|[魏]|[蒋]|[田]|[杜]|[丁]|[沈]|[姜]|[范]|[傅]|[钟]|[卢]|[江]|[汪]|[戴]|"
    "[崔]|[任]|[陆]|[廖]|[姚]|[方]|[金]|[邱]|[夏]|[谭]|[韦]|[贾]|[邹]|[石]|[熊]|[孟]|[秦]|[阎]|[薛]|"
    "[侯]|[雷]|[白]|[龙]|[段]|[郝]|[孔]|[邵]|[史]|[毛]|[常]|[万]|[顾]|[赖]|[武]|[康]|[贺]|[严]|[尹]|"
    "[钱]|[施]|[牛]|[洪]|[龚]|[栾]|[肖]|[詹]|[翁]){1}[\\W]{1,3}(\\n|[ ]){1}");

const QString kCompany = QStringLiteral(
    "([ ]|[:]|\\n|\\r|,){1}[^:, \\s]{4,}(([公][司])|([事][务][所])|([经][销][部])|([分][行])|([大][学])|"
    "([中][学])|([小][学])|([学][院])|([人][事][处])|([委][员][会])|([组][织][部])|([卫][生][院])|"
    "([分][院])|[校]|[厅]|[办]|[局]|[站]|([营][业][部])|([办][事][处]))");

} // namespace

const QString &mobile()
{
    static const QString p = QStringLiteral("[1]{1}[0-9]{10,13}");
    return p;
}

const QStringList &phones()
{
    static const QStringList p{
        QStringLiteral("[电][话][:]([0-9]|-|\\(|\\)|\\+){7,18}"),
        QStringLiteral("[,| ]{1}[0-9]{7,8}[,| ]{1}"),
        QStringLiteral("[0-9]{3,4}-[0-9]{7,8}[-]{0,1}[0-9]{0,6}"),
        QStringLiteral("[\\(]{0,1}[0-9]{3,4}[\\)]{0,1}[0-9]{7,8}[-]{0,1}[0-9]{0,6}")};
    return p;
}

const QString &phoneSub()
{
    static const QString p = QStringLiteral("[^,\\s]{7,15}");
    return p;
}

const QString &country()
{
    static const QString p = QStringLiteral("([国][家]|[地][区])[:][^ \\n]{2,24}");
    return p;
}

const QStringList &provinces()
{
    static const QStringList p{kProvinceList, QStringLiteral("(省:)([^ \\n,]){2,10}"),
                               QStringLiteral("([上][海][市]|[重][庆][市]|[北][京][市]|[天][津][市])")};
    return p;
}

const QStringList &cities()
{
    static const QStringList p{
        QStringLiteral("(([ ]|[\\n]|[省])){1}[^ \\s]{2,16}([市]|[县]|[盟]){1}"),
        QStringLiteral("([市]|[县]){1}[:]{1}[^ \\s]{2,16}([市]|[县]|[盟]){0,1}"),
        QStringLiteral("([上][海]|[重][庆]|[北][京]|[天][津]){1}([市]){1}")};
    return p;
}

const QString &citySub()
{
    static const QString p = QStringLiteral("[^省]{1,}");
    return p;
}

const QStringList &towns()
{
    static const QStringList p{
        QStringLiteral("(([镇]|[区])[:]){0,1}[^ 0-9a-zA-Z]{2,4}([镇]|[区]|[旗]){1}"),
        QStringLiteral("(([镇]|[区])[:]){1}[^ 0-9a-zA-Z]{2,4}([镇]|[区]|[旗]){0,1}")};
    return p;
}

const QString &townSub()
{
    static const QString p = QStringLiteral("([^市]{1,5})");
    return p;
}

const QStringList &addresses()
{
    static const QStringList p{
        QStringLiteral("[^,:]{2,30}([房]|[座]|[楼]|[樓]|([大][厦])|([旁][边])|([对][面])|([商][厦])|[苑]|[室]|[#]|"
                       "[号]|[路]|[栋]|[幢]|[村]|[镇]|[乡]|[街]|[园]|([校][区])|([单][元])|([宿][舍])|([公][寓])|"
                       "[道]){1,}([^,:\\r\\n]{2,30})"),
        QStringLiteral("[ |,|:]{1}[^\\n,:]{2,4}([省]|[自][治][区]|[盟]){1}[^\\n,:]{2,5}([市]|[县]|[旗]){1}"
                       "[^\\n,:]{4,60}[,|\\s|\\n]{0,1}")};
    return p;
}

const QString &addressSub()
{
    static const QString p = QStringLiteral("[^:,]{5,70}");
    return p;
}

const QStringList &postcodes()
{
    static const QStringList p{
        QStringLiteral("([邮][编][:]){1}[0-9]{6}"),
        QStringLiteral("([:|[\\(]|[ ]|[,]|[\\r]|[\\n]){1}[0-9]{6}([\\)]|[,]|[\\s]|[\\r]|[\\n]){1}")};
    return p;
}

const QStringList &names()
{
    static const QStringList p{
        QStringLiteral("([姓][名]|[收][货][人]|[联][系][人])[:][^ \\n]{2,15}"),
        QStringLiteral("[:|,|\\r|\\n][^ ]{2,5}[,]"), kSurnames};
    return p;
}

const QStringList &companies()
{
    static const QStringList p{
        kCompany,
        QStringLiteral("([ ]|[:]|\\n|\\r|,){1}[^:, \\s]{2,}(([检][察][院])|([法][院])|([医][院])|([公][安][局])|"
                       "([税][务][局]))")};
    return p;
}

const QString &companySub()
{
    static const QString p = QStringLiteral("[^,\\r\\n:]{4,}");
    return p;
}

const QString &provinceShortList()
{
    static const QString p = QStringLiteral("(") + kProvinceNames
        + QStringLiteral("[香][港]|[澳][门]|[台][湾]){1}([省]|[市]){0,1}");
    return p;
}

const QStringList &combinedRegions()
{
    static const QStringList p = [] {
        QStringList list{
            QStringLiteral("([上][海]|[北][京]|[天][津]|[重][庆]){1}[市]{0,1}[^0-9a-zA-Z区]{2,6}([区]){1}"),
            QStringLiteral("([香][港]|[澳][门]){1}[[特][别][行][政][区]]{1}[^0-9a-zA-Z区]{2,6}([区]){1}")};
        const QStringList a{
            QStringLiteral("[^ :,\\s]{2,6}([自][治][区]){1}"),
            QStringLiteral("[^ :,\\s]{0,1}([广][东]|[福][建]|[河][北]|[江][苏]|[浙][江]|[山][西]|[辽][宁]|[吉][林]|"
                           "[黑][龙][江]|[安][徽]|[江][西]|[山][东]|[河][南]|[湖][北]|[湖][南]|[海][南]|[广][西]|"
                           "[新][疆]|[西][藏]|[内][蒙][古]|[宁][夏]|[贵][州]|[云][南]|[陕][西]|[甘][肃]|[青][海]|"
                           "[四][川]|[香][港]|[澳][门]|[台][湾]){1}([省]){0,1}")};
        const QStringList b{QStringLiteral("[^0-9a-zA-Z市]{2,5}([盟]|[地][区]|[行][政][区]|[市]){1}"),
                            QStringLiteral("[^0-9a-zA-Z省]{4,8}([自][治][州]){1}")};
        const QStringList d{QStringLiteral("[^0-9a-zA-Z区市]{2,5}([区]|[市]){1}"),
                            QStringLiteral("[^0-9a-zA-Z省]{2,8}([自][治][旗]|[旗]){1}"),
                            QStringLiteral("[^0-9a-zA-Z省市]{2,11}([自][治][县]){1}"),
                            QStringLiteral("[^0-9a-zA-Z省市]{1,4}([县]){1}")};
        for (const QString &pa : a)
            for (const QString &pb : b)
                for (const QString &pd : d)
                    list << pa + pb + pd;
        return list;
    }();
    return p;
}

bool mayMatchCombinedRegion(int index, const QString &text)
{
    // Words each pattern cannot match without, in the order the list is
    // built: two patterns of their own, then the first part (autonomous
    // region, province) times the second (city, autonomous prefecture)
    // times the third (district or city, banner, autonomous county, county).
    const auto hasAny = [&text](std::initializer_list<const char16_t *> words) {
        for (const char16_t *word : words) {
            if (text.contains(QStringView(word)))
                return true;
        }
        return false;
    };
    if (index == 0)
        return hasAny({u"上海", u"北京", u"天津", u"重庆"});
    if (index == 1)
        return hasAny({u"香港", u"澳门"});
    const int combination = index - 2;
    const int first = combination / 8;
    const int second = (combination / 4) % 2;
    const int third = combination % 4;
    if (first == 0 && !text.contains(QStringView(u"自治区")))
        return false;
    if (second == 1 && !text.contains(QStringView(u"自治州")))
        return false;
    if (second == 0 && !hasAny({u"市", u"盟", u"地区", u"行政区"}))
        return false;
    if (third == 0 && !hasAny({u"区", u"市"}))
        return false;
    static const char16_t *const thirdWords[] = {nullptr, u"旗", u"自治县", u"县"};
    return !thirdWords[third] || text.contains(QStringView(thirdWords[third]));
}

} // namespace billprint::address_patterns

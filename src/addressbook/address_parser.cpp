#include "addressbook/address_parser.h"

#include "addressbook/address_finder.h"
#include "addressbook/address_patterns.h"

#include <QRegularExpression>

namespace billprint {

namespace pat = address_patterns;

namespace {
thread_local bool explaining = false;
} // namespace

ExplainedSteps::ExplainedSteps() : m_wasActive(explaining)
{
    explaining = true;
}

ExplainedSteps::~ExplainedSteps()
{
    explaining = m_wasActive;
}

bool ExplainedSteps::active()
{
    return explaining;
}

StepRecorder::StepRecorder(AddressParse &parse, const char *step)
    : m_parse(parse), m_step(step), m_recording(explaining)
{
    if (!m_recording)
        return;
    for (int i = 0; i < kAddressFieldCount; ++i)
        m_before[i] = parse.fields[i].text;
}

StepRecorder::~StepRecorder()
{
    if (!m_recording)
        return;
    for (int i = 0; i < kAddressFieldCount; ++i) {
        const QString &now = m_parse.fields[i].text;
        // Most fields are left alone and still share their characters.
        if (now.constData() == m_before[i].constData() && now.size() == m_before[i].size())
            continue;
        if (now != m_before[i])
            m_parse.setBy[i] = QString::fromLatin1(m_step);
    }
}


namespace {

const QString kCrLf = QStringLiteral("\r\n");

// ---- Normalisation -------------------------------------------------------------

QString withoutEmptyLines(const QString &input)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    const QStringList lines = input.split(lineBreak);
    QStringList kept;
    for (int i = 0; i < lines.size(); ++i) {
        if (i == lines.size() - 1 || !lines.at(i).trimmed().isEmpty())
            kept << lines.at(i);
    }
    return kept.join(kCrLf);
}

void replaceAll(QString &text, const QList<QPair<QString, QString>> &pairs)
{
    for (const auto &[from, to] : pairs)
        text.replace(from, to);
}

void addColonUnlessPresent(QString &text, const QString &label)
{
    if (!text.contains(label + QLatin1Char(':')))
        text.replace(label, label + QLatin1Char(':'));
}

void breakBeforeLabel(QString &text, const QString &label)
{
    if (!text.contains(QLatin1Char('\n') + label))
        text.replace(label, kCrLf + label);
}

// Signs other shops and chat programs write: "|" and ";" between items,
// blanks around a label's colon, labels with a slash ("县/区:").
void unifyOtherHandsSigns(QString &text)
{
    static const QRegularExpression itemSeparator(QStringLiteral("[ ]*(?:[|｜；;、。\\t！～~]|—+)[ ]*"));
    // A label followed by a blank instead of a colon at the start of a line
    // ("收货人 桂悦平", "所在城市 北海市"); labels ending in 地址, 姓名 and
    // 联系人 get theirs below, as they always did.
    static const QRegularExpression labelsWithoutColon(QStringLiteral(
        "(?<=^|[\\r\\n])(收货人|收件人|手机|手机号|手机号码|移动电话|固定电话|座机|电话|联系电话|"
        "收货电话|联系方式|国家|省|省份|所在省|市|城市|所在城市|区|县|区县|县区|镇区|所在区县|所在地区|地区|省市区|镇|"
        "街道|乡镇|"
        "邮编|邮政编码|公司|单位|公司名称|单位名称|收件单位|订单编号|订单号|"
        "商品|备注|买家备注|买家留言|付款时间|下单时间)[ ]+(?=[^\\s:])"
        // Glued to its value: a label of two characters or more at the
        // start of a line or item ("区县堆龙德庆区", "国家中国") ...
        "|(?<=^|[\\r\\n,，])(区县|县区|乡镇|镇区|国家|省份|所在城市|所在省|所在地区|省市区|街道地址|收货地址|收件地址|"
        "详细地址)(?=[^\\s:：地])"
        // ... and a one-character label before a region that fills its
        // line ("县贡山独龙族怒族自治县", "市通辽市", "街道杨林街道").
        "|(?<=^|[\\r\\n])(省|市|区|县|镇|街道)(?=[^\\s:：\\r\\n0-9]{2,14}(?:省|市|区|县|镇|旗|街道|州|盟)(?:$|[\\r\\n]))"));
    // A dash or slash between items, not inside a number or house number
    // ("张三-13812345678-广东省…", "…18栋/张三"; "3-2-101" stays).
    static const QRegularExpression dashBetweenItems(
        QStringLiteral("(?<=\\p{Han})\\s*[-/]+\\s*(?=\\p{Han}|1[3-9][0-9]{9}(?![0-9])|[0-9]{6}(?![0-9]))"
                       "|(?<=1[3-9][0-9]{9})\\s*[-/]+\\s*(?=\\p{Han})"));
    // A telephone label glued to its number ("座机47618061").
    static const QRegularExpression labelGluedToDigits(QStringLiteral(
        "(座机|固话|固定电话|办公电话|联系电话|备用电话|备用手机|备用|电话|手机|手机号|手机号码|打这个|打這個|打这|"
        "号码是|电话是|電話是|手机号是|手机是)(?=[+(（]?[0-9]{3})"));
    static const QRegularExpression blanksBeforeColon(QStringLiteral("(?<=[^\\s\\d])[ \\t]+:[ \\t]*"));
    static const QRegularExpression slashedCounty(QStringLiteral("(县/区|区/县|县区)(?=:)"));
    static const QRegularExpression slashedTown(QStringLiteral("(镇/街道|乡/镇|镇/乡|乡镇/街道)(?=:)"));
    // Each looked for only when one of its signs is there: most texts
    // have none.
    const auto hasAny = [&text](QStringView signs) {
        for (QChar c : signs) {
            if (text.contains(c))
                return true;
        }
        return false;
    };
    if (hasAny(u"|｜；;、。—\t！～~"))
        text.replace(itemSeparator, QStringLiteral(","));
    text.replace(labelsWithoutColon, QStringLiteral("\\1\\2\\3:"));
    if (hasAny(u"机话用这這是"))
        text.replace(labelGluedToDigits, QStringLiteral("\\1:"));
    if (text.contains(QStringLiteral(" :")) || text.contains(QStringLiteral("\t:")))
        text.replace(blanksBeforeColon, QStringLiteral(":"));
    if (text.contains(QLatin1Char('/'))) {
        text.replace(slashedCounty, QStringLiteral("区县"));
        text.replace(slashedTown, QStringLiteral("乡镇"));
    }
    if (hasAny(u"-/"))
        text.replace(dashBetweenItems, QStringLiteral(","));
    text.replace(QStringLiteral("  "), QStringLiteral(" "));
}

} // namespace

QString normaliseAddressText(const QString &input, const ReplacementPairs &replacements)
{
    QString text = withoutEmptyLines(input);
    if (!text.trimmed().isEmpty()) {
        // Full-width parentheses are unified too: shops put the postcode
        // in them, and the postcode patterns know only ASCII ones.
        replaceAll(text, {{QStringLiteral("旺旺在线"), QStringLiteral(",")},
                          {QStringLiteral("旺旺离线"), QStringLiteral(",")},
                          {QStringLiteral("手机在线"), QStringLiteral(",")},
                          {QStringLiteral("　"), QStringLiteral(" ")},
                          {QStringLiteral("－"), QStringLiteral("-")},
                          {QStringLiteral("："), QStringLiteral(":")},
                          {QStringLiteral("（"), QStringLiteral("(")},
                          {QStringLiteral("）"), QStringLiteral(")")},
                          {QStringLiteral("  "), QStringLiteral(" ")},
                          {QStringLiteral(": "), QStringLiteral(":")}});
        unifyOtherHandsSigns(text);
    }
    addColonUnlessPresent(text, QStringLiteral("地址"));
    addColonUnlessPresent(text, QStringLiteral("姓名"));
    addColonUnlessPresent(text, QStringLiteral("联系人"));
    replaceAll(text, {{QStringLiteral("，"), QStringLiteral(",")},
                      {QStringLiteral(", "), QStringLiteral(",")},
                      {QStringLiteral(" ,"), QStringLiteral(",")},
                      {QStringLiteral("旺旺在线"), QStringLiteral(",")},
                      {QStringLiteral("地区:"), QStringLiteral("区域:")}});
    const QString xinjiang = QStringLiteral("新疆维吾尔自治区");
    const int at = text.indexOf(xinjiang);
    if (at >= 0)
        text.replace(at, xinjiang.size(), QStringLiteral("新疆维吾尔族自治区"));
    replaceAll(text, replacements);
    breakBeforeLabel(text, QStringLiteral("地址:"));
    breakBeforeLabel(text, QStringLiteral("电话:"));
    return QStringLiteral("\n\r") + text + QStringLiteral("\n\r");
}

// ---- The "含省市" rule -------------------------------------------------------------

namespace {

QString removeFirst(QString text, const QString &part)
{
    if (part.isEmpty())
        return text;
    const int at = text.indexOf(part);
    if (at >= 0)
        text.remove(at, part.size());
    return text;
}

QString dropLeadingCommas(QString text)
{
    while (text.startsWith(QLatin1Char(',')))
        text.remove(0, 1);
    return text;
}

} // namespace

QString applyContainRule(const QString &address, const QString &province, const QString &city,
                         const QString &town, bool containProvinceCity)
{
    if (containProvinceCity) {
        const QString plain = removeFirst(address.trimmed(), QStringLiteral(" "));
        QString front;
        for (const QString &part : {province, city, town}) {
            if (!part.isEmpty() && !plain.contains(part))
                front += part;
        }
        return front + address;
    }
    // Only from the front: a street named after a place ("北京路" in
    // Beijing) keeps its name.
    QString result = address;
    for (const QString &part : {province, city, town}) {
        result = result.trimmed();
        if (!part.isEmpty() && result.startsWith(part) && !roadFollows(result, part.size()))
            result.remove(0, part.size());
        result = dropLeadingCommas(result.trimmed());
    }
    return result;
}

// ---- Recognition ---------------------------------------------------------------

namespace {

using F = AddressField;

void takeReplacing(FieldChoice &field, const QStringList &results)
{
    if (results.isEmpty())
        return;
    field.candidates = results;
    field.text = results.first();
}

void takeAdding(FieldChoice &field, const QStringList &results)
{
    field.candidates += results;
}

bool containsAny(const QString &text, const QStringList &parts)
{
    for (const QString &part : parts) {
        if (!part.isEmpty() && text.contains(part))
            return true;
    }
    return false;
}

class Recogniser
{
public:
    Recogniser(const QString &input, AddressSource source, bool contain)
        : m_input(input), m_t(input), m_source(source), m_contain(contain)
    {
    }

    AddressParse run();

private:
    FieldChoice &f(F field) { return m_p[field]; }
    QString text(F field) const { return m_p.text(field); }
    void applyRule()
    {
        f(F::Address).text = applyContainRule(text(F::Address), text(F::Province), text(F::City),
                                              text(F::Town), m_contain);
    }

    void mobile();
    void phone();
    void combinedRegion();
    void splitProvinceCityArea(QString region);
    void fallbackRegion();
    void address();
    void postcode();
    void name();
    void company();
    void tidyAddress();
    void finish();

    const QString m_input;
    QString m_t;
    const AddressSource m_source;
    const bool m_contain;
    AddressParse m_p;
};

AddressParse Recogniser::run()
{
    if (m_t.trimmed().isEmpty())
        return m_p;
    const auto step = [this](const char *name, auto run) {
        StepRecorder recorder(m_p, name);
        (this->*run)();
    };
    step("recognise:mobile", &Recogniser::mobile);
    step("recognise:phone", &Recogniser::phone);
    {
        StepRecorder recorder(m_p, "recognise:country");
        takeReplacing(f(F::Country), expressionFind(m_t, pat::country()));
    }
    step("recognise:region", &Recogniser::combinedRegion);
    if (!m_p.regionFound)
        step("recognise:region-parts", &Recogniser::fallbackRegion);
    step("recognise:address", &Recogniser::address);
    step("recognise:postcode", &Recogniser::postcode);
    step("recognise:name", &Recogniser::name);
    step("recognise:company", &Recogniser::company);
    step("recognise:tidy-address", &Recogniser::tidyAddress);
    step("recognise:finish", &Recogniser::finish);
    return m_p;
}

void Recogniser::mobile()
{
    FieldChoice &m = f(F::Mobile);
    takeReplacing(m, expressionFind(m_t, pat::mobile()));
    m_t.replace(QStringLiteral("手机:") + m.text, QStringLiteral(" "));
    if (m.candidates.size() == 1)
        m_t.replace(m.candidates.first(), QStringLiteral(" "));
}

void Recogniser::phone()
{
    FieldChoice &p = f(F::Phone);
    for (const QString &pattern : pat::phones()) {
        takeReplacing(p, expressionFind(m_t, pattern, pat::phoneSub()));
        if (!p.text.isEmpty())
            m_t.replace(QStringLiteral("电话:") + p.text, QStringLiteral(" "));
        if (p.candidates.size() == 1) {
            m_t.replace(p.candidates.first(), QStringLiteral(" "));
            p.text.replace(QLatin1Char('\''), QLatin1Char(' '));
        }
    }
}

void Recogniser::combinedRegion()
{
    const QStringList &patterns = pat::combinedRegions();
    for (int i = 0; i < patterns.size(); ++i) {
        if (!pat::mayMatchCombinedRegion(i, m_t))
            continue;
        QString region = expressionFindOne(m_t, patterns.at(i));
        if (region.isEmpty() || region.contains(QLatin1Char(':')))
            continue;
        m_t.replace(region, QStringLiteral(" "));
        QString province = expressionFindOne(region, pat::provinceShortList());
        if (!province.isEmpty()) {
            province = removeFirst(province, QStringLiteral("市")).trimmed();
            f(F::Province).text = expressionFindOne(province, QStringLiteral("[^,.\\\\0-9a-zA-Z]{2,20}"));
            f(F::Province).candidates = QStringList{f(F::Province).text};
            region = removeFirst(region, province).trimmed();
        }
        splitProvinceCityArea(region);
        m_p.regionFound = true;
        return;
    }
}

void Recogniser::splitProvinceCityArea(QString region)
{
    region.prepend(QLatin1Char(','));
    QString cityPart = expressionFindOne(region, QStringLiteral("[,]{1}[^0-9a-zA-Z]{2,4}([市]|[盟]|[地][区])"));
    if (cityPart.isEmpty())
        cityPart = expressionFindOne(region, QStringLiteral("[,]{1}[^0-9a-zA-Z]{4,8}([自][治][州])"));
    FieldChoice &city = f(F::City);
    if (!cityPart.isEmpty()) {
        city.text = expressionFindOne(cityPart, QStringLiteral("[^,.\\\\0-9a-zA-Z]{2,16}"));
        region = removeFirst(region, cityPart).trimmed();
        region = removeFirst(region, QStringLiteral(",")).trimmed();
    } else {
        static const QStringList municipalities{QStringLiteral("北京"), QStringLiteral("上海"),
                                                QStringLiteral("天津"), QStringLiteral("重庆")};
        if (municipalities.contains(text(F::Province)))
            city.text = text(F::Province) + QStringLiteral("市");
    }
    if (!city.text.isEmpty())
        city.candidates = QStringList{city.text};
    region = removeFirst(region, QStringLiteral(",市"));
    region = removeFirst(region, QStringLiteral(","));
    FieldChoice &town = f(F::Town);
    town.text = expressionFindOne(region, QStringLiteral("[^,.\\\\0-9a-zA-Z]{2,16}"));
    if (!town.text.isEmpty())
        town.candidates = QStringList{town.text};
}

void Recogniser::fallbackRegion()
{
    for (const QString &pattern : pat::provinces())
        takeReplacing(f(F::Province), expressionFind(m_t, pattern));
    FieldChoice &city = f(F::City);
    for (const QString &pattern : pat::cities()) {
        takeReplacing(city, expressionFind(m_t, pattern, pat::citySub()));
        if (gbkLength(city.text) > 6)
            city.text = removeFirst(city.text, text(F::Province));
    }
    FieldChoice &town = f(F::Town);
    for (const QString &pattern : pat::towns())
        takeAdding(town, expressionFind(m_t, pattern, pat::townSub()));
    static const QStringList notTowns{QStringLiteral("小区"),   QStringLiteral("自治区"),
                                      QStringLiteral("风景区"), QStringLiteral("名胜区"),
                                      QStringLiteral("工业区"), QStringLiteral("工业园区"),
                                      QStringLiteral("行政区")};
    QStringList kept;
    for (const QString &candidate : town.candidates) {
        if (candidate != QStringLiteral("区") && !containsAny(candidate, notTowns))
            kept << candidate;
    }
    town.candidates = kept;
    town.text = kept.value(0);
}

void Recogniser::address()
{
    FieldChoice &a = f(F::Address);
    for (const QString &pattern : pat::addresses())
        takeAdding(a, expressionFind(m_t, pattern, pat::addressSub()));
    if (m_source == AddressSource::Paipai) {
        const QStringList found = expressionFind(
            m_t, QStringLiteral("([ ][^\\n]{5,45}[ ][^\\n\\(]{5,35})"),
            QStringLiteral("[^\\n]{3,}([座]|[楼]|[厦]|[号]|[室]|[路]|[栋]|[幢]|[舍]|[街]|[园]|[道]|[村]|[#]|"
                           "([宿][舍])|([校][区])|([单][元])|[段]|[乡]){1,}([^\\n]{0,60})"));
        for (const QString &result : found) {
            if (gbkLength(result) > 6) {
                a.candidates << result;
                a.text = result;
            }
        }
    }
    const QStringList region{text(F::Province), text(F::City), text(F::Town)};
    QStringList kept;
    for (const QString &candidate : a.candidates) {
        if (!region.contains(candidate))
            kept << candidate;
    }
    a.candidates = kept;
    int longest = -1;
    for (const QString &candidate : a.candidates) {
        if (gbkLength(candidate) >= longest) {
            longest = gbkLength(candidate);
            a.text = candidate;
        }
    }
    if (!text(F::Name).isEmpty())
        a.text = removeFirst(a.text, text(F::Name) + QLatin1Char(' '));
    a.text = removeFirst(a.text, QStringLiteral("(邮编"));
    m_p.typedAddress = a.text;
    applyRule();
}

void Recogniser::postcode()
{
    FieldChoice &zip = f(F::Postcode);
    for (const QString &pattern : pat::postcodes()) {
        const QStringList results = expressionFind(m_t, pattern);
        if (!results.isEmpty())
            takeReplacing(zip, expressionFind(results.first(), QStringLiteral("[0-9]{6}")));
    }
    if (!zip.text.isEmpty()) {
        m_t.replace(QStringLiteral("(邮编:") + zip.text + QLatin1Char(')'), QStringLiteral(" "));
        m_t.replace(QLatin1Char('(') + zip.text + QLatin1Char(')'), QStringLiteral(" "));
    }
}

void Recogniser::name()
{
    FieldChoice &n = f(F::Name);
    for (const QString &pattern : pat::names())
        takeAdding(n, expressionFind(m_t, pattern));
    static const QStringList notNames{QStringLiteral("龙江省"), QStringLiteral("江区"), QStringLiteral("江省"),
                                      QStringLiteral("江镇"), QStringLiteral("江市")};
    const QStringList region{text(F::Province), text(F::City), text(F::Town)};
    auto prune = [&] {
        QStringList kept;
        for (const QString &candidate : n.candidates) {
            if (!notNames.contains(candidate) && !region.contains(candidate) && gbkLength(candidate) > 2)
                kept << candidate;
        }
        n.candidates = kept;
    };
    prune();
    if (n.candidates.isEmpty())
        takeAdding(n, expressionFind(m_t, QStringLiteral("[\\s|\\n| |:]{1}[^\\n0-9a-zA-Z ]{2,5}[ ]")));
    static const QStringList placeWords{QStringLiteral("省"), QStringLiteral("市"), QStringLiteral("区"),
                                        QStringLiteral("县"), QStringLiteral("镇"), QStringLiteral("村"),
                                        QStringLiteral("组")};
    if (n.candidates.size() == 1) {
        n.text = n.candidates.first();
    } else if (!n.candidates.isEmpty()) {
        n.text = n.candidates.first();
        for (int i = n.candidates.size() - 1; i >= 0; --i) {
            const QString &candidate = n.candidates.at(i);
            if (!containsAny(candidate, placeWords) && candidate != text(F::Province)
                && candidate != text(F::City)) {
                n.text = candidate;
                break;
            }
        }
    }
    for (QString &candidate : n.candidates)
        candidate.remove(QLatin1Char(','));
    n.text.remove(QLatin1Char(','));
}

void Recogniser::company()
{
    FieldChoice &c = f(F::Company);
    for (const QString &pattern : pat::companies())
        takeReplacing(c, expressionFind(m_t, pattern, pat::companySub()));
    FieldChoice &a = f(F::Address);
    if (!c.text.isEmpty() && a.text.isEmpty()) {
        for (const QString &result : expressionFind(m_t, QStringLiteral("[^\\s\\n| ]{1}[^ ,]{7,30}[\\s|\\n| |,]{0,1}"))) {
            if (result != text(F::Phone) && result != text(F::Mobile))
                a.candidates << result;
        }
    }
    if (a.candidates.isEmpty()) {
        for (const QString &result : expressionFind(m_t, QStringLiteral("[^\\n,\\r:]{5,40}"))) {
            if (!containsAny(result, {text(F::Phone), text(F::Mobile), text(F::Postcode)}))
                a.candidates << result;
        }
        a.text = a.candidates.value(0);
    }
}

void Recogniser::tidyAddress()
{
    applyRule();
    FieldChoice &a = f(F::Address);
    const QString town = text(F::Town);
    if (!town.isEmpty() && a.text.startsWith(town)) {
        a.text = a.text.mid(town.size()).trimmed();
    } else if (town.isEmpty() && f(F::City).candidates.size() > 1
               && f(F::City).candidates.at(1).contains(QStringLiteral("县"))) {
        f(F::Town).text = f(F::City).candidates.at(1);
    }
    const QString province = text(F::Province);
    for (int i = a.candidates.size() - 1; i >= 0; --i) {
        const QString &candidate = a.candidates.at(i);
        if (!m_contain && !province.isEmpty() && candidate.contains(province)) {
            if (gbkLength(candidate) <= gbkLength(province) + 3)
                a.candidates.removeAt(i);
            continue;
        }
        if (containsAny(candidate, {text(F::Phone), text(F::Mobile), text(F::Postcode)})
            || containsAny(candidate, {QStringLiteral("电话号码"), QStringLiteral("手机号码"), QStringLiteral("邮箱")}))
            a.candidates.removeAt(i);
    }
    a.text = a.candidates.value(0);
}

void Recogniser::finish()
{
    FieldChoice &phone = f(F::Phone);
    if (!phone.text.isEmpty() && text(F::Mobile).contains(phone.text))
        phone.text = text(F::Mobile);
    if (phone.text.isEmpty())
        takeReplacing(phone, expressionFind(m_t, QStringLiteral("[0-9]{7,8}[-]{0,1}[0-9]{4,6}")));

    static const QList<QPair<QString, QString>> shortForms{
        {QStringLiteral("广西壮族自治区"), QStringLiteral("广西")},
        {QStringLiteral("宁夏回族自治区"), QStringLiteral("宁夏")},
        {QStringLiteral("西藏自治区"), QStringLiteral("西藏")},
        {QStringLiteral("新疆维吾尔自治区"), QStringLiteral("新疆")},
        {QStringLiteral("新疆维吾尔族自治区"), QStringLiteral("新疆")},
        {QStringLiteral("内蒙古自治区"), QStringLiteral("内蒙古")}};
    for (const auto &[full, brief] : shortForms) {
        if (text(F::Province) == full)
            f(F::Province).text = brief;
    }

    FieldChoice &a = f(F::Address);
    const QString zip = text(F::Postcode);
    auto withoutZip = [&zip](QString value) {
        if (!zip.isEmpty()) {
            value.remove(QLatin1Char('(') + zip + QLatin1Char(')'));
            value.remove(QLatin1Char(',') + zip);
            value.remove(zip);
        }
        return value.trimmed();
    };
    a.text = withoutZip(a.text);
    for (QString &candidate : a.candidates) {
        if (candidate.endsWith(QLatin1Char(',')))
            candidate.chop(1);
    }
    if (a.text.endsWith(QLatin1Char(',')) && a.text.indexOf(QLatin1Char(',')) == a.text.size() - 1)
        a.text.chop(1);

    const QString name = text(F::Name);
    if (!name.isEmpty() && a.text.startsWith(name))
        a.text = a.text.remove(name).trimmed();

    FieldChoice &n = f(F::Name);
    if (!n.candidates.isEmpty() && !a.text.isEmpty()) {
        const int p = m_input.indexOf(text(F::Province));
        const QStringList region{text(F::Province), text(F::City), text(F::Town)};
        QStringList kept;
        for (const QString &candidate : n.candidates) {
            const int at = m_input.indexOf(candidate);
            const bool insideAddress = p > 0 && at > p && at < p + a.text.size();
            if (!insideAddress && !region.contains(candidate))
                kept << candidate;
        }
        n.candidates = kept;
        n.text = kept.value(0);
    }
    if (!text(F::Company).isEmpty() && a.text.isEmpty())
        a.text = text(F::Company);
    applyRule();
}

} // namespace

AddressParse recogniseAddress(const QString &normalised, AddressSource source, bool containProvinceCity)
{
    return Recogniser(normalised, source, containProvinceCity).run();
}

} // namespace billprint

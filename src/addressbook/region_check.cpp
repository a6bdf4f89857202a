#include "addressbook/region_check.h"

#include "addressbook/address_finder.h"
#include "addressbook/receiver_telephones.h"
#include "addressbook/region_table.h"
#include "addressbook/surnames.h"
#include "addressbook/typed_characters.h"
#include "app/simplified_chinese.h"

#include <QRegularExpression>

namespace billprint {

namespace {

using F = AddressField;

// ---- Finding the run of divisions ------------------------------------------------

bool isSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n')
        || c == QLatin1Char('\t') || c == QLatin1Char('-') || c == QLatin1Char('/');
}

// Blanks, commas, line breaks and a short label ("市:", "区县:") between two
// names of one run.
// The first half of an address label ("详细" of "详细地址:").
bool isAddressLabelStart(QStringView word)
{
    static const QStringList starts{QStringLiteral("详细"), QStringLiteral("收货"), QStringLiteral("收件"),
                                    QStringLiteral("街道"), QStringLiteral("配送"), QStringLiteral("所在"),
                                    QStringLiteral("送货"), QStringLiteral("邮寄")};
    return starts.contains(word.toString());
}

int skipBetween(const QString &text, int pos)
{
    while (pos < text.size() && isSeparator(text.at(pos)))
        ++pos;
    for (int len = 1; len <= 4 && pos + len < text.size(); ++len) {
        if (text.at(pos + len) == QLatin1Char(':')) {
            pos += len + 1;
            while (pos < text.size() && isSeparator(text.at(pos)))
                ++pos;
            break;
        }
        if (isSeparator(text.at(pos + len))) {
            // A label broken before its "地址:" ("详细\r\n地址:").
            int next = pos + len;
            while (next < text.size() && isSeparator(text.at(next)))
                ++next;
            if (isAddressLabelStart(QStringView(text).mid(pos, len))
                && QStringView(text).mid(next).startsWith(QStringLiteral("地址:")))
                return skipBetween(text, next);
            break;
        }
    }
    return pos;
}

class ChainFinder
{
public:
    ChainFinder(const RegionTable &table, const QString &text) : m_table(table), m_text(text) {}

    RegionChain find()
    {
        for (int i = 0; i + 1 < m_text.size(); ++i) {
            if (!m_table.mayStartAt(QStringView(m_text).mid(i, 2)))
                continue;
            RegionChain start;
            start.start = i;
            extend(start, i);
        }
        if (m_best.matched == 1 && m_best.fullNames == 0)
            return RegionChain();  // one short name alone is too weak a sign
        return m_best;
    }

private:
    bool compatible(const RegionChain &c, const Division &d, int id, bool shortForm) const
    {
        const bool context = c.matched > 0;
        switch (d.level) {
        case Division::Province:
            if (!context)
                return true;
            // "上海 上海市 ...": a municipality named again as its own city.
            return id == c.province && c.prefecture < 0 && c.county < 0 && m_table.isMunicipality(id);
        case Division::Prefecture:
            if (c.prefecture >= 0 || c.county >= 0)
                return false;
            return c.province >= 0 ? d.province == c.province : !shortForm;
        case Division::County:
            if (c.county >= 0)
                return false;
            if (c.prefecture >= 0 && c.prefecture != c.province)
                return d.parent == c.prefecture;
            if (c.province >= 0)
                return d.province == c.province;
            return !shortForm && d.name.size() >= 3;
        }
        return false;
    }

    void consider(const RegionChain &c)
    {
        auto key = [](const RegionChain &r) { return std::make_tuple(r.matched, r.fullNames, -r.start); };
        if (c.matched > 0 && (m_best.matched == 0 || key(c) > key(m_best)))
            m_best = c;
    }

    void extend(const RegionChain &c, int pos)
    {
        const int from = c.matched > 0 ? skipBetween(m_text, pos) : pos;
        bool grew = false;
        const int longest = qMin(m_table.longestNameAt(QStringView(m_text).mid(from)), int(m_text.size()) - from);
        for (int len = longest; len >= 2 && !grew; --len) {
            const QStringView word = QStringView(m_text).mid(from, len);
            for (int pass = 0; pass < 2; ++pass) {
                const bool shortForm = pass == 1;
                const QList<int> ids = shortForm ? m_table.shortNamed(word) : m_table.fullNamed(word);
                for (int id : ids) {
                    const Division &d = m_table.at(id);
                    if (!compatible(c, d, id, shortForm))
                        continue;
                    if (shortForm && roadFollows(m_text, from + len))
                        continue;
                    RegionChain next = c;
                    place(next, d, id);
                    next.end = from + len;
                    ++next.matched;
                    if (!shortForm)
                        ++next.fullNames;
                    grew = true;
                    consider(next);
                    if (next.county < 0)
                        extend(next, next.end);
                }
            }
        }
    }

    void place(RegionChain &c, const Division &d, int id) const
    {
        switch (d.level) {
        case Division::Province:
            if (c.province == id)
                c.prefecture = id;
            c.province = id;
            break;
        case Division::Prefecture:
            c.prefecture = id;
            c.province = d.province;
            break;
        case Division::County:
            c.county = id;
            c.province = d.province;
            if (c.prefecture < 0 && d.parent != d.province)
                c.prefecture = d.parent;
            break;
        }
    }

    const RegionTable &m_table;
    const QString &m_text;
    RegionChain m_best;
};

} // namespace

RegionChain findRegionChain(const RegionTable &table, const QString &text)
{
    return ChainFinder(table, text).find();
}

// ---- Correcting the fields ------------------------------------------------------

namespace {

// A street line of its own: a number or a building word, no label.
bool isStreetLine(const QString &line)
{
    return gbkLength(line.trimmed()) >= 6 && !line.contains(QLatin1Char(':'))
        && literalPattern("[0-9]|号|栋|幢|室|楼|路|街|村|苑|院|大厦|小区").match(line).hasMatch()
        && !literalPattern("^\\s*(?:\\+?86|0086)?[-0-9 ()/+]+\\s*$").match(line).hasMatch();
}

// Chat words that end a message: thanks, the courier asked for, urgency.
bool containsChatWords(const QString &word)
{
    // Interjections only alone, or a name like 哈斯 would be one.
    return literalPattern("谢谢|多谢|麻烦|辛苦|顺丰|韵达|圆通|中通|申通|京东|邮政|EMS|快递|到付|尽快|发货|急用|拜托|^亲|驿站|"
              "快递柜|不要放|别放|放门卫|到了打|到了给|就寄|寄这|不在家|在家|上班|下班|感谢|能发|下午|上午|白天|晚上|"
              "周末|工作日|"
              "^[哦啦哈嗯呀吧][~～!！]*$")
        .match(word)
        .hasMatch();
}

// A word of chat, not a piece of the street that happens to hold one.
bool isChatWords(const QString &word)
{
    return !literalPattern("[0-9#]|(路|街|道|号|楼|室|栋|幢|村|弄|巷)").match(word).hasMatch()
        && containsChatWords(word);
}

// A word that names an organisation by its ending ("…有限公司", "…中学",
// "…医院检验科"). Asked for every word of a text: plain string work.
bool isCompanyName(const QString &word)
{
    static const QStringList endings{
        QStringLiteral("公司"),   QStringLiteral("集团"),   QStringLiteral("商行"),   QStringLiteral("贸易行"), QStringLiteral("商店"),
        QStringLiteral("书店"),   QStringLiteral("眼镜店"), QStringLiteral("药店"),   QStringLiteral("药房"),
        QStringLiteral("诊所"),   QStringLiteral("门诊部"), QStringLiteral("工作室"), QStringLiteral("事务所"),
        QStringLiteral("经营部"), QStringLiteral("经销部"), QStringLiteral("营业部"), QStringLiteral("办事处"),
        QStringLiteral("门市部"), QStringLiteral("厂"),     QStringLiteral("中学"),   QStringLiteral("小学"),
        QStringLiteral("大学"),   QStringLiteral("学院"),   QStringLiteral("学校"),   QStringLiteral("医院"),
        QStringLiteral("档案馆"), QStringLiteral("图书馆"), QStringLiteral("博物馆"), QStringLiteral("研究所"),
        QStringLiteral("研究院"), QStringLiteral("设计院"), QStringLiteral("银行"),   QStringLiteral("支行"),
        QStringLiteral("分行"),   QStringLiteral("幼儿园"), QStringLiteral("委员会"), QStringLiteral("管理局"),
        QStringLiteral("管理处")};
    static const QStringList departments{QStringLiteral("科"), QStringLiteral("处"), QStringLiteral("部"),
                                         QStringLiteral("室"), QStringLiteral("组"), QStringLiteral("系"),
                                         QStringLiteral("学院")};
    static const QString institutions = QStringLiteral("院校学司局所馆");
    if (word.size() < 3 || word.size() > 36)
        return false;
    for (QChar c : word) {
        if (c.isSpace() || c.isDigit() || c == u',' || c == u':')
            return false;
    }
    for (const QString &ending : endings) {
        if (word.size() >= ending.size() + 2 && word.endsWith(ending))
            return true;
    }
    // A department of an institution: "…医院检验科", "…中学教务处".
    for (const QString &department : departments) {
        if (!word.endsWith(department))
            continue;
        const int end = word.size() - department.size();
        for (int at = qMax(2, end - 7); at < end - 1; ++at) {
            if (institutions.contains(word.at(at)))
                return true;
        }
    }
    return false;
}

bool isCompoundSurname(const QString &two)
{
    return Surnames::delivered().isCompound(two);
}

bool hasSurname(const QString &word)
{
    return Surnames::delivered().surnameLength(word) > 0;
}

// Whether the digits stand in the text with no digit on either side.
bool standsAlone(const QString &text, const QString &digits)
{
    for (int at = text.indexOf(digits); at >= 0; at = text.indexOf(digits, at + 1)) {
        const int end = at + digits.size();
        if ((at == 0 || !text.at(at - 1).isDigit()) && (end >= text.size() || !text.at(end).isDigit()))
            return true;
    }
    return false;
}

// Takes a number out with its country prefix ("+86 ", "(+86)", "86-").
void removeNumber(QString &value, const QString &number)
{
    if (number.isEmpty())
        return;
    for (int at = value.indexOf(number); at >= 0; at = value.indexOf(number, at)) {
        const QRegularExpressionMatch prefix =
            literalPattern("(?:(?:\\(\\+?86\\)|\\+86|0086)[- ]?|86-)$").match(QStringView(value).left(at));
        const int from = prefix.hasMatch() ? int(prefix.capturedStart(0)) : at;
        value.remove(from, at + number.size() - from);
        at = from;
    }
}

int skipBlanks(const QString &text, int pos, int step)
{
    while (pos >= 0 && pos < text.size() && text.at(pos).isSpace())
        pos += step;
    return pos;
}

// Takes out the receiver's mark after the street: "(李四 收)", "李四收".
void removeReceiverMark(QString &value, const QString &name)
{
    const int at = value.indexOf(name);
    if (at < 0)
        return;
    int end = skipBlanks(value, at + name.size(), 1);
    const bool received = end < value.size() && value.at(end) == u'收';
    if (received)
        end = skipBlanks(value, end + 1, 1);
    const int open = skipBlanks(value, at - 1, -1);
    if (open >= 0 && value.at(open) == u'(' && end < value.size() && value.at(end) == u')')
        value.remove(open, end + 1 - open);
    else if (received && (end >= value.size() || value.at(end) == u','))
        value.remove(at, end - at);
}

class Checker
{
public:
    Checker(AddressParse &parse, const QString &input, const RegionTable &table)
        : m_p(parse), m_input(input), m_table(table)
    {
    }

    void run()
    {
        const auto step = [this](const char *name, auto run) {
            StepRecorder recorder(m_p, name);
            (this->*run)();
        };
        step("check:telephones", &Checker::telephones);
        step("check:country", &Checker::country);
        m_chain = findRegionChain(m_table, m_input);
        if (!m_chain.isEmpty())
            step("check:regions", &Checker::regions);
        step("check:postcode", &Checker::postcode);
        step("check:contact", &Checker::contact);
        step("check:name", &Checker::tidyName);
        step("check:address", &Checker::address);
        step("check:company", &Checker::company);
    }

private:
    QString text(F f) const { return m_p.text(f); }
    void set(F f, const QString &value)
    {
        FieldChoice &field = m_p[f];
        field.text = value;
        if (!value.isEmpty() && !field.candidates.contains(value))
            field.candidates.prepend(value);
    }

    void telephones();
    void country();
    void regions();
    void contact();
    void tidyName();
    bool insideRegion(const QString &word) const;
    bool overlapsRegion(const QString &word) const;
    bool plausibleName(const QString &name) const;
    bool looksLikeName(const QString &name) const;
    QString wordBesideNumber() const;
    void company();
    QString organisationLine() const;
    void postcode();
    bool isAccountNumber(const QString &digits) const;
    void address();
    QString tailAfterRegion() const;
    QString beforeContact(const QString &tail) const;
    QString withoutTrailingWords(QString value);
    QString nameGluedToRegion() const;
    QString nameGluedToNumber() const;
    QString nameAfterHouseNumber() const;
    QString wordOfItsOwn() const;
    bool standsAsItem(const QString &word) const;
    bool standsAsWord(int at, int size) const;
    bool isLineOfItsOwn(int start, int end) const;
    bool besideTelephone(int start, int end) const;
    QString markedName() const;
    QString withoutKnownParts(QString value) const;

    AddressParse &m_p;
    const QString &m_input;
    const RegionTable &m_table;
    RegionChain m_chain;
    QString m_townAfterChain;
    QStringList m_writtenNumbers;  // the telephones as they stand in the text
    mutable QHash<QString, bool> m_looksLikeName;
};

// "国家:中国,谢谢": the country is the label's first word.
void Checker::country()
{
    const QString country = text(F::Country);
    int end = 0;
    while (end < country.size() && !country.at(end).isSpace() && country.at(end) != u',')
        ++end;
    if (end == country.size())
        end = -1;
    if (end > 0)
        set(F::Country, country.left(end));
}

void Checker::telephones()
{
    const ReceiverTelephones found = findTelephones(m_input, text(F::Phone));
    set(F::Mobile, found.mobile);
    set(F::Phone, found.phone);
    m_writtenNumbers = found.written;
}

void Checker::regions()
{
    const RegionChain &c = m_chain;
    set(F::Province, m_table.provinceText(c.province));
    QString city;
    QString town;
    if (c.prefecture >= 0)
        city = m_table.at(c.prefecture).name;
    else if (m_table.isMunicipality(c.province))
        city = m_table.at(c.province).name;
    if (c.county >= 0) {
        const Division &county = m_table.at(c.county);
        if (city.isEmpty() && county.parent == county.province)
            city = county.name;  // governed by its province directly
        else
            town = county.name;
    }
    if (town.isEmpty() && c.matched > 0) {
        // A town or street office right after a city without counties
        // ("东莞市长安镇").
        // Under a city with counties but none named, the street office
        // stays in the address.
        const int from = skipBetween(m_input, c.end);
        const bool townsFollow = c.county >= 0 || (c.prefecture >= 0 && !m_table.hasCounties(c.prefecture));
        m_townAfterChain = literalCapture(m_input.mid(from), "^(高新区|经开区|开发区|高新技术开发区|经济开发区)");
        if (m_townAfterChain.isEmpty() && townsFollow)
            m_townAfterChain = literalCapture(m_input.mid(from), "^([^\\s,:0-9a-zA-Z()]{1,6}?(镇|乡|街道))(?![镇乡])");
        // A city without counties is divided into street offices, often
        // written short ("中山市东区").
        if (m_townAfterChain.isEmpty() && c.prefecture >= 0 && !m_table.hasCounties(c.prefecture))
            m_townAfterChain = literalCapture(m_input.mid(from), "^([^\\s,:0-9a-zA-Z()区]{1,3}区)");
        town = m_townAfterChain;
    }
    if (!city.isEmpty() || c.prefecture >= 0 || c.county >= 0) {
        set(F::City, city);
        set(F::Town, town);
    } else if (!m_table.fullNamed(text(F::City)).isEmpty()) {
        // The pattern's city is a division, but not of this province.
        set(F::City, QString());
    }
}

bool Checker::overlapsRegion(const QString &word) const
{
    const int at = m_input.indexOf(word);
    return !m_chain.isEmpty() && at >= 0 && at < m_chain.end && at + word.size() > m_chain.start;
}

bool Checker::insideRegion(const QString &word) const
{
    const int at = m_input.indexOf(word);
    return !m_chain.isEmpty() && at >= m_chain.start && at < m_chain.end;
}

// Whether the word itself can be a name, whatever the text around it:
// Chinese characters, no label, chat word, company or place ending.
bool Checker::looksLikeName(const QString &name) const
{
    const auto known = m_looksLikeName.constFind(name);
    if (known != m_looksLikeName.constEnd())
        return *known;
    const bool result = [&name] {
        // Up to six characters; a minority name's parts joined by "·" more.
        if (name.isEmpty() || name.size() > (name.contains(u'·') ? 10 : 6) || gbkLength(name) < 4)
            return false;
        for (QChar c : name) {
            if (c.script() != QChar::Script_Han && c != u'·')
                return false;
        }
        // Chat words, then place endings, pronouns, building words,
        // labels, greetings and remarks.
        if (containsChatWords(name)
            || literalPattern("(镇|乡|街道|村|路|街)$|[我你您他她]|单元|号|楼|室|栋|幢|层|弄|巷|"
               "你好|您好|老板|掌柜|客服|帮我|寄到|发到|寄给|地址|收件|收货|姓名|联系|下单|拍了|已拍|感谢|所在|地区|详细|街道|"
                                       "订单|编号|单号|商品|时间|备注|留言|数量|颜色|规格|电话|座机|手机|移动|固定|邮编|城市|省份|信息|资料|名字|"
                                       "全名|客户|买家|周末|周日|周六|白天|晚上|上午|下午|中午|工作日|节假日|代收|家人|家里|单位|宿舍|公司|"
                                       "学校|门卫|前台|包邮|自提|加急|急件|门口|电联|同号|微信|哈喽|哈啰|在吗|烦交|早上好|中午好|下午好|美女|帅哥|宝贝|亲爱|老铁|店家|卖家|小哥|嗯呢|嗯嗯|好的|好滴|打这|具体|中国|驿站|不要|^谢啦$|^多谢|就寄|寄这|寄往|请交|转交|"
                                       "^(?:本人|先生|女士|小姐|老师|老公|老婆)$").match(name).hasMatch())
            return false;
        return !isAddressLabelStart(name) && !isCompanyName(name);
    }();
    m_looksLikeName.insert(name, result);
    return result;
}

// Whether the word can be the receiver's name in this text: not a region
// name, nor a piece of the street.
bool Checker::plausibleName(const QString &name) const
{
    if (!looksLikeName(name))
        return false;
    static const QString placeSigns = QStringLiteral("省市区县镇乡村路街号楼室栋");
    const bool placeSign = std::any_of(name.cbegin(), name.cend(), [](QChar c) { return placeSigns.contains(c); });
    if (placeSign
        && (!m_table.fullNamed(name).isEmpty() || !m_table.shortNamed(name.left(2)).isEmpty()
            || text(F::Address).contains(name)))
        return false;
    return !insideRegion(name) && m_table.fullNamed(name).isEmpty();
}

// A name written straight before the region without a separator
// ("王小明广东省深圳市…").
QString Checker::nameGluedToRegion() const
{
    if (m_chain.isEmpty() || m_chain.start < 2)
        return QString();
    // Glued, or apart by blanks as the first words of the text
    // ("热依拉 香港 九龙…").
    int end = m_chain.start;
    while (end > 0 && m_input.at(end - 1) == QLatin1Char(' '))
        --end;
    int from = end;
    while (from > 0 && !isSeparator(m_input.at(from - 1)) && m_input.at(from - 1) != QLatin1Char(':')
           && !m_input.at(from - 1).isDigit() && end - from < 5)
        --from;
    const QString word = m_input.mid(from, end - from);
    if (end != m_chain.start && !QStringView(m_input).left(from).trimmed().isEmpty())
        return QString();
    if (from > 0 && !isSeparator(m_input.at(from - 1)) && m_input.at(from - 1) != QLatin1Char(':')
        && !m_input.at(from - 1).isDigit())
        return QString();
    // Right after a telephone the words before the region are the name
    // even without a known surname ("18683293964 次仁央宗湖南省…").
    const bool afterNumber = literalPattern("(?:[0-9][ -]?){7,}\\s*$").match(QStringView(m_input).left(from)).hasMatch();
    const bool firstWords = QStringView(m_input).left(from).trimmed().isEmpty();
    return word.size() >= 2 && plausibleName(word) && (hasSurname(word) || afterNumber || firstWords) ? word
                                                                                                      : QString();
}

// A name glued after the house number at the end of its item
// ("…环城中巷89号白文红,到了…").
QString Checker::nameAfterHouseNumber() const
{
    QRegularExpressionMatchIterator it = literalPattern("(?<=[0-9号室楼栋幢座户])([^\\s,:0-9a-zA-Z()+号室楼栋幢座层户]{2,4})(?=[\\s,]|$)")
                                             .globalMatch(m_input);
    while (it.hasNext()) {
        const QString word = it.next().captured(1);
        if ((hasSurname(word) || word.size() >= 3) && plausibleName(word))
            return word;
    }
    return QString();
}

// A name glued between the house number and the mobile
// ("…东吴北路99号练小红13912345678").
QString Checker::nameGluedToNumber() const
{
    const QString name = literalCapture(
        m_input, "(?<=[0-9号室楼栋幢座层户])([^\\s,:0-9a-zA-Z()+号室楼栋幢座层户]{2,5})"
        "(?=\\s*(?:\\(?\\+?86\\)?[ -]?)?(?:1[3-9][0-9]|0[0-9]{2,3}[- ]))");
    return plausibleName(name) ? name : QString();
}

// A name marked as the receiver ("(李四 收)", "李四收") or written before
// a job title on a card ("陈卫东 董事长", "汤梓萱(董事长)").
QString Checker::markedName() const
{
    static const char *const patterns[] = {
        "\\(\\s*([^\\s,:0-9a-zA-Z()]{2,10})\\s*收\\s*\\)",
        "(?<=^|[\\s,:])([^\\s,:0-9a-zA-Z()]{2,10}?)\\s?收(?=$|[\\s,(0-9])",
        "(?<=^|[\\r\\n])([^\\s,:0-9a-zA-Z()]{2,5})\\s*\\(?[^\\s,:0-9()]{0,4}(经理|董事长|总裁|主管|总监|专员|代表|助理|主任|"
        "工程师|会计|老板|店长|厂长|部长|科长|处长|局长|院长|校长|总经理|秘书|顾问)\\)?(?=$|[\\r\\n])"};
    // A 收 that marks the receiver: not the one of a label (收货人, 收件人).
    bool received = false;
    for (int at = m_input.indexOf(u'收'); at >= 0 && !received; at = m_input.indexOf(u'收', at + 1))
        received = at + 1 >= m_input.size() || !QStringView(u"货件到方款藏").contains(m_input.at(at + 1));
    for (const char *pattern : patterns) {
        if (!received && pattern != patterns[2])
            continue;
        const QString name = literalCapture(m_input, pattern);
        if (plausibleName(name))
            return name;
    }
    return QString();
}

void Checker::contact()
{
    if (const QString marked = markedName(); !marked.isEmpty()) {
        set(F::Name, marked);
        return;
    }
    // A labelled contact wins over what the patterns guessed.
    const QString labelled = literalCapture(
        m_input, "(收货人|收件人|姓名|联系人|收件方|收方|买家|名字|我叫|(?:请|烦|转)?交给|寄给|送给|(?:请|烦|转)交)(姓名|信息)?[:]?\\s*(?:是|为|叫)?\\s*"
        "(?:我的?(?:老公|老婆|妈妈|妈|爸爸|爸|朋友|同事|家人|女朋友|男朋友|同学|姐姐|姐|哥哥|哥|弟弟|弟|妹妹|妹|"
        "儿子|女儿|阿姨|叔叔|舅舅|闺蜜))?[\\s,]*([^\\s,:0-9a-zA-Z()]{2,5}(?:·[^\\s,:0-9a-zA-Z()·]{1,5})?)(?=[\\s,:0-9(]|$)", 3);
    if (plausibleName(labelled)) {
        set(F::Name, labelled);
        return;
    }
    const QString glued = nameGluedToRegion();
    const QString current = text(F::Name);
    if (!glued.isEmpty() && (current.isEmpty() || glued.startsWith(current) || !plausibleName(current))) {
        set(F::Name, glued);
        return;
    }

    // A word of its own that starts with a surname: one beside a telephone
    // first, then one that is a whole item of the text ("…,荣瑶晨,0898-…"
    // before "纯棉T恤 白色 XL" and "复古台灯,2").
    // The patterns' guess stays unless a word ranks higher.
    QString name;
    int bestRank = 0;
    if (plausibleName(current)) {
        const int at = m_input.indexOf(current);
        name = current;
        bestRank = !standsAsWord(at, current.size())                ? 0
            : at >= 0 && besideTelephone(at, at + current.size()) ? 3
            : standsAsItem(current)                                 ? 2
                                                                    : 1;
    }
    QRegularExpressionMatchIterator it =
        literalPattern("(?<![\\p{Han}a-zA-Z·])([\\p{Han}·]{2,6})(?=[\\s,0-9()+]|$)").globalMatch(m_input);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString word = m.captured(1);
        if (!looksLikeName(word))
            continue;
        // Beside a telephone a word is a name without a known surname
        // ("旦增", "斯琴高娃"); elsewhere the surname is the sign.
        const bool beside = besideTelephone(m.capturedStart(1), m.capturedEnd(1));
        if (!beside && !hasSurname(word) && !isLineOfItsOwn(m.capturedStart(1), m.capturedEnd(1)))
            continue;
        const int rank = beside ? 3 : standsAsItem(word) ? 2 : 1;
        if (rank <= bestRank || !plausibleName(word))
            continue;
        if (rank > bestRank) {
            bestRank = rank;
            name = word;
        }
    }
    if (name.isEmpty())
        name = nameGluedToNumber();
    if (name.isEmpty())
        name = nameAfterHouseNumber();
    if (name.isEmpty())
        name = wordBesideNumber();
    if (name.isEmpty())
        name = wordOfItsOwn();
    set(F::Name, name);
}

// The last resort, so that a name in the text is not lost: a word of
// Chinese characters that is an item of its own and no region, street,
// company, label or chat word.
QString Checker::wordOfItsOwn() const
{
    QRegularExpressionMatchIterator it =
        literalPattern("(?<![\\p{Han}a-zA-Z·])([\\p{Han}·]{2,5})(?=[\\s,0-9()+]|$)").globalMatch(m_input);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString word = m.captured(1);
        if (looksLikeName(word) && standsAsItem(word) && plausibleName(word))
            return word;
    }
    return QString();
}

// Whether a telephone (seven digits or more, perhaps under a short label)
// stands right before or after the word.
bool Checker::besideTelephone(int start, int end) const
{
    const QStringView after = QStringView(m_input).mid(end);
    if (literalPattern("^(?:\\((?:先生|女士|小姐|老师)\\))?[\\s,:]*(?:电话|手机|联系电话|手机号|电话是|手机是|(?i:tel|t|m|mob|mobile|phone)|☎|📞)?[\\s,:是]*"
           "(?:\\+?86[ -]?|\\(\\+?86\\))?\\(?[0-9][0-9 ()-]{6,}")
            .match(after)
            .hasMatch())
        return true;
    // Before: a telephone, not an order number of sixteen digits.
    return literalPattern("(?<![0-9])(?:[0-9][ -]?){7,12}[\\s,:]*$").match(QStringView(m_input).left(start)).hasMatch();
}

// Whether the word fills its line ("热依拉" above the address).
bool Checker::isLineOfItsOwn(int start, int end) const
{
    const auto lineEdge = [this](int at) {
        return at < 0 || at >= m_input.size() || m_input.at(at) == u'\r' || m_input.at(at) == u'\n';
    };
    return lineEdge(start - 1) && lineEdge(end);
}

// Whether the text at `at` is a word of its own, not the end of a longer
// one ("高娃" of "斯琴高娃").
bool Checker::standsAsWord(int at, int size) const
{
    if (at < 0)
        return false;
    const auto edge = [](QChar c) { return c.isSpace() || c.isDigit() || QStringLiteral(",:()+").contains(c); };
    return (at == 0 || edge(m_input.at(at - 1)))
        && (at + size >= m_input.size() || edge(m_input.at(at + size)) || m_input.at(at + size) == u'收');
}

// Whether the word stands between separators of items (a comma, a line
// break, a label's colon, the ends), not between blanks inside an item.
bool Checker::standsAsItem(const QString &word) const
{
    static const QString itemEdges = QStringLiteral(",:\r\n");
    for (int at = m_input.indexOf(word); at >= 0; at = m_input.indexOf(word, at + 1)) {
        int before = at - 1;
        while (before >= 0 && m_input.at(before) == QLatin1Char(' '))
            --before;
        int after = at + word.size();
        while (after < m_input.size() && m_input.at(after) == QLatin1Char(' '))
            ++after;
        const bool startsItem = before < 0 || itemEdges.contains(m_input.at(before));
        const bool endsItem = after >= m_input.size() || itemEdges.contains(m_input.at(after))
            || m_input.at(after).isDigit() || m_input.at(after) == QLatin1Char('(') || m_input.at(after) == u'+';
        if (startsItem || endsItem)
            return true;
    }
    return false;
}

// "李四收" is 李四; "马光" written after "司" is 司马光.
void Checker::tidyName()
{
    QString name = text(F::Name);
    if (name.size() >= 3 && name.endsWith(QStringLiteral("收")))
        name.chop(1);
    // A chat particle after the name ("李娜哦").
    if (name.size() >= 3 && literalPattern("[哦呀啊哈呢吧啦]$").match(name).hasMatch())
        name.chop(1);
    // "廖立新先生", "曾洋老师" are 廖立新 and 曾洋; "陈小姐" stays, being
    // all that is given.
    static const QString titleEnds = QStringLiteral("生士姐师理任");
    const QRegularExpressionMatch title = !name.isEmpty() && titleEnds.contains(name.back())
        ? literalPattern("^(.{2,4}?)(先生|女士|小姐|老师|经理|總經理|总经理|主任)$").match(name)
        : QRegularExpressionMatch();
    if (title.hasMatch() && Surnames::delivered().surnameLength(name) < title.captured(1).size())
        name = title.captured(1);
    const int at = name.isEmpty() ? -1 : m_input.indexOf(name);
    if (at > 0 && name.size() <= 3 && isCompoundSurname(m_input.mid(at - 1, 2)))
        name.prepend(m_input.at(at - 1));
    if (name != text(F::Name))
        set(F::Name, name);
}

// A postcode glued to the text around it ("166号264001"): six digits of
// their own that are no part of a telephone.
void Checker::postcode()
{
    const QString recognised = text(F::Postcode);
    if (!recognised.isEmpty() && !isAccountNumber(recognised)
        && standsAlone(m_input, recognised))
        return;
    QString zip;
    QRegularExpressionMatchIterator it = literalPattern("(?<![0-9-])[0-8][0-9]{5}(?![0-9-])").globalMatch(m_input);
    while (it.hasNext()) {
        const QString found = it.next().captured(0);
        if (!isAccountNumber(found))
            zip = found;
    }
    set(F::Postcode, zip);
}

// Six digits after "QQ", "微信" or "旺旺" are an account, not a postcode.
bool Checker::isAccountNumber(const QString &digits) const
{
    return literalPattern("(?i)(qq|q号|微信|wx|vx|旺旺)\\s*(号|号码)?\\s*[:]?\\s*$")
        .match(QStringView(m_input).left(qMax(0, m_input.indexOf(digits))))
        .hasMatch();
}

// A company the patterns took out of the street address ("…湖南大学南校区")
// is none; a labelled one is taken as written.
void Checker::company()
{
    const QString labelled =
        literalCapture(m_input, "(公司|单位|单位名称|公司名称|收件单位)[:]\\s*([^\\r\\n,:]{2,40}?)(?=\\s*(\\r|\\n|,|$|[^\\s]{2,3}[:]"
                         "|\\s(?:收件人|收货人|联系人|姓名|手机|电话|地址)))", 2);
    if (!labelled.isEmpty()) {
        set(F::Company, labelled.trimmed());
        return;
    }
    const QString company = text(F::Company);
    const QString address = text(F::Address);
    if (!company.isEmpty() && !address.isEmpty() && (address.contains(company) || company.contains(address)))
        set(F::Company, QString());
    else if (!company.isEmpty() && (overlapsRegion(company) || isChatWords(company)))
        set(F::Company, QString());  // "黑龙江省伊春友好区车站" is the region and a street
    // An organisation item wins over a guess it holds ("…医院" of "…医院检验科").
    const QString organisation = organisationLine();
    if (text(F::Company).isEmpty() || (organisation.contains(text(F::Company)) && organisation != text(F::Company)))
        set(F::Company, organisation);
}

// A line of a card that is an organisation and nothing else.
QString Checker::organisationLine() const
{
    // A line of its own, or the first word of a line ("嘉禾设计工作室 康华敏 …").
    // An item between commas or tabs too ("令狐杰,博源服装厂,1879…").
    QRegularExpressionMatchIterator it = literalPattern("(?<=^|[\\r\\n, ])([^\\s,:0-9]{2,30})(?=$|[\\r\\n ,])").globalMatch(m_input);
    while (it.hasNext()) {
        const QString line = it.next().captured(1);
        if (isCompanyName(line) && !overlapsRegion(line))
            return line;
    }
    return QString();
}

// A short word right before or after the mobile or phone: names without
// a common surname ("符丽 13876012345").
QString Checker::wordBesideNumber() const
{
    for (const QString &number : QStringList{text(F::Mobile), text(F::Phone)} + m_writtenNumbers) {
        if (number.isEmpty() || !m_input.contains(number))
            continue;
        const QString escaped = QRegularExpression::escape(number);
        const QRegularExpression before(QStringLiteral("(?:^|[\\s,:])([^\\s,:0-9a-zA-Z()]{2,4})[\\s,]*") + escaped);
        const QRegularExpression after(escaped + QStringLiteral("[\\s,]*([^\\s,:0-9a-zA-Z()]{2,4})(?=$|[\\s,])"));
        for (const QRegularExpression &around : {before, after}) {
            const QString word = around.match(m_input).captured(1);
            if (plausibleName(word))
                return word;
        }
    }
    return QString();
}

// What follows the run of divisions on its line, up to a comma: the
// street address when the region stands in front of it.
QString Checker::tailAfterRegion() const
{
    int from = m_chain.end;
    while (from < m_input.size() && m_input.at(from) == QLatin1Char(' '))
        ++from;
    if (!m_townAfterChain.isEmpty() && m_input.mid(from).startsWith(m_townAfterChain)) {
        from += m_townAfterChain.size();
        while (from < m_input.size() && m_input.at(from) == QLatin1Char(' '))
            ++from;
    }
    // A label in front of the street ("详细地址:"), which normalisation may
    // have broken before its "地址:".
    const QRegularExpressionMatch label =
        literalPattern("^[^\\s,:0-9]{0,4}(\\r?\\n)?[^\\s,:0-9]{0,4}:").match(QStringView(m_input).mid(from));
    if (label.hasMatch())
        from += label.capturedLength();
    if (from < m_input.size() && (m_input.at(from) == QLatin1Char('\r') || m_input.at(from) == QLatin1Char('\n'))) {
        // The street may stand on the next line under a label of its own,
        // or with none when the line is plainly a street ("府前大道547号").
        const int labelled = skipBetween(m_input, from);
        int colon = labelled - 1;
        while (colon > from && m_input.at(colon) == QLatin1Char(' '))
            --colon;
        if (labelled == from || m_input.at(colon) != QLatin1Char(':')) {
            const QString next = literalCapture(m_input.mid(from), "^[\\r\\n]+([^\\r\\n:,]+)");
            return isStreetLine(next) ? withoutKnownParts(beforeContact(next)) : QString();
        }
        from = labelled;
    }
    // The town after the region, and in an order row the next items.
    for (bool moved = true; moved;) {
        moved = false;
        if (!m_townAfterChain.isEmpty() && m_input.mid(from).startsWith(m_townAfterChain)) {
            from += m_townAfterChain.size();
            moved = true;
        }
        if (from < m_input.size() && m_input.at(from) == QLatin1Char(',')
            && isStreetLine(literalCapture(m_input.mid(from), "^,([^,\\r\\n]*)"))) {
            ++from;
            moved = true;
        }
        const QRegularExpressionMatch labelled =
            literalPattern("^,\\s*[^\\s,:0-9]{0,6}(?:\\r?\\n)?[^\\s,:0-9]{1,6}:\\s*").match(QStringView(m_input).mid(from));
        if (labelled.hasMatch() && isStreetLine(literalCapture(m_input.mid(from + labelled.capturedLength()), "^([^,\\r\\n]*)"))) {
            from += labelled.capturedLength();
            moved = true;
        }
    }
    QString tail = m_input.mid(from);
    int lineEnd = 0;
    while (lineEnd < tail.size() && tail.at(lineEnd) != u'\r' && tail.at(lineEnd) != u'\n' && tail.at(lineEnd) != u',')
        ++lineEnd;
    if (lineEnd == tail.size())
        lineEnd = -1;
    if (lineEnd >= 0) {
        // "所在地区:… 粤海街道" then "详细地址:…": the street goes on
        // under the label.
        const QString next = literalCapture(tail.mid(lineEnd), "^[\\r\\n]+[^\\s:]{0,4}[\\r\\n]*地址:\\s*([^\\r\\n]+)");
        tail.truncate(lineEnd);
        // "… 红星街道 详细" + "地址:…": the label's first half stays
        // behind when normalisation breaks the line before "地址:".
        if (QStringView(m_input).mid(from + lineEnd).trimmed().startsWith(QStringLiteral("地址:")))
            tail.remove(literalPattern("\\s*(详细|收货|收件|街道|配送|所在)$"));
        const QString rest = tail.trimmed();
        if (!next.isEmpty() && (rest.isEmpty() || literalPattern("^[^\\s,:0-9]{1,8}(街道|镇|乡)$").match(rest).hasMatch()))
            tail = rest + next;
    }
    return withoutKnownParts(beforeContact(tail));
}

// The street ends where the receiver's name or telephone starts on its
// line: what follows them is a remark ("… 张三 13812345678 周末送").
QString Checker::beforeContact(const QString &tail) const
{
    int cut = tail.size();
    for (const QString &number : m_writtenNumbers + QStringList{text(F::Mobile), text(F::Phone)}) {
        const int at = number.isEmpty() ? -1 : tail.indexOf(number);
        if (at >= 0)
            cut = qMin(cut, at);
    }
    const QString name = text(F::Name);
    int at = name.isEmpty() ? -1 : tail.trimmed().startsWith(name) ? 0 : tail.indexOf(QLatin1Char(' ') + name);
    if (at < 0 && !name.isEmpty())
        at = tail.indexOf(QLatin1Char('(') + name);
    if (at >= 0)
        cut = qMin(cut, at);
    // A contact label after the street ("… 收件人司马南 138…").
    const QRegularExpressionMatch label =
        literalPattern("(?:^|\\s)(?:收件人|收货人|联系人|姓名|电话|手机|联系电话|(?:请|烦|转)交给?|交给|寄给)").match(tail);
    if (label.hasMatch() && label.capturedStart(0) > 0)
        cut = qMin(cut, int(label.capturedStart(0)));
    QString street = tail.left(cut);
    street.remove(literalPattern("(?<![0-9])(?:\\(\\+?86\\)|\\+86|0086|86)?[- ]*$"));
    if (gbkLength(street.trimmed()) >= 4 || cut == tail.size())
        return gbkLength(street.trimmed()) >= 4 ? street : tail;
    // The contact right after the region: the street, if any, follows it
    // ("…西湖区 张三 13812345678 文三路1号"); a name alone is no street.
    const QString rest = withoutKnownParts(tail.mid(cut));
    return isStreetLine(rest) ? rest : QString();
}

QString Checker::withoutKnownParts(QString value) const
{
    const QString zip = text(F::Postcode);
    if (!zip.isEmpty()) {
        value.remove(QStringLiteral("(邮编:") + zip + QLatin1Char(')'));
        value.remove(QLatin1Char('(') + zip + QLatin1Char(')'));
        value.remove(QStringLiteral("邮编:") + zip);
        value.remove(zip);
    }
    // A number leaves with its country prefix ("+86 ", "(+86)", "86-").
    for (const QString &number : m_writtenNumbers + QStringList{text(F::Mobile), text(F::Phone)})
        removeNumber(value, number);
    // Each removal looked for only when its words or signs are there.
    const auto has = [&value](std::initializer_list<const char16_t *> words) {
        for (const char16_t *word : words) {
            if (value.contains(QStringView(word), Qt::CaseInsensitive))
                return true;
        }
        return false;
    };
    if (has({u"手机", u"电话", u"邮编"}))
        value.remove(literalPattern("(手机号码|手机号是|手机号|手机是|电话号码|电话是|手机|电话|邮编)[:]?"));
    if (has({u"qq", u"微信", u"wx", u"vx"}))
        value.remove(literalPattern("(?i)(qq|微信|wx|vx)(号|号码)?\\s*[:]?\\s*[0-9a-z_-]{5,20}"));
    // Chat decorations: emoticon words, pictures, a run of signs.
    static const QString decorationSigns = QStringLiteral("[～~！!。…呀哦啊哈呢吧啦\u2600\u2700\uFE0F");
    bool decorated = false;
    for (QChar c : value)
        decorated = decorated || c.isSurrogate() || decorationSigns.contains(c) || (c.unicode() >= 0x2600 && c.unicode() < 0x27C0);
    if (decorated)
        value.remove(literalPattern("\\[[^\\]\\s]{1,4}\\]|[\\x{1F000}-\\x{1FAFF}\\x{2600}-\\x{27BF}\\x{FE0F}]|[～~！!。…]+$"
                        "|(?<=[0-9号室楼栋幢座])[呀哦啊哈呢吧啦]+$"));
    // Chat around the street: "具体是…", "… 就寄这里", "…,寄这个地址".
    if (has({u"是"}))
        value.remove(literalPattern("^\\s*(?:具体是|详细是|具体地址是|地址是)"));
    if (has({u"寄"}))
        value.remove(literalPattern("\\s*(?:就寄这里|就寄这|寄这个地址|寄这里|寄到这里|寄这)\\s*$"));
    const QString name = text(F::Name);
    if (!name.isEmpty()) {
        removeReceiverMark(value, name);
        // "…路1号张三13812345678": the name glued to the end of the street.
        if (value.size() > name.size() + 1 && value.trimmed().endsWith(name))
            value = value.trimmed().chopped(name.size());
    }
    if (!name.isEmpty()) {
        const QStringList words = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.contains(name) && words.size() > 1) {
            QStringList kept = words;
            kept.removeAll(name);
            value = kept.join(QLatin1Char(' '));
        }
    }
    value = value.trimmed();
    while (!value.isEmpty() && (isSeparator(value.back()) || value.back() == QLatin1Char('(')))
        value.chop(1);
    while (!value.isEmpty() && (isSeparator(value.front()) || value.front() == QLatin1Char(')')))
        value.remove(0, 1);
    return value.trimmed();
}

// Words after the street that belong elsewhere: the company written
// after the address ("寄:…路1号 某某有限公司"), the receiver's name and a
// chat tail ("麻烦发顺丰").
QString Checker::withoutTrailingWords(QString value)
{
    QStringList words = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    // Another labelled item ("收件人:钱多多") ends the street.
    for (int i = 1; i < words.size(); ++i) {
        if (literalPattern("^[^\\s:0-9]{1,6}:").match(words.at(i)).hasMatch()) {
            words = words.mid(0, i);
            break;
        }
    }
    while (words.size() > 1) {
        const QString last = words.last();
        if (isChatWords(last) || literalPattern("^(?:座机|固话|电话|手机|备用|传真|(?i:tel|fax))[:]?$").match(last).hasMatch()) {
            words.removeLast();
        } else if (isCompanyName(last)) {
            if (text(F::Company).isEmpty() || last.contains(text(F::Company)))
                set(F::Company, last);
            words.removeLast();
        } else if (last == text(F::Name)
                   || (words.size() > 2 && isCompanyName(words.at(words.size() - 2)) && plausibleName(last))) {
            if (text(F::Name).isEmpty() || !m_input.contains(text(F::Name)))
                set(F::Name, last);
            words.removeLast();
        } else {
            break;
        }
    }
    return words.join(QLatin1Char(' '));
}

void Checker::address()
{
    if (!m_chain.isEmpty()) {
        const QString tail = withoutTrailingWords(tailAfterRegion());
        if (gbkLength(tail) >= 4) {
            set(F::Address, tail);
            return;
        }
        // The street written before the region ("望江西路891号 福建厦门湖里区 司马杰 …").
        const int lineStart = qMax(m_input.lastIndexOf(QLatin1Char('\n'), m_chain.start),
                                   m_input.lastIndexOf(QLatin1Char('\r'), m_chain.start)) + 1;
        QString before = m_input.mid(lineStart, m_chain.start - lineStart);
        before = before.mid(before.lastIndexOf(QLatin1Char(',')) + 1).trimmed();
        if (isStreetLine(before)) {
            set(F::Address, withoutKnownParts(before));
            return;
        }
    }
    // Otherwise the pattern's address loses the region names in front of it.
    QString value = text(F::Address);
    for (F f : {F::Province, F::City, F::Town}) {
        const QString part = text(f);
        if (!part.isEmpty() && value.startsWith(part))
            value = value.mid(part.size()).trimmed();
    }
    set(F::Address, withoutKnownParts(value));
}

} // namespace

void checkRegions(AddressParse &parse, const QString &normalised, const RegionTable &table)
{
    Checker(parse, normalised, table).run();
}

namespace {
// Recognises and checks text whose traditional characters are folded.
AddressParse recogniseAndCheckFolded(const QString &normalised, AddressSource source, bool containProvinceCity);
} // namespace

AddressParse parseAddressText(const QString &input, AddressSource source, bool containProvinceCity,
                              const ReplacementPairs &replacements)
{
    ReplacementPairs folded;
    for (const auto &[from, to] : replacements)
        folded.append({foldToSimplified(from), foldToSimplified(to)});
    const QString foldedInput = foldToSimplified(input);
    AddressParse parse =
        recogniseAndCheckFolded(normaliseAddressText(foldedInput, folded), source, containProvinceCity);
    keepTypedCharacters(parse, input, foldedInput);
    return parse;
}

AddressParse recogniseAndCheck(const QString &typed, AddressSource source, bool containProvinceCity)
{
    // Recognised in simplified characters: the patterns, labels and
    // region names are written so.
    const QString folded = foldToSimplified(typed);
    AddressParse parse = recogniseAndCheckFolded(folded, source, containProvinceCity);
    keepTypedCharacters(parse, typed, folded);
    return parse;
}

namespace {

AddressParse recogniseAndCheckFolded(const QString &normalised, AddressSource source, bool containProvinceCity)
{
    AddressParse parse = recogniseAddress(normalised, source, false);
    checkRegions(parse, normalised, RegionTable::delivered());
    FieldChoice &address = parse[AddressField::Address];
    parse.typedAddress = address.text;
    StepRecorder recorder(parse, "contain-rule");
    address.text = applyContainRule(address.text, parse.text(AddressField::Province),
                                    parse.text(AddressField::City), parse.text(AddressField::Town),
                                    containProvinceCity);
    return parse;
}

} // namespace

} // namespace billprint

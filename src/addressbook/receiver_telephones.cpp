#include "addressbook/receiver_telephones.h"

#include "addressbook/address_finder.h"

#include <QRegularExpression>

namespace billprint {

namespace {

bool isMobileNumber(const QString &text)
{
    return literalPattern("^1[3-9][0-9]{9}$").match(text).hasMatch();
}

QString digitsOf(const QString &text)
{
    QString digits;
    for (QChar c : text) {
        if (c.isDigit())
            digits += c;
    }
    return digits;
}

bool isLandline(const QString &text)
{
    return literalPattern("^(\\(?0[0-9]{2,3}\\)?-?)?[2-9][0-9]{6,7}(-[0-9]{1,6})?$").match(text).hasMatch()
        || literalPattern("^[48]00-?[0-9]{3}-?[0-9]{4}$").match(text).hasMatch();
}

// The most digits in one run, blanks, dashes and brackets between them
// allowed ("0571 8812 3456" is eleven).
int longestNumberRun(const QString &text)
{
    int longest = 0;
    int run = 0;
    for (QChar c : text) {
        if (c.isDigit())
            longest = qMax(longest, ++run);
        else if (c != u' ' && c != u'-' && c != u'(' && c != u')')
            run = 0;
    }
    return longest;
}

class TelephoneFinder
{
public:
    TelephoneFinder(const QString &text, const QString &recognisedPhone)
        : m_text(text), m_recognisedPhone(recognisedPhone)
    {
    }

    ReceiverTelephones run();

private:
    QString firstMobile();
    QString landline(const QString &mobile);
    QString spacedLandline();
    QString numberOutsideMainland();
    QString withExtension(const QString &phone);

    const QString &m_text;
    const QString m_recognisedPhone;
    QString m_numbers;       // the text without fax numbers
    QString m_spacedMobile;  // the mobile as written, when in groups
    QString m_phoneWritten;  // the phone as written, when it differs
};

// An extension written after the number ("0571-88123456转802") joins it
// with a dash, as "010-85123456-802" is written.
QString TelephoneFinder::withExtension(const QString &phone)
{
    const QString written = m_phoneWritten.isEmpty() ? phone : m_phoneWritten;
    if (!m_numbers.contains(u'转') && !m_numbers.contains(QStringLiteral("分机"))
        && !m_numbers.contains(QLatin1String("ext"), Qt::CaseInsensitive))
        return phone;
    const int at = written.isEmpty() ? -1 : m_numbers.indexOf(written);
    if (at < 0)
        return phone;
    const QRegularExpressionMatch m =
        literalPattern("^\\s*(?:转|分机|ext\\.?|EXT\\.?)\\s*([0-9]{1,6})(?![0-9])").match(QStringView(m_numbers).mid(at + written.size()));
    if (!m.hasMatch())
        return phone;
    m_phoneWritten = written + m.captured(0);
    return phone + QLatin1Char('-') + m.captured(1);
}

ReceiverTelephones TelephoneFinder::run()
{
    // A fax number is neither telephone.
    m_numbers = m_text;
    if (m_numbers.contains(QStringLiteral("传真")))
        m_numbers.replace(literalPattern("传真[:]?\\s*[-+()0-9 ]{6,24}"), QStringLiteral(" "));
    // Nor is a QQ or WeChat account.
    if (m_numbers.contains(QLatin1String("qq"), Qt::CaseInsensitive) || m_numbers.contains(QStringLiteral("微信"))
        || m_numbers.contains(QLatin1String("wx"), Qt::CaseInsensitive) || m_numbers.contains(QLatin1String("vx"), Qt::CaseInsensitive))
        m_numbers.replace(literalPattern("(?i)(?:qq|微信|wx|vx)(?:号|号码)?\\s*[:]?\\s*[0-9a-z_-]{5,20}"), QStringLiteral(" "));
    ReceiverTelephones found;
    found.mobile = firstMobile();
    // The mobile found is no other telephone.
    const QString mobileWritten = m_spacedMobile.isEmpty() ? found.mobile : m_spacedMobile;
    if (!mobileWritten.isEmpty())
        m_numbers.replace(mobileWritten, QStringLiteral(" "));
    found.phone = withExtension(landline(found.mobile));
    for (const QString &written : {m_spacedMobile, m_phoneWritten}) {
        if (!written.isEmpty())
            found.written << written;
    }
    return found;
}

// The first mobile of its own ("13812345678", "186 1234 5678",
// "135 40667028", "+8613812345678"), one under a spare label ("备用电话",
// "手机2") only when there is no other.
QString TelephoneFinder::firstMobile()
{
    QRegularExpressionMatchIterator it =
        literalPattern("(?<![0-9])(?:(?:\\+?86|0086)[ -]?)?((1[3-9][0-9])[ -]?([0-9]{4})[ -]?([0-9]{4}))(?![0-9])").globalMatch(m_numbers);
    QString spare;
    QString spareWritten;
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString digits = m.captured(2) + m.captured(3) + m.captured(4);
        const QString before = m_numbers.mid(qMax(0, int(m.capturedStart(0)) - 6), qMin(6, int(m.capturedStart(0))));
        if (literalPattern("备用|手机2|电话2|手机二").match(before).hasMatch()) {
            if (spare.isEmpty()) {
                spare = digits;
                spareWritten = m.captured(1);
            }
            continue;
        }
        if (m.captured(1) != digits)
            m_spacedMobile = m.captured(1);
        return digits;
    }
    if (spareWritten != spare)
        m_spacedMobile = spareWritten;
    return spare;
}

// The telephone other than the mobile: a landline as written (a blank
// inside joined), a number of Hong Kong, Macau or Taiwan without its
// country code, a second mobile, a local number of its own.
QString TelephoneFinder::landline(const QString &mobile)
{
    QString phone = m_recognisedPhone;
    if (!phone.isEmpty() && (phone == mobile || isMobileNumber(phone)))
        phone.clear();
    if (!phone.isEmpty() && (!isLandline(phone) || !m_numbers.contains(phone)))
        phone.clear();  // no landline, or a fax number
    if (phone.isEmpty() && longestNumberRun(m_numbers) < 7)
        return QString();  // no other telephone: the searches below find nothing
    const QString spaced = spacedLandline();
    if (!spaced.isEmpty() && (phone.isEmpty() || digitsOf(spaced).endsWith(digitsOf(phone))))
        return spaced;
    if (phone.isEmpty()) {
        phone = literalCapture(m_numbers,
                              "(?:(?<![0-9-])|(?<=86-))(\\(?0[0-9]{2,3}\\)?-?[2-9][0-9]{6,7}(-[0-9]{1,6})?)(?![0-9])");
        if (phone.isEmpty())
            phone = literalCapture(m_numbers, "(?<![0-9-])([48]00-?[0-9]{3}-?[0-9]{4})(?![0-9])");
    }
    // The phone pattern keeps 15 characters; a longer extension goes on.
    const int at = phone.isEmpty() ? -1 : m_numbers.indexOf(phone);
    if (at >= 0) {
        int end = at + phone.size();
        while (end < m_numbers.size() && m_numbers.at(end).isDigit())
            ++end;
        phone = m_numbers.mid(at, end - at);
    }
    if (!phone.isEmpty())
        return phone;
    if (const QString outside = numberOutsideMainland(); !outside.isEmpty())
        return outside;
    // A second mobile ("备用电话", "138… / 139…").
    QRegularExpressionMatchIterator it = literalPattern("(?<![0-9])(?:(?:\\+?86|0086)[ -]?)?(1[3-9][0-9])[ -]?([0-9]{4})[ -]?([0-9]{4})(?![0-9])")
                                             .globalMatch(m_numbers);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString digits = m.captured(1) + m.captured(2) + m.captured(3);
        if (digits != mobile) {
            m_phoneWritten = m.captured(0);
            return digits;
        }
    }
    // A local number in two groups ("6552 9686", "8812 3456").
    const QRegularExpressionMatch grouped = literalPattern("(?<![0-9+-])([2-9][0-9]{3}) ([0-9]{4})(?![0-9])").match(m_numbers);
    if (grouped.hasMatch()) {
        m_phoneWritten = grouped.captured(0);
        return grouped.captured(1) + grouped.captured(2);
    }
    // A local number of its own without area code ("…路1号, 88123456").
    return literalCapture(m_numbers, "(?<![0-9A-Za-z+.-])([2-9][0-9]{6,7})(?=$|[\\s,/])");
}

// "+852 9123 4567", "(853) 6611 9924", "852-93021605": the number without
// its country code; a Taiwan mobile "0950 372 584" without blanks; a Taiwan
// landline "(02)6009-1475" as written.
QString TelephoneFinder::numberOutsideMainland()
{
    if (!m_numbers.contains(QLatin1String("85")) && !m_numbers.contains(QLatin1String("886"))
        && !m_numbers.contains(QLatin1String("09")) && !m_numbers.contains(QLatin1Char('-'))
        && !m_numbers.contains(QLatin1Char('(')))
        return QString();
    QRegularExpressionMatch m =
        literalPattern("(?:\\+|(?<![0-9]))\\(?(?:\\+?)(852|853|886)\\)?[ -]?([0-9]{4})[ -]?([0-9]{4})(?![0-9])").match(m_numbers);
    if (m.hasMatch()) {
        m_phoneWritten = m.captured(0);
        return m.captured(2) + m.captured(3);
    }
    m = literalPattern("(?<![0-9])09[0-9]{2}[ -]?[0-9]{3}[ -]?[0-9]{3}(?![0-9])").match(m_numbers);
    if (m.hasMatch()) {
        m_phoneWritten = m.captured(0);
        return m.captured(0).remove(QLatin1Char(' '));
    }
    m = literalPattern("(?<![0-9])(\\(0[0-9]{1,2}\\)|0[0-9]{1,2}-)[0-9]{3,4}-[0-9]{4}(?![0-9])").match(m_numbers);
    if (m.hasMatch())
        return m.captured(0);
    return QString();
}

// A landline written with a blank inside ("0571 8812345", "0571-8812 3456",
// "021-5566 7788"), as one number: the area code joined by a dash, the
// local number without blanks. The text as written is kept so that it
// leaves the address.
QString TelephoneFinder::spacedLandline()
{
    // After the country code the area code loses its 0: "+86 571 8812 3456".
    const QRegularExpressionMatch abroad = !m_numbers.contains(QLatin1String("86"))
        ? QRegularExpressionMatch()
        : literalPattern("(?:\\+86|0086|\\(\\+?86\\))[ -]?([1-9][0-9]{1,2})[ -]([2-9][0-9]{2,3})[ -]?([0-9]{4})(?![0-9])")
              .match(m_numbers);
    if (abroad.hasMatch()) {
        m_phoneWritten = abroad.captured(0);
        return QLatin1Char('0') + abroad.captured(1) + QLatin1Char('-') + abroad.captured(2) + abroad.captured(3);
    }
    // A mainland local number has 7 or 8 digits ("0991-7909 444"); a
    // Taiwan mobile "0950 372 584" is none.
    QRegularExpressionMatchIterator it =
        literalPattern("(?<![0-9+-])(\\(?0[0-9]{2,3}\\)?)([ -]?)([2-9][0-9]{2,3})( ?)([0-9]{3,4})(?:-([0-9]{1,6}))?(?![0-9])")
            .globalMatch(m_numbers);
    QRegularExpressionMatch m;
    while (it.hasNext()) {
        m = it.next();
        const bool blankInside = m.captured(2) == QStringLiteral(" ") || !m.captured(4).isEmpty();
        if (blankInside && m.captured(3).size() + m.captured(5).size() >= 7)
            break;
        m = QRegularExpressionMatch();
    }
    if (!m.hasMatch())
        return QString();
    m_phoneWritten = m.captured(0);
    const QString area = m.captured(1);
    QString phone = area + (area.endsWith(QLatin1Char(')')) ? QString() : QStringLiteral("-")) + m.captured(3)
        + m.captured(5);
    if (!m.captured(6).isEmpty())
        phone += QLatin1Char('-') + m.captured(6);
    return phone;
}


} // namespace

ReceiverTelephones findTelephones(const QString &text, const QString &recognisedPhone)
{
    return TelephoneFinder(text, recognisedPhone).run();
}

} // namespace billprint

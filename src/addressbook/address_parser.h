// Address text parsing: a loose block of receiver text (pasted from a shop's
// order page or a chat) split into the fields of a waybill party by a fixed
// sequence of patterns and rules, each field with its candidates so that a
// person can pick another one.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <array>

namespace billprint {

// Where the pasted text comes from; only 拍拍 changes the recognition.
enum class AddressSource { Taobao, Eachnet, Paipai, Other };

enum class AddressField {
    Company,   // 单位全称
    Name,      // 联系人
    Phone,     // 电话
    Mobile,    // 手机
    Country,   // 国家
    Province,  // 省
    City,      // 市/县
    Town,      // 镇/区
    Address,   // 地址
    Postcode,  // 邮编
};
constexpr int kAddressFieldCount = 10;

// One field: the candidates offered and the text chosen (which the user may
// also type freely).
struct FieldChoice
{
    QStringList candidates;
    QString text;
};

struct AddressParse
{
    std::array<FieldChoice, kAddressFieldCount> fields;
    bool regionFound = false;   // a combined region pattern matched
    QString typedAddress;       // the address as last recognised or typed
    // The step that last changed each field ("recognise:mobile",
    // "check:contact"): tells a user which rule to write a replacement
    // pair against.
    std::array<QString, kAddressFieldCount> setBy;

    FieldChoice &operator[](AddressField f) { return fields[static_cast<int>(f)]; }
    const FieldChoice &operator[](AddressField f) const { return fields[static_cast<int>(f)]; }
    QString text(AddressField f) const { return (*this)[f].text; }
};

// Marks the fields a step changed: the texts are compared when the
// recorder goes out of scope. Only while an ExplainedSteps is alive on the
// thread; otherwise recording costs nothing.
class StepRecorder
{
public:
    StepRecorder(AddressParse &parse, const char *step);
    ~StepRecorder();
    StepRecorder(const StepRecorder &) = delete;
    StepRecorder &operator=(const StepRecorder &) = delete;

private:
    AddressParse &m_parse;
    const char *m_step;
    bool m_recording;
    std::array<QString, kAddressFieldCount> m_before;
};

// While alive, the parses of this thread record which step set each field
// (`AddressParse::setBy`).
class ExplainedSteps
{
public:
    ExplainedSteps();
    ~ExplainedSteps();
    ExplainedSteps(const ExplainedSteps &) = delete;
    ExplainedSteps &operator=(const ExplainedSteps &) = delete;
    static bool active();

private:
    bool m_wasActive;
};

// The user's replacement pairs (search text, replacement), applied during
// normalisation.
using ReplacementPairs = QList<QPair<QString, QString>>;

// The input as the parser reads it: empty lines gone, full-width signs and
// label spellings unified, the user's replacements applied, and a line
// break at both ends.
QString normaliseAddressText(const QString &input, const ReplacementPairs &replacements = {});

// The fields found in normalised text. `containProvinceCity` is the "含省市"
// option: whether the address starts with the province, city and town.
AddressParse recogniseAddress(const QString &normalised, AddressSource source, bool containProvinceCity);

// The "含省市" rule on an address: ticked, the province, city and town the
// address lacks are put in front; unticked, they are taken off its front.
QString applyContainRule(const QString &address, const QString &province, const QString &city,
                         const QString &town, bool containProvinceCity);

} // namespace billprint

#include "addressbook/typed_characters.h"

#include <QHash>
#include <QSet>

namespace billprint {

namespace {

using F = AddressField;

// The characters recognition unified, as the sender typed them: a
// traditional character folded to its simplified form, a full-width sign
// made half-width.
struct TypedForms
{
    QHash<QChar, QSet<QChar>> variants;  // every typed form of a character
    QSet<QChar> asTyped;                 // characters also typed unchanged

    TypedForms(const QString &typed, const QString &folded)
    {
        if (folded != typed) {
            for (int i = 0; i < typed.size(); ++i) {
                if (folded.at(i) != typed.at(i))
                    variants[folded.at(i)].insert(typed.at(i));
                else
                    asTyped.insert(typed.at(i));
            }
        } else {
            for (QChar c : {u'(', u')', u',', u':', u'-', u' '}) {
                if (typed.contains(c))
                    asTyped.insert(c);
            }
        }
        static const QList<QPair<QChar, QChar>> fullWidth{{u'(', u'（'}, {u')', u'）'}, {u',', u'，'},
                                                         {u':', u'：'}, {u'-', u'－'}, {u' ', u'\u3000'}};
        for (const auto &[half, full] : fullWidth) {
            if (typed.contains(full))
                variants[half].insert(full);
        }
    }

    // One typed form only: the character is given back in it.
    bool certain(QChar c) const
    {
        const auto found = variants.constFind(c);
        return found != variants.constEnd() && found->size() == 1 && !asTyped.contains(c);
    }
    bool ambiguous(QChar c) const { return variants.contains(c) && !certain(c); }
};

// Where a value's characters could stand for more than one typed form,
// the value is looked up in the typed text.
QString foundAsTyped(const QString &value, const TypedForms &forms, const QString &typed)
{
    const auto sameCharacter = [&forms](QChar inValue, QChar inTyped) {
        return inValue == inTyped || forms.variants.value(inValue).contains(inTyped);
    };
    for (int start = 0; start + value.size() <= typed.size(); ++start) {
        int i = 0;
        while (i < value.size() && sameCharacter(value.at(i), typed.at(start + i)))
            ++i;
        if (i == value.size())
            return typed.mid(start, value.size());
    }
    return QString();
}

QString asTyped(const QString &value, const TypedForms &forms, const QString &typed)
{
    bool ambiguous = false;
    QString result = value;
    for (QChar &c : result) {
        if (forms.certain(c))
            c = *forms.variants.value(c).constBegin();
        else
            ambiguous = ambiguous || forms.ambiguous(c);
    }
    if (ambiguous) {
        const QString found = foundAsTyped(value, forms, typed);
        if (!found.isEmpty())
            return found;
    }
    return result;
}

} // namespace

void keepTypedCharacters(AddressParse &parse, const QString &typed, const QString &folded)
{
    const TypedForms forms(typed, folded);
    if (forms.variants.isEmpty())
        return;
    for (F f : {F::Company, F::Name, F::Address}) {
        FieldChoice &field = parse[f];
        field.text = asTyped(field.text, forms, typed);
        for (QString &candidate : field.candidates)
            candidate = asTyped(candidate, forms, typed);
    }
    parse.typedAddress = asTyped(parse.typedAddress, forms, typed);
}

} // namespace billprint

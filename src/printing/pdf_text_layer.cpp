#include "printing/pdf_text_layer.h"

#include <QFile>
#include <QFont>
#include <QHash>
#include <QList>
#include <QRawFont>
#include <QRegularExpression>
#include <QSaveFile>

namespace billprint {

namespace {

bool isRadical(uint codePoint)
{
    return codePoint >= 0x2E80 && codePoint <= 0x2FDF;  // radicals supplement and Kangxi radicals
}

// Radical -> the ideograph the installed print faces draw with the same
// glyph, taken from the faces themselves.
QHash<uint, uint> buildRadicalTable()
{
    QHash<uint, uint> table;
    for (const char *family : {"Noto Serif CJK SC", "Noto Sans CJK SC"}) {
        QFont font(QString::fromLatin1(family));
        font.setPixelSize(32);
        const QRawFont raw = QRawFont::fromFont(font);
        if (!raw.isValid())
            continue;
        QHash<quint32, uint> ideographOfGlyph;
        for (const auto &[first, last] : {std::pair<uint, uint>{0x4E00, 0x9FFF}, {0x3400, 0x4DBF}}) {
            for (uint cp = first; cp <= last; ++cp) {
                const QChar ch(static_cast<char16_t>(cp));
                const QList<quint32> glyphs = raw.glyphIndexesForString(QString(ch));
                if (!glyphs.isEmpty() && glyphs.first() != 0 && !ideographOfGlyph.contains(glyphs.first()))
                    ideographOfGlyph.insert(glyphs.first(), cp);
            }
        }
        for (uint cp = 0x2E80; cp <= 0x2FDF; ++cp) {
            if (table.contains(cp))
                continue;
            const QList<quint32> glyphs = raw.glyphIndexesForString(QString(QChar(static_cast<char16_t>(cp))));
            if (glyphs.isEmpty() || glyphs.first() == 0)
                continue;
            const auto it = ideographOfGlyph.constFind(glyphs.first());
            if (it != ideographOfGlyph.constEnd())
                table.insert(cp, *it);
        }
    }
    return table;
}

const QHash<uint, uint> &radicalTable()
{
    static const QHash<uint, uint> table = buildRadicalTable();
    return table;
}

// Rewrites the destination code points of one map line. In a bfrange line
// the first two codes are glyph numbers; in a bfchar line the first one.
void fixLine(char *line, int length, int sourceCodes)
{
    int seen = 0;
    for (int i = 0; i + 5 < length; ++i) {
        if (line[i] != '<' || line[i + 5] != '>')
            continue;
        bool ok = false;
        const uint code = QByteArray(line + i + 1, 4).toUInt(&ok, 16);
        if (!ok)
            continue;
        if (seen++ < sourceCodes)
            continue;
        if (!isRadical(code))
            continue;
        const auto it = radicalTable().constFind(code);
        if (it == radicalTable().constEnd())
            continue;
        const QByteArray hex = QByteArray::number(*it, 16).toUpper().rightJustified(4, '0');
        memcpy(line + i + 1, hex.constData(), 4);
        i += 5;
    }
}

void fixCMap(char *data, int length)
{
    enum class Section { None, Range, Char } section = Section::None;
    int start = 0;
    for (int i = 0; i <= length; ++i) {
        if (i < length && data[i] != '\n')
            continue;
        const QByteArray line = QByteArray::fromRawData(data + start, i - start).trimmed();
        if (line.endsWith("beginbfrange"))
            section = Section::Range;
        else if (line.endsWith("beginbfchar"))
            section = Section::Char;
        else if (line == "endbfrange" || line == "endbfchar")
            section = Section::None;
        else if (section != Section::None)
            fixLine(data + start, i - start, section == Section::Range ? 2 : 1);
        start = i + 1;
    }
}

} // namespace

QByteArray fixPdfTextLayer(const QByteArray &pdf)
{
    QByteArray out = pdf;
    static const QRegularExpression reference(QStringLiteral("/ToUnicode (\\d+) 0 R"));
    const QString latin = QString::fromLatin1(pdf);
    auto matches = reference.globalMatch(latin);
    while (matches.hasNext()) {
        const QByteArray number = matches.next().captured(1).toLatin1();
        const int object = out.indexOf("\n" + number + " 0 obj");
        if (object < 0)
            continue;
        const int dictEnd = out.indexOf("stream", object);
        // Only plain (unfiltered) maps can be rewritten in place.
        if (dictEnd < 0 || out.mid(object, dictEnd - object).contains("/Filter"))
            continue;
        int begin = dictEnd + 6;
        if (begin < out.size() && out[begin] == '\r')
            ++begin;
        if (begin < out.size() && out[begin] == '\n')
            ++begin;
        const int end = out.indexOf("endstream", begin);
        if (end < 0)
            continue;
        fixCMap(out.data() + begin, end - begin);
    }
    return out;
}

bool fixPdfTextLayerInFile(const QString &path, QString *error)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = in.errorString();
        return false;
    }
    const QByteArray original = in.readAll();
    in.close();
    const QByteArray fixed = fixPdfTextLayer(original);
    if (fixed == original)
        return true;
    QSaveFile out(path);
    if (out.open(QIODevice::WriteOnly) && out.write(fixed) == fixed.size() && out.commit())
        return true;
    if (error)
        *error = out.errorString();
    return false;
}

} // namespace billprint

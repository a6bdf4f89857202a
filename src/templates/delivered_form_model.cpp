#include "templates/delivered_form_model.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <cmath>

namespace billprint {

namespace {

// A fault in a geometry file, carried up to the caller as one message.
struct FormError
{
    QString message;
};

[[noreturn]] void fail(const QString &message)
{
    throw FormError{message};
}

QJsonObject readJsonObject(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1").arg(path));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        fail(QStringLiteral("%1: %2 at offset %3")
                 .arg(QFileInfo(path).fileName(), parseError.errorString())
                 .arg(parseError.offset));
    if (!doc.isObject())
        fail(QStringLiteral("%1: not a JSON object").arg(QFileInfo(path).fileName()));
    return doc.object();
}

QRect readRect(const QJsonValue &value, const QString &where)
{
    const QJsonArray a = value.toArray();
    if (a.size() != 4)
        fail(QStringLiteral("%1: expected [x, y, width, height]").arg(where));
    for (const QJsonValue &v : a)
        if (!v.isDouble() || v.toDouble() != std::floor(v.toDouble()))
            fail(QStringLiteral("%1: coordinates must be whole numbers of 0.1 mm").arg(where));
    return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
}

QString textOf(const QJsonValue &value)
{
    if (value.isDouble())
        return QString::number(value.toInt());
    return value.toString();
}

// Field attributes: the template's defaults overlaid with the field's own.
void applyFieldStyle(DeliveredField &field, const QJsonObject &style, const QString &where)
{
    static const QSet<QString> known = {
        QStringLiteral("box"), QStringLiteral("screen"), QStringLiteral("show"),
        QStringLiteral("font"), QStringLiteral("size"), QStringLiteral("breakSize"),
        QStringLiteral("lineHeight"), QStringLiteral("breakNum"), QStringLiteral("fit"),
        QStringLiteral("bold"), QStringLiteral("italic"), QStringLiteral("underline"),
        QStringLiteral("color"), QStringLiteral("align"), QStringLiteral("init")};
    for (auto it = style.begin(); it != style.end(); ++it)
        if (!known.contains(it.key()))
            fail(QStringLiteral("%1: unknown attribute \"%2\"").arg(where, it.key()));
    if (style.contains(QStringLiteral("box")))
        field.box = readRect(style.value(QStringLiteral("box")), where + QStringLiteral(" box"));
    if (style.contains(QStringLiteral("screen")))
        field.screen = readRect(style.value(QStringLiteral("screen")), where + QStringLiteral(" screen"));
    field.show = style.value(QStringLiteral("show")).toBool(field.show);
    field.font = style.value(QStringLiteral("font")).toString(field.font);
    field.size = style.value(QStringLiteral("size")).toInt(field.size);
    field.breakSize = style.value(QStringLiteral("breakSize")).toInt(field.breakSize);
    field.lineHeight = style.value(QStringLiteral("lineHeight")).toInt(field.lineHeight);
    if (style.contains(QStringLiteral("breakNum")))
        field.breakNum = textOf(style.value(QStringLiteral("breakNum")));
    if (style.contains(QStringLiteral("fit")))
        field.fit = textOf(style.value(QStringLiteral("fit")));
    field.bold = style.value(QStringLiteral("bold")).toBool(field.bold);
    field.italic = style.value(QStringLiteral("italic")).toBool(field.italic);
    field.underline = style.value(QStringLiteral("underline")).toBool(field.underline);
    if (style.contains(QStringLiteral("color")))
        field.color = textOf(style.value(QStringLiteral("color")));
    if (style.contains(QStringLiteral("align")))
        field.align = textOf(style.value(QStringLiteral("align")));
    field.init = style.value(QStringLiteral("init")).toString(field.init);
}

DeliveredCatalogue readCatalogue(const QJsonObject &obj, const QString &fileName)
{
    DeliveredCatalogue cat;
    cat.fileName = fileName;
    cat.family = obj.value(QStringLiteral("family")).toString();
    cat.code = obj.value(QStringLiteral("code")).toString();
    if (cat.family.isEmpty() || cat.code.isEmpty())
        fail(QStringLiteral("%1: family and code are required").arg(fileName));
    QSet<QString> seen;
    const QJsonArray fields = obj.value(QStringLiteral("fields")).toArray();
    for (int i = 0; i < fields.size(); ++i) {
        const QJsonObject f = fields.at(i).toObject();
        DeliveredCatalogueField field;
        field.name = f.value(QStringLiteral("name")).toString();
        field.label = f.value(QStringLiteral("label")).toString();
        field.type = f.value(QStringLiteral("type")).toString(QStringLiteral("TEXT"));
        field.print = f.value(QStringLiteral("print")).toBool();
        field.group = f.value(QStringLiteral("group")).toString();
        field.sample = f.value(QStringLiteral("sample")).toString();
        field.order = (i + 1) * 10;
        const QString where = QStringLiteral("%1: field %2").arg(fileName).arg(i + 1);
        if (field.name.isEmpty() || field.label.isEmpty())
            fail(where + QStringLiteral(": name and label are required"));
        if (seen.contains(field.name.toUpper()))
            fail(where + QStringLiteral(": %1 listed twice").arg(field.name));
        seen.insert(field.name.toUpper());
        if (field.name.startsWith(QStringLiteral("DEFCHECK"), Qt::CaseInsensitive)
            && field.type != QStringLiteral("CHECKBOX"))
            fail(where + QStringLiteral(": %1 must be a CHECKBOX").arg(field.name));
        cat.fields << field;
    }
    if (cat.fields.isEmpty())
        fail(QStringLiteral("%1: no fields").arg(fileName));
    return cat;
}

// A template file may name a base file whose content it overlays: objects
// "texts", "palette" and "fields" merge by key, anything else replaces.
QJsonObject resolveBase(const QJsonObject &obj, const QDir &folder, const QString &fileName,
                        int depth = 0)
{
    const QString baseName = obj.value(QStringLiteral("base")).toString();
    if (baseName.isEmpty())
        return obj;
    if (depth > 4)
        fail(QStringLiteral("%1: base files nest too deep").arg(fileName));
    QJsonObject merged = resolveBase(readJsonObject(folder.filePath(baseName)), folder, baseName,
                                     depth + 1);
    for (auto it = obj.begin(); it != obj.end(); ++it) {
        const QString &key = it.key();
        if (key == QStringLiteral("texts") || key == QStringLiteral("palette")
            || key == QStringLiteral("fields")) {
            QJsonObject inner = merged.value(key).toObject();
            const QJsonObject over = it.value().toObject();
            for (auto o = over.begin(); o != over.end(); ++o)
                inner.insert(o.key(), o.value());
            merged.insert(key, inner);
        } else {
            merged.insert(key, it.value());
        }
    }
    merged.remove(QStringLiteral("base"));
    return merged;
}

// Replaces ${name} in every "text" of the drawing by the template's texts.
QJsonArray substituteTexts(const QJsonArray &drawing, const QJsonObject &texts, const QString &fileName)
{
    static const QRegularExpression placeholder(QStringLiteral("\\$\\{([A-Za-z0-9_]+)\\}"));
    QJsonArray out;
    for (const QJsonValue &v : drawing) {
        QJsonObject item = v.toObject();
        for (const QString key : {QStringLiteral("text"), QStringLiteral("label")}) {
            QString text = item.value(key).toString();
            if (!text.contains(QStringLiteral("${")))
                continue;
            QRegularExpressionMatch m;
            while ((m = placeholder.match(text)).hasMatch()) {
                if (!texts.contains(m.captured(1)))
                    fail(QStringLiteral("%1: no text named %2").arg(fileName, m.captured(1)));
                text.replace(m.capturedStart(), m.capturedLength(),
                             texts.value(m.captured(1)).toString());
            }
            item.insert(key, text);
        }
        out.append(item);
    }
    return out;
}

// The cells of a grid item: the rectangle split into equal columns below
// its heading row.
struct GridCells
{
    QRect rect;
    int head = 0;
    int count = 0;
    int cellWidth = 0;
    QRect cell(int i) const
    {
        return QRect(rect.x() + i * cellWidth, rect.y() + head, cellWidth, rect.height() - head);
    }
};

GridCells gridCells(const QJsonObject &item, const QString &where)
{
    GridCells g;
    g.rect = readRect(item.value(QStringLiteral("rect")), where);
    g.head = item.value(QStringLiteral("head")).toInt();
    g.count = item.value(QStringLiteral("labels")).toString().size();
    if (g.count == 0)
        fail(where + QStringLiteral(": labels are required"));
    if (g.rect.width() % g.count != 0)
        fail(where + QStringLiteral(": width %1 is not a multiple of %2 cells")
                         .arg(g.rect.width()).arg(g.count));
    g.cellWidth = g.rect.width() / g.count;
    return g;
}

// Fields that a drawing item places itself: the digit boxes of a digit
// grid, the equal-pitch field of a cell row, the tick box of a tick item.
QList<DeliveredField> generatedFields(const QJsonObject &item, const DeliveredField &defaults,
                                      const QString &where)
{
    QList<DeliveredField> out;
    const QString kind = item.value(QStringLiteral("kind")).toString();
    const QJsonObject style = item.value(QStringLiteral("fieldStyle")).toObject();
    if (kind == QStringLiteral("digitGrid")) {
        const GridCells g = gridCells(item, where);
        const QJsonArray names = item.value(QStringLiteral("fields")).toArray();
        if (names.size() != g.count)
            fail(where + QStringLiteral(": %1 labels but %2 fields").arg(g.count).arg(names.size()));
        const QJsonArray inset = item.value(QStringLiteral("inset")).toArray({10, 8});
        for (int i = 0; i < g.count; ++i) {
            DeliveredField f = defaults;
            f.name = names.at(i).toString();
            applyFieldStyle(f, style, where);
            f.box = g.cell(i).adjusted(inset[0].toInt(), inset[1].toInt(), -inset[0].toInt(),
                                       -inset[1].toInt());
            out << f;
        }
    } else if (kind == QStringLiteral("cellRow")) {
        const GridCells g = gridCells(item, where);
        DeliveredField f = defaults;
        f.name = item.value(QStringLiteral("field")).toString();
        applyFieldStyle(f, style, where);
        // Each character is printed on its own, one cell further right;
        // the first one sits centred in the first cell.
        const int em = qRound(pointsToTenthMm(f.size));
        const int insetY = item.value(QStringLiteral("insetY")).toInt(8);
        const QRect first = g.cell(0);
        f.fit = QString::number(g.cellWidth);
        f.box = QRect(first.x() + (g.cellWidth - em) / 2, first.y() + insetY,
                      (g.count - 1) * g.cellWidth + em, first.height() - 2 * insetY);
        out << f;
    } else if (kind == QStringLiteral("tick") && item.contains(QStringLiteral("field"))) {
        DeliveredField f = defaults;
        f.name = item.value(QStringLiteral("field")).toString();
        applyFieldStyle(f, style, where);
        f.box = readRect(item.value(QStringLiteral("rect")), where);
        out << f;
    }
    for (const DeliveredField &f : out)
        if (f.name.isEmpty())
            fail(where + QStringLiteral(": a generated field has no name"));
    return out;
}

DeliveredTemplate readTemplate(QJsonObject obj, const QDir &folder, const QString &fileName)
{
    obj = resolveBase(obj, folder, fileName);
    DeliveredTemplate t;
    t.fileName = fileName;
    t.id = obj.value(QStringLiteral("id")).toInt();
    t.family = obj.value(QStringLiteral("family")).toString();
    t.variant = obj.value(QStringLiteral("variant")).toString();
    if (t.id <= 0 || t.family.isEmpty() || t.variant.isEmpty())
        fail(QStringLiteral("%1: id, family and variant are required").arg(fileName));
    if (t.variant.contains(QChar(0xFF08)) || t.variant.contains(QLatin1Char('(')))
        fail(QStringLiteral("%1: the variant must not contain parentheses").arg(fileName));
    const QJsonArray paper = obj.value(QStringLiteral("paper")).toArray();
    t.paper = QSize(paper.at(0).toInt(), paper.at(1).toInt());
    if (t.paper.width() <= 0 || t.paper.height() <= 0 || t.paper.width() > 3000
        || t.paper.height() > 3200)
        fail(QStringLiteral("%1: paper must be [width, height] within 300 x 320 mm").arg(fileName));
    const double scale = obj.value(QStringLiteral("scale")).toDouble(kDeliveredPictureScale);
    t.picture = QSize(qRound(t.paper.width() * scale), qRound(t.paper.height() * scale));
    t.landscape = obj.value(QStringLiteral("landscape")).toBool(true);
    t.isDefault = obj.value(QStringLiteral("default")).toBool(false);
    t.common = obj.value(QStringLiteral("common")).toBool(true);
    t.order = obj.value(QStringLiteral("order")).toInt(1);
    for (const QJsonValue &v : obj.value(QStringLiteral("checkBoxes")).toArray())
        t.checkBoxes << v.toString();
    const QJsonObject options = obj.value(QStringLiteral("options")).toObject();
    for (auto it = options.begin(); it != options.end(); ++it) {
        if (!it.key().startsWith(QStringLiteral("cfg"), Qt::CaseInsensitive) || !it.value().isString())
            fail(QStringLiteral("%1: option %2 must be named cfg... and have a text value").arg(fileName, it.key()));
        t.options.append({it.key(), it.value().toString()});
    }
    t.palette = obj.value(QStringLiteral("palette")).toObject();
    t.drawing = substituteTexts(obj.value(QStringLiteral("drawing")).toArray(),
                                obj.value(QStringLiteral("texts")).toObject(), fileName);

    DeliveredField defaults;
    defaults.font = QStringLiteral("宋体");
    defaults.color = QStringLiteral("0");
    defaults.align = QStringLiteral("0");
    applyFieldStyle(defaults, obj.value(QStringLiteral("fieldDefaults")).toObject(),
                    fileName + QStringLiteral(" fieldDefaults"));

    QSet<QString> seen;
    auto add = [&](const DeliveredField &f, const QString &where) {
        if (seen.contains(f.name.toUpper()))
            fail(QStringLiteral("%1: %2 is placed twice").arg(where, f.name));
        seen.insert(f.name.toUpper());
        t.fields << f;
    };
    for (int i = 0; i < t.drawing.size(); ++i) {
        const QString where = QStringLiteral("%1: drawing item %2").arg(fileName).arg(i + 1);
        for (const DeliveredField &f : generatedFields(t.drawing.at(i).toObject(), defaults, where))
            add(f, where);
    }
    const QJsonObject fields = obj.value(QStringLiteral("fields")).toObject();
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        DeliveredField f = defaults;
        f.name = it.key();
        const QString where = QStringLiteral("%1: field %2").arg(fileName, f.name);
        applyFieldStyle(f, it.value().toObject(), where);
        if (!it.value().toObject().contains(QStringLiteral("box")))
            fail(where + QStringLiteral(": box is required"));
        add(f, where);
    }
    // Input boxes follow the print boxes through the picture's scale.
    for (DeliveredField &f : t.fields) {
        if (!f.screen.isNull())
            continue;
        f.screen = QRect(qRound(f.box.x() * t.scaleX()), qRound(f.box.y() * t.scaleY()),
                         qRound(f.box.width() * t.scaleX()), qRound(f.box.height() * t.scaleY()));
    }
    return t;
}

void checkTemplate(const DeliveredTemplate &t, const DeliveredCatalogue &cat)
{
    const QRect paper(QPoint(0, 0), t.paper);
    const QRect picture(QPoint(0, 0), t.picture);
    for (const DeliveredField &f : t.fields) {
        const QString where = QStringLiteral("%1: field %2").arg(t.fileName, f.name);
        if (!cat.find(f.name))
            fail(where + QStringLiteral(" is not in the catalogue of %1").arg(cat.family));
        if (f.box.width() <= 0 || f.box.height() <= 0 || !paper.contains(f.box))
            fail(where + QStringLiteral(": print box is empty or off the paper"));
        if (!picture.contains(f.screen))
            fail(where + QStringLiteral(": input box is off the picture"));
    }
    QStringList missing;
    for (const DeliveredCatalogueField &c : cat.fields)
        if (!t.find(c.name))
            missing << c.name;
    if (!missing.isEmpty())
        fail(QStringLiteral("%1: no box for %2").arg(t.fileName, missing.join(QStringLiteral(", "))));
    for (int i = 0; i < t.checkBoxes.size(); ++i)
        if (!t.find(QStringLiteral("DEFCHECK%1").arg(i)))
            fail(QStringLiteral("%1: check box %2 has no field DEFCHECK%3")
                     .arg(t.fileName, t.checkBoxes.at(i))
                     .arg(i));
}

void checkSet(const DeliveredFormSet &set)
{
    QSet<int> ids;
    for (const DeliveredTemplate &t : set.templates) {
        if (ids.contains(t.id))
            fail(QStringLiteral("%1: id %2 is used twice").arg(t.fileName).arg(t.id));
        ids.insert(t.id);
        const DeliveredCatalogue *cat = set.catalogue(t.family);
        if (!cat)
            fail(QStringLiteral("%1: no catalogue for the family %2").arg(t.fileName, t.family));
        checkTemplate(t, *cat);
    }
    for (const DeliveredCatalogue &cat : set.catalogues) {
        int defaults = 0;
        for (const DeliveredTemplate &t : set.templates)
            if (t.family == cat.family && t.isDefault)
                ++defaults;
        if (defaults != 1)
            fail(QStringLiteral("%1: the family %2 has %3 default templates, not one")
                     .arg(cat.fileName, cat.family)
                     .arg(defaults));
    }
}

} // namespace

const DeliveredCatalogueField *DeliveredCatalogue::find(const QString &name) const
{
    for (const DeliveredCatalogueField &f : fields)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

QString DeliveredTemplate::fullName() const
{
    return family + QChar(0xFF08) + variant + QChar(0xFF09);
}

QString DeliveredTemplate::pictureName(const QString &code) const
{
    return code + QString::number(id) + QStringLiteral(".jpg");
}

const DeliveredField *DeliveredTemplate::find(const QString &name) const
{
    for (const DeliveredField &f : fields)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const DeliveredCatalogue *DeliveredFormSet::catalogue(const QString &family) const
{
    for (const DeliveredCatalogue &c : catalogues)
        if (c.family == family)
            return &c;
    return nullptr;
}

bool loadDeliveredForms(const QString &folder, DeliveredFormSet *set, QString *error)
{
    const QDir dir(folder);
    const QStringList files = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    DeliveredFormSet result;
    try {
        if (files.isEmpty())
            fail(QStringLiteral("no geometry files in %1").arg(folder));
        QList<DeliveredCatalogue> catalogues;
        for (const QString &name : files) {
            const QJsonObject obj = readJsonObject(dir.filePath(name));
            if (name.endsWith(QStringLiteral("_fields.json")))
                catalogues << readCatalogue(obj, name);
            else if (!obj.value(QStringLiteral("abstract")).toBool())
                result.templates << readTemplate(obj, dir, name);
        }
        std::sort(result.templates.begin(), result.templates.end(),
                  [](const DeliveredTemplate &a, const DeliveredTemplate &b) { return a.id < b.id; });
        // Families come in the order of their first template.
        for (const DeliveredTemplate &t : result.templates)
            for (const DeliveredCatalogue &c : catalogues)
                if (c.family == t.family && !result.catalogue(c.family))
                    result.catalogues << c;
        for (const DeliveredCatalogue &c : catalogues)
            if (!result.catalogue(c.family))
                fail(QStringLiteral("%1: the family %2 has no template").arg(c.fileName, c.family));
        checkSet(result);
    } catch (const FormError &e) {
        if (error)
            *error = e.message;
        return false;
    }
    *set = result;
    return true;
}

} // namespace billprint

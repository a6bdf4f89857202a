#pragma once

// Shared set-up of the renderer and print run tests: templates, fields and
// print items written into a fresh database, and the placement rules
// turned into the device positions a test expects.

#include "app/app_context.h"
#include "printing/print_fonts.h"
#include "printing/print_geometry.h"
#include "printing/print_run.h"
#include "templates/check_type.h"
#include "templates/ck_control.h"
#include "templates/name_dict.h"
#include "test_support.h"

#include <QHash>
#include <functional>

namespace billprint::test {

// A family of its own, so the delivered templates never add print items.
inline const QString kTestFamily = QStringLiteral("测试票");

class RenderFixture
{
public:
    AppContext &ctx() { return m_root.context(); }
    const Database &db() { return ctx().db(); }
    QString folder() const { return m_root.path(); }

    TCheckType addTemplate(int id, const QString &family = kTestFamily, int xMove = 0, int yMove = 0,
                           int hvPrint = 1, int pWidth = 2300, int pHeight = 1000)
    {
        TCheckType t;
        t.CheckTypeID = id;
        t.TypeFirstName = family;
        t.TypeDescribe = QStringLiteral("样例") + QString::number(id);
        t.setFullName(family, t.TypeDescribe);
        t.Visiable = TemplateFlag::Enabled;
        t.IsCommon = TemplateFlag::Common;
        t.IsDefault = TemplateFlag::NotDefault;
        t.XMove = xMove;
        t.YMove = yMove;
        t.HVPrint = hvPrint;
        t.PWidth = pWidth;
        t.PHeight = pHeight;
        t.save(db());
        return t;
    }

    // A field of template `id` at (x, y) in 宋体 10 pt, shown; `tweak`
    // changes anything else before it is stored.
    CkControl addField(int id, const QString &name, int x, int y,
                       const std::function<void(CkControl &)> &tweak = {})
    {
        CkControl c;
        c.CheckTypeID = id;
        c.CtlName = name;
        c.CtlX = x;
        c.CtlY = y;
        c.CtlFontName = QStringLiteral("宋体");
        c.CtlFontSize = 10;
        c.BreakFontSize = 8;
        c.NeedShow = 1;
        c.NeedPrint = 1;
        if (tweak)
            tweak(c);
        CkControlStore(db()).save(c);
        return c;
    }

    // A print item of the family's catalogue.
    void addPrintItem(const QString &name, int order, const QString &type = QStringLiteral("TEXT"),
                      const QString &family = kTestFamily, int printItem = 1, const QString &sample = QString())
    {
        NameDict n;
        n.CheckTypeName = family;
        n.CtlName = name;
        n.CtlLabel = name + QStringLiteral("标签");
        n.CtlType = type;
        n.PrintItem = printItem;
        n.ShowOrd = order;
        n.CtlData = sample;
        NameDictStore(db()).save(n);
    }

private:
    TempDataRoot m_root;
};

// Device position where the renderer puts a value's cell: x plus twice the
// half-em average width of its font, and y less the printable area's top.
inline int expectedX(int tenthsX, int pointSize, int dpi)
{
    return tenthsMmToDevice(tenthsX, dpi) + 2 * averageCharWidth(pointSize, dpi);
}
inline double expectedBaseline(int tenthsY, int pointSize, int dpi, int physicalTop = 0)
{
    return tenthsMmToDevice(tenthsY, dpi) - physicalTop + cellAscent(pointSize, dpi);
}

// Field values of a bill, by name (letter case ignored).
class MapValueSource : public FieldValueSource
{
public:
    QHash<QString, QString> values;
    QString currency;
    QStringList skipped;
    int tidied = 0;

    void set(const QString &name, const QString &value) { values.insert(name.toUpper(), value); }
    void beforeSend() override { ++tidied; }
    QString value(const QString &name) const override { return values.value(name.toUpper()); }
    QString currencyCode() const override { return currency; }
    bool skipPrintItem(const QString &name) const override
    {
        return skipped.contains(name, Qt::CaseInsensitive);
    }
};

} // namespace billprint::test

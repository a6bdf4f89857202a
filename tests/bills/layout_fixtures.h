#pragma once

// Shared set-up of the layout and amount tests: a database whose template
// tables hold only what a test writes, with helpers that write template,
// field catalogue, field and option rows the way the designers store them.

#include "app/database.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace billprint::test {

class LayoutDb
{
public:
    LayoutDb()
    {
        for (const char *table : {"CKTypeTable", "CkControl", "NameDict", "DMTable"})
            EXPECT_TRUE(db().exec(QStringLiteral("delete from ") + QLatin1String(table)));
    }

    AppContext &context() { return m_root.context(); }
    const Database &db() { return m_root.context().db(); }
    QString folder() const { return m_root.path(); }

    void addTemplate(int id, const QString &family, const QString &last, const QString &imgFile = QString())
    {
        exec("insert into CKTypeTable (CheckTypeID, TypeName, TypeFirstName, TypeDescribe, ImgFile, IniFile, "
             "Visiable, IsDefault, IsCommon, ShowOrd, TWidth, THeight) values (?,?,?,?,?,'', '启用', '0', '是', 0, 800, 400)",
             {id, family + QStringLiteral("（") + last + QStringLiteral("）"), family, last, imgFile});
    }
    void addField(const QString &family, const QString &name)
    {
        exec("insert into NameDict (CheckTypeName, CtlName, CtlLabel, CtlType, PrintItem, ShowOrd) "
             "values (?,?,?,'TEXT',1,0)",
             {family, name, name});
    }
    void addBox(int id, const QString &name, int x, int y, int w, int h, int show, const QVariant &init = QVariant())
    {
        exec("insert into CkControl (CheckTypeID, CtlName, SrcX, SrcY, SrcW, SrcH, NeedShow, NeedPrint, InitValue) "
             "values (?,?,?,?,?,?,?,1,?)",
             {id, name, x, y, w, h, show, init});
    }
    void addOption(int id, const QString &name, const QString &value)
    {
        exec("insert into DMTable (CheckTypeId, DMName, DMValue) values (?,?,?)", {id, name, value});
    }
    QString iniColumn(int id)
    {
        return db().scalar("select IniFile from CKTypeTable where CheckTypeID=?", {id}).toString();
    }
    void exec(const char *sql, const QVariantList &values = {})
    {
        QString error;
        EXPECT_TRUE(db().exec(QString::fromUtf8(sql), values, &error)) << sql << ": " << error.toStdString();
    }

private:
    TempDataRoot m_root;
};

// Delivers one key press with its text straight to a widget, as typing does.
inline void pressKey(QWidget *target, int key, const QString &text = QString(),
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(target, &release);
}

inline void typeText(QWidget *target, const QString &text)
{
    for (const QChar c : text)
        pressKey(target, c.isDigit() ? Qt::Key_0 + c.digitValue() : c.toUpper().unicode(), QString(c));
}

} // namespace billprint::test

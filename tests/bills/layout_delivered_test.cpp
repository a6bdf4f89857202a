// The delivered templates laid out on a bill panel through their caches:
// every field the template shows sits on its screen box, every other one
// is hidden, and switching between two templates of a family moves the
// same controls from one layout to the other.
#include "app/ini_file.h"
#include "templates/check_ini_cache.h"
#include "bills/ui/amount_entry_controller.h"
#include "bills/ui/form_layout.h"
#include "templates/ck_control.h"
#include "templates/delivered_pictures.h"
#include "templates/name_dict.h"
#include "test_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <map>
#include <memory>

using namespace billprint;
using namespace billprint::test;

namespace {

struct DeliveredTemplate
{
    int id = 0;
    QString family;
    QString picture;
    QSize size;
};

std::vector<DeliveredTemplate> deliveredTemplates(const Database &db)
{
    std::vector<DeliveredTemplate> list;
    QSqlQuery q = db.prepare("select CheckTypeID, TypeFirstName, ImgFile, TWidth, THeight from CKTypeTable order by CheckTypeID");
    EXPECT_TRUE(q.exec());
    while (q.next())
        list.push_back({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(),
                        QSize(q.value(3).toInt(), q.value(4).toInt())});
    return list;
}

// A bill window of a family as a later window class declares it: one
// control per catalogue field, named in the window's own spelling (here
// lower case, while the cache stores upper case), over the form picture.
class FamilyWindow
{
public:
    FamilyWindow(const std::vector<NameDict> &fields, const QString &picturePath, QSize size)
    {
        m_panel = new QWidget(&m_window);
        m_panel->setObjectName("pnlBill");
        m_panel->setGeometry(QRect(QPoint(0, 0), size));
        auto *picture = new QLabel(m_panel);
        picture->setObjectName("bgImage");
        picture->setPixmap(QPixmap(picturePath));
        picture->setGeometry(QRect(QPoint(0, 0), size));
        m_window.resize(size);
        // The floating amount input of the money bills is no catalogue field.
        (new QLineEdit(m_panel))->setObjectName("inputJEXX");
        for (const NameDict &field : fields) {
            QWidget *control = field.kind() == "CHECKBOX" ? static_cast<QWidget *>(new QCheckBox(field.CtlLabel, m_panel))
                                                          : new QLineEdit(field.CtlData, m_panel);
            control->setObjectName(field.CtlName.toLower());
            control->setStyleSheet("background: rgba(175,186,231,160); border: 1px solid red");
            m_controls[field.CtlName.toUpper()] = control;
        }
    }
    QWidget *window() { return &m_window; }
    QWidget *control(const QString &name) { return m_controls.count(name.toUpper()) ? m_controls[name.toUpper()] : nullptr; }

private:
    QWidget m_window;
    QWidget *m_panel = nullptr;
    std::map<QString, QWidget *> m_controls;
};

void expectLaidOut(FamilyWindow &w, const std::vector<CkControl> &rows, int id)
{
    for (const CkControl &row : rows) {
        QWidget *control = w.control(row.CtlName);
        if (!control)
            continue;  // a field of the template that the family's catalogue lacks
        if (row.isShown()) {
            EXPECT_FALSE(control->isHidden()) << id << " " << row.CtlName.toStdString();
            EXPECT_EQ(control->geometry(), QRect(row.SrcX, row.SrcY, row.SrcW, row.SrcH))
                << id << " " << row.CtlName.toStdString();
        } else {
            EXPECT_TRUE(control->isHidden()) << id << " " << row.CtlName.toStdString();
        }
    }
}

} // namespace

TEST(DeliveredLayout, EveryDeliveredTemplateLaysItsFieldsOnTheirBoxes)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    ensureDeliveredPictures(ctx.dataRoot().imageFolder());
    const std::vector<DeliveredTemplate> templates = deliveredTemplates(ctx.db());
    ASSERT_GE(templates.size(), 6u);

    AlertRecorder alerts;
    CheckIniCache cache(ctx);
    for (const DeliveredTemplate &t : templates) {
        const std::vector<NameDict> fields = NameDictStore(ctx.db()).listFamily(t.family);
        const std::vector<CkControl> rows = CkControlStore(ctx.db()).loadAll(t.id);
        ASSERT_FALSE(fields.empty()) << t.id;
        ASSERT_FALSE(rows.empty()) << t.id;

        FamilyWindow w(fields, ctx.dataRoot().imageFolder() + t.picture, t.size);
        std::unique_ptr<IniFile> ini = cache.OpenCheckInif(t.id);
        ASSERT_TRUE(ini);
        ASSERT_TRUE(setFormControlsPosition(ctx.db(), t.family, w.window(), ini.get()));
        expectLaidOut(w, rows, t.id);

        // Every shown field lies on the picture.
        for (const CkControl &row : rows)
            if (row.isShown())
                EXPECT_TRUE(QRect(QPoint(0, 0), t.size).contains(QRect(row.SrcX, row.SrcY, row.SrcW, row.SrcH)))
                    << t.id << " " << row.CtlName.toStdString();

        const QByteArray shots = qgetenv("BILLPRINT_LAYOUT_SHOTS");
        if (!shots.isEmpty())
            w.window()->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/layout_%1.png").arg(t.id));
    }
    EXPECT_TRUE(alerts.alerts().empty());
}

TEST(DeliveredLayout, SwitchingTemplatesMovesTheSameControls)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    const QString family = "支票";
    const std::vector<NameDict> fields = NameDictStore(ctx.db()).listFamily(family);
    FamilyWindow w(fields, QString(), QSize(900, 320));
    CheckIniCache cache(ctx);
    for (int id : {1, 2, 1}) {
        std::unique_ptr<IniFile> ini = cache.OpenCheckInif(id);
        ASSERT_TRUE(setFormControlsPosition(ctx.db(), family, w.window(), ini.get()));
        expectLaidOut(w, CkControlStore(ctx.db()).loadAll(id), id);
    }
}

TEST(DeliveredLayout, AnAmountTypedOnTheDeliveredChequeFillsItsBoxes)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    ensureDeliveredPictures(ctx.dataRoot().imageFolder());
    FamilyWindow w(NameDictStore(ctx.db()).listFamily("支票"), ctx.dataRoot().imageFolder() + "zp1.jpg", QSize(855, 304));
    CheckIniCache cache(ctx);
    std::unique_ptr<IniFile> ini = cache.OpenCheckInif(1);
    ASSERT_TRUE(setFormControlsPosition(ctx.db(), "支票", w.window(), ini.get()));

    AlertRecorder alerts;
    AmountEntryController amount(ctx.db(), w.window());
    amount.beginInput(w.control("zdJEDX"));
    EXPECT_EQ(w.window()->findChild<QLineEdit *>("inputJEXX")->geometry(), w.control("zdJEDX")->geometry());
    ASSERT_EQ(amount.setJEXX("1286500"), AmountStatus::Applied);
    auto text = [&](const char *name) { return FormControls::text(w.control(name)); };
    EXPECT_EQ(text("zdJEXX"), "￥1,286,500.00");
    EXPECT_EQ(text("cgJEXX"), "￥1,286,500.00");
    EXPECT_EQ(text("zdJEDX"), "壹佰贰拾捌万陆仟伍佰元整");
    EXPECT_EQ(text("zdQW"), "￥");
    EXPECT_EQ(text("zdBW"), "1");
    EXPECT_EQ(text("zdY"), "0");
    EXPECT_EQ(text("zdF"), "0");
    EXPECT_EQ(text("zdYY"), "");
    EXPECT_TRUE(alerts.alerts().empty());

    const QByteArray shots = qgetenv("BILLPRINT_LAYOUT_SHOTS");
    if (!shots.isEmpty())
        w.window()->grab().save(QString::fromLocal8Bit(shots) + "/amount_1.png");
}

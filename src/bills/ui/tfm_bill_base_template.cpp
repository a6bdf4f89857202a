// The template of a bill window: the template list and the tab strip of
// common templates, the picture and layout the chosen template gives, the
// size that follows from it, its tick boxes and options, and the
// do-not-print options that hide fields over a template change.
#include "bills/ui/tfm_bill_base.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/chinese_text.h"
#include "app/ini_file.h"
#include "app/lookups.h"
#include "templates/check_ini_cache.h"
#include "bills/ui/amount_entry_controller.h"
#include "bills/ui/bill_window_parts.h"
#include "bills/ui/control_value.h"
#include "bills/ui/form_layout.h"
#include "templates/check_type.h"
#include "templates/template_picture_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QMdiSubWindow>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolBar>

namespace billprint {

using namespace bill_window;

namespace {

const QString kTemplateCatalogue = QStringLiteral("票据模板管理（默认、显示、隐藏）");

} // namespace

// ---- Template ----------------------------------------------------------------

QString TfmBillBase::templateListText() const
{
    return m_cbTypes->currentText();
}

bool TfmBillBase::setCurrentCheckType(const QString &name)
{
    bool found = false;
    if (m_cbTypes->currentText() != name) {
        for (int i = 0; i < m_cbTypes->count(); ++i) {
            if (m_cbTypes->itemText(i) == name) {
                m_cbTypes->setCurrentIndex(i);
                found = true;
                break;
            }
        }
    }
    if (m_tabs->tabText(m_tabs->currentIndex()) != name) {
        m_syncingTabs = true;
        for (int i = 0; i < m_tabs->count(); ++i)
            if (m_tabs->tabText(i) == name)
                m_tabs->setCurrentIndex(i);
        m_syncingTabs = false;
    }
    return found;
}

bool TfmBillBase::chooseTemplate(const QString &lastName)
{
    if (m_cbTypes->findText(lastName) < 0)
        return false;
    if (templateListText() != lastName)
        setCurrentCheckType(lastName);
    templateChanged();
    return true;
}

void TfmBillBase::templateChanged()
{
    MustSavechange();
    const QString name = templateListText();
    m_checkTypeId = Lookups(m_ctx.db()).loadCheckTypeIDByFirstAndLastName(m_family.family, name);
    initFormType();
    if (m_amount)
        setJEXX(amountText());
    updateCaption();
    m_ctx.currentCheckTypeId = m_checkTypeId;
    setProperty("tag", m_checkTypeId);
    setCurrentCheckType(name);
}

void TfmBillBase::initFormType()
{
    m_ini = CheckIniCache(m_ctx).OpenCheckInif(m_checkTypeId);
    if (m_checkTypeId == m_laidOutId)
        return;
    // Values the template gives its fields are no change of the user's.
    const bool wasClean = !changedSinceClean();
    loadParam(m_checkTypeId, templateListText());
    loadCheckBoxsConfig();
    setFormControlsPosition(m_ctx.db(), m_family.family, this, m_ini.get());
    // A do-not-print option stays in force over a template change: the
    // layout has just shown its fields again.
    reapplySuppressions();
    fitAllFieldFonts();
    afterLayout();
    for (const QString &name : dictionaryLists()) {
        if (auto *list = qobject_cast<QComboBox *>(field(name))) {
            const QSignalBlocker quiet(list);
            const QString text = list->currentText();
            list->clear();
            list->setEditText(text);
        }
        m_filledLists.removeAll(name.toUpper());
    }
    m_laidOutId = m_checkTypeId;
    if (wasClean)
        markClean();
}

int TfmBillBase::chromeHeight() const
{
    return m_toolBar->sizeHint().height() + m_templateRow->sizeHint().height() + m_optionBar->sizeHint().height();
}

void TfmBillBase::applySizeLimits()
{
    if (m_pictureSize.isEmpty())
        return;
    m_limits = BillWindowLimits::compute(m_pictureSize, m_host.workArea(), chromeHeight());
    // The width limits can cross by a few pixels; the lower one wins.
    const int maxWidth = qMax(m_limits.maxWidth, m_limits.minWidth);
    setMinimumSize(m_limits.minWidth, m_limits.minHeight);
    setMaximumSize(maxWidth, m_limits.maxHeight);
    resize(maxWidth, m_limits.height);
    fitFrameToWindow();
}

void TfmBillBase::fitFrameToWindow()
{
    // The MDI frame keeps the size it was given. A frame taller or wider
    // than the window, whose size is fixed by its template, centres it:
    // an empty band shows above the tool bar (a stored bill reopened on a
    // smaller template than the one shown); a smaller one cuts it off.
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!sub || sub->isMaximized() || sub->isMinimized() || m_pictureSize.isEmpty())
        return;
    QMargins frame = sub->contentsMargins();
    if (sub->layout())
        frame += sub->layout()->contentsMargins();
    const QSize window(qMax(m_limits.maxWidth, m_limits.minWidth), m_limits.height);
    sub->resize(window.grownBy(frame));
}


void TfmBillBase::loadParam(int id, const QString &name)
{
    if (id <= 0 || name.isEmpty())
        return;
    const std::optional<TCheckType> type = TCheckType::findById(m_ctx.db(), id);
    if (!type)
        return;
    const QSize picture(type->TWidth, type->THeight);
    m_pictureSize = picture;
    applySizeLimits();

    loadCheckBox(type->CheckBoxs);

    m_panel->setFixedSize(picture);
    m_bgImage->setGeometry(QRect(QPoint(0, 0), picture));
    const QString file = type->ImgFile.isEmpty() ? TCheckType::fallbackPicture() : type->ImgFile;
    QPixmap pixmap;
    if (pixmap.load(localTemplatePicture(m_ctx.db(), m_ctx.dataRoot().imageFolder(), file)))
        m_bgImage->setPixmap(pixmap);  // drawn at its natural size from the top-left corner
    else
        m_bgImage->clear();
    m_bgImage->lower();
}

void TfmBillBase::loadCheckBox(const QString &captions)
{
    for (QCheckBox *box : std::as_const(m_tickBoxes))
        box->hide();
    m_tickBoxes.clear();
    const QString text = captions.trimmed();
    if (text.isEmpty())
        return;
    const QStringList pieces = splitString(text, QStringLiteral(","));
    for (int i = 0; i < pieces.size(); ++i) {
        const QString name = QStringLiteral("defCheck") + QString::number(i);
        auto *box = qobject_cast<QCheckBox *>(field(name));
        if (!box) {
            box = new QCheckBox(m_panel);
            box->setObjectName(name);
            connect(box, &QCheckBox::toggled, this, &TfmBillBase::fieldEdited);
        }
        box->setText(pieces.at(i));
        box->setToolTip(pieces.at(i));
        box->setAutoFillBackground(true);
        QPalette pal = box->palette();
        pal.setColor(QPalette::Window, QColor(255, 185, 185));
        box->setPalette(pal);
        box->setStyleSheet(QStringLiteral("QCheckBox { background: rgb(255,185,185); }"));
        box->move(20 * i, 30 * i);
        box->hide();
        m_tickBoxes.append(box);
    }
}

void TfmBillBase::loadCheckBoxsConfig()
{
    for (const auto &[name, rule] : std::as_const(m_remembered))
        if (QCheckBox *box = option(name))
            box->setChecked(CheckIniCache::checkConfigFlag(m_ini.get(), name, rule == Remember::OnUnlessZero));
    if (m_moneyType)
        setMoneyName(CheckIniCache::checkConfig(m_ini.get(), QStringLiteral("cfgDefaultMoney")));
    renderDate();
    if (m_amount)
        setJEXX(amountText());
}

QString TfmBillBase::getItemCheckTitle() const
{
    QStringList ticked;
    for (const QCheckBox *box : m_tickBoxes)
        if (box->isChecked())
            ticked << box->text();
    return ticked.join(QLatin1Char(','));
}

void TfmBillBase::setItemCheckTitle(const QString &text)
{
    for (QCheckBox *box : std::as_const(m_tickBoxes))
        box->setChecked(false);
    const QStringList pieces = splitString(text, QStringLiteral(","));
    for (QCheckBox *box : std::as_const(m_tickBoxes))
        if (pieces.contains(box->text()))
            box->setChecked(true);
}

void TfmBillBase::tabChanged(int index)
{
    if (m_syncingTabs || index < 0)
        return;
    inputJEXXExit();
    const QString text = m_tabs->tabText(index);
    if (text == kCommonTemplatesTab) {
        m_ctx.currentCheckTypeId = m_checkTypeId;
        m_host.runCommand(kTemplateCatalogue);
        setCurrentCheckType(templateListText());
        return;
    }
    if (text.isEmpty() || text == templateListText())
        return;
    if (setCurrentCheckType(text))
        templateChanged();
    else
        tell(QStringLiteral("模板(") + text
             + QStringLiteral(")不存在或被重命名了，请关闭填单界面并重新填开,以刷新模板列表！"));
}

QStringList TfmBillBase::dictionaryLists() const
{
    return {QStringLiteral("zdYT"), QStringLiteral("zdDef1"), QStringLiteral("zdDef2")};
}

QStringList TfmBillBase::suppressedFields(const QString &option) const
{
    if (option == QLatin1String("cfgNoPrtDate"))
        return {QStringLiteral("zdNian"), QStringLiteral("zdYue"), QStringLiteral("zdRi"), QStringLiteral("SelDate"),
                QStringLiteral("cgNian"), QStringLiteral("cgYue"), QStringLiteral("cgRi")};
    if (option == QLatin1String("cfgNoPrtJEXX")) {
        QStringList names{QStringLiteral("zdJEXX")};
        for (const QString &box : digitBoxNames())
            names << box;
        return names;
    }
    if (option == QLatin1String("cfgNoPrtJEDX"))
        return {QStringLiteral("zdJEDX")};
    if (option == QLatin1String("cfgNoPrtOutter"))
        return {QStringLiteral("zdOutComp"), QStringLiteral("zdOutBank"), QStringLiteral("zdOutBankAcct")};
    return {};
}

void TfmBillBase::applySuppression(const QString &optionName)
{
    const QCheckBox *box = option(optionName);
    if (!box)
        return;
    for (const QString &name : suppressedFields(optionName)) {
        if (box->isChecked()) {
            if (QWidget *f = field(name))
                f->hide();
        } else {
            setFormCtlPositionFromIni(name, m_ini.get(), this);
        }
    }
}

void TfmBillBase::reapplySuppressions()
{
    for (const QString &name : noPrintOptions())
        if (const QCheckBox *box = option(name); box && box->isChecked())
            applySuppression(name);
}

} // namespace billprint

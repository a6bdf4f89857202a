#include "printing/ui/tfrm_print_offset.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/ui/window_state.h"
#include "printing/ui/feed_direction_picture.h"
#include "app/ui/tfrm_image_show.h"
#include "app/web_info.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>

namespace billprint {

namespace {

const QString kNoTemplate = QStringLiteral("请选择要设置的票据类型！");
const QString kSaved = QStringLiteral("票据整体属性修改成功！");
const QString kUnchanged = QStringLiteral("票据整体属性没有变动！");
const QString kSaveFailed = QStringLiteral("票据整体属性量修改出错！");

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel *makeLinkLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(QStringLiteral("<a href=\"#\">%1</a>").arg(text.toHtmlEscaped()), parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::RichText);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace

TfrmPrintOffset::TfrmPrintOffset(AppContext &context, int checkTypeId, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_store(context.db())
{
    setObjectName(QStringLiteral("frmPrintOffset"));
    setWindowTitle(QStringLiteral("打印整体偏移调整"));
    setModal(true);
    buildWindow();
    fillTemplateList(checkTypeId);
}

QSpinBox *TfrmPrintOffset::makeBox(const QString &name, int min, int max)
{
    // A spin box takes whole numbers only: a typed "." never gets in.
    auto *box = new QSpinBox(this);
    box->setObjectName(name);
    box->setRange(min, max);
    box->setMinimumWidth(90);
    box->setAlignment(Qt::AlignRight);
    return box;
}

void TfrmPrintOffset::buildWindow()
{
    m_lbCheckTypes = new QListWidget(this);
    m_lbCheckTypes->setObjectName(QStringLiteral("lbCheckTypes"));
    m_lbCheckTypes->setMinimumWidth(180);
    auto *listBox = new QGroupBox(QStringLiteral("选择要调整的票据"), this);
    auto *listLayout = new QVBoxLayout(listBox);
    listLayout->addWidget(m_lbCheckTypes);

    m_lbCurrent = new QLabel(QStringLiteral("当前调整："), this);
    m_lbCurrent->setObjectName(QStringLiteral("lbCurrent"));
    QFont bold = m_lbCurrent->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_lbCurrent->setFont(bold);
    m_lbCurrent->setStyleSheet(QStringLiteral("color: #1f3f9f;"));

    // Offsets, with arrows of 1 mm a click.
    m_edtXMove = makeBox(QStringLiteral("edtXMove"), PrintOffsets::XMoveMin, PrintOffsets::XMoveMax);
    m_edtYMove = makeBox(QStringLiteral("edtYMove"), PrintOffsets::YMoveMin, PrintOffsets::YMoveMax);
    m_lbXcm = new QLabel(this);
    m_lbXcm->setObjectName(QStringLiteral("lbXcm"));
    m_lbYcm = new QLabel(this);
    m_lbYcm->setObjectName(QStringLiteral("lbYcm"));
    for (QLabel *label : {m_lbXcm, m_lbYcm})
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("=20.00厘米")));
    QPushButton *btLeft = makeButton(this, QStringLiteral("btLeft"), QStringLiteral("← 左移"));
    QPushButton *btRight = makeButton(this, QStringLiteral("btRight"), QStringLiteral("右移 →"));
    QPushButton *btUp = makeButton(this, QStringLiteral("btUp"), QStringLiteral("↑ 上移"));
    QPushButton *btDown = makeButton(this, QStringLiteral("btDown"), QStringLiteral("下移 ↓"));
    auto *offsetBox = new QGroupBox(QStringLiteral("打印整体偏移（单位：0.1毫米，每点一次箭头移动1毫米）"), this);
    auto *offsets = new QGridLayout(offsetBox);
    offsets->addWidget(new QLabel(QStringLiteral("左右偏移 X："), this), 0, 0);
    offsets->addWidget(btLeft, 0, 1);
    offsets->addWidget(m_edtXMove, 0, 2);
    offsets->addWidget(btRight, 0, 3);
    offsets->addWidget(m_lbXcm, 0, 4);
    offsets->addWidget(new QLabel(QStringLiteral("正数向右，负数向左"), this), 0, 5);
    offsets->addWidget(new QLabel(QStringLiteral("上下偏移 Y："), this), 1, 0);
    offsets->addWidget(btUp, 1, 1);
    offsets->addWidget(m_edtYMove, 1, 2);
    offsets->addWidget(btDown, 1, 3);
    offsets->addWidget(m_lbYcm, 1, 4);
    offsets->addWidget(new QLabel(QStringLiteral("正数向下，负数向上"), this), 1, 5);
    offsets->setColumnStretch(5, 1);

    // Paper feed direction with its pictures.
    m_rbPortrait = new QRadioButton(FeedDirection::Portrait, this);
    m_rbPortrait->setObjectName(QStringLiteral("rbPortrait"));
    m_rbLandscape = new QRadioButton(FeedDirection::Landscape, this);
    m_rbLandscape->setObjectName(QStringLiteral("rbLandscape"));
    auto *directionGroup = new QButtonGroup(this);
    directionGroup->addButton(m_rbPortrait);
    directionGroup->addButton(m_rbLandscape);
    m_rbPortrait->setChecked(true);
    QLabel *lbPortraitPicture = makeLinkLabel(this, QStringLiteral("lbPortraitPicture"), QStringLiteral("纵向进纸图示"));
    QLabel *lbLandscapePicture = makeLinkLabel(this, QStringLiteral("lbLandscapePicture"), QStringLiteral("横向进纸图示"));
    auto *directionBox = new QGroupBox(QStringLiteral("打印方向（进纸方向）"), this);
    auto *direction = new QHBoxLayout(directionBox);
    direction->addWidget(m_rbPortrait);
    direction->addWidget(lbPortraitPicture);
    direction->addSpacing(24);
    direction->addWidget(m_rbLandscape);
    direction->addWidget(lbLandscapePicture);
    direction->addStretch();

    // Paper size and the picture size on the entry window.
    m_edtPWidth = makeBox(QStringLiteral("edtPWidth"), PrintOffsets::PWidthMin, PrintOffsets::PWidthMax);
    m_edtPHeight = makeBox(QStringLiteral("edtPHeight"), PrintOffsets::PHeightMin, PrintOffsets::PHeightMax);
    m_edtTWidth = makeBox(QStringLiteral("edtTWidth"), PrintOffsets::TWidthMin, PrintOffsets::TWidthMax);
    m_edtTHeight = makeBox(QStringLiteral("edtTHeight"), PrintOffsets::THeightMin, PrintOffsets::THeightMax);
    m_lbPWcm = new QLabel(this);
    m_lbPWcm->setObjectName(QStringLiteral("lbPWcm"));
    m_lbPHcm = new QLabel(this);
    m_lbPHcm->setObjectName(QStringLiteral("lbPHcm"));
    for (QLabel *label : {m_lbPWcm, m_lbPHcm})
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("=30.00厘米")));
    auto *sizeBox = new QGroupBox(QStringLiteral("纸张及图片大小"), this);
    auto *sizes = new QGridLayout(sizeBox);
    sizes->addWidget(new QLabel(QStringLiteral("纸张宽度（0.1毫米）："), this), 0, 0);
    sizes->addWidget(m_edtPWidth, 0, 1);
    sizes->addWidget(m_lbPWcm, 0, 2);
    sizes->addWidget(new QLabel(QStringLiteral("纸张高度（0.1毫米）："), this), 0, 3);
    sizes->addWidget(m_edtPHeight, 0, 4);
    sizes->addWidget(m_lbPHcm, 0, 5);
    sizes->addWidget(new QLabel(QStringLiteral("图片宽度（像素）："), this), 1, 0);
    sizes->addWidget(m_edtTWidth, 1, 1);
    sizes->addWidget(new QLabel(QStringLiteral("图片高度（像素）："), this), 1, 3);
    sizes->addWidget(m_edtTHeight, 1, 4);
    sizes->setColumnStretch(6, 1);

    QPushButton *btSave = makeButton(this, QStringLiteral("btSave"), QStringLiteral("保存整体设置"));
    QPushButton *btDesign = makeButton(this, QStringLiteral("btDesign"),
                                       QStringLiteral("整体上差不多，我要调整某单项的打印位置"));
    QPushButton *btClose = makeButton(this, QStringLiteral("btClose"), QStringLiteral("结束设置"));
    QLabel *lbWeb = makeLinkLabel(this, QStringLiteral("lbWeb"), QStringLiteral(">>到禾朔网站看看推荐的整体偏移设置"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btSave);
    buttons->addWidget(btDesign);
    buttons->addStretch();
    buttons->addWidget(btClose);

    auto *right = new QVBoxLayout;
    right->addWidget(m_lbCurrent);
    right->addWidget(offsetBox);
    right->addWidget(directionBox);
    right->addWidget(sizeBox);
    right->addWidget(lbWeb);
    right->addStretch();
    right->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(listBox);
    layout->addLayout(right, 1);
    resize(860, 470);

    connect(m_lbCheckTypes, &QListWidget::currentRowChanged, this, [this] {
        if (!m_loading)
            loadSelected();
    });
    connect(btLeft, &QPushButton::clicked, this, [this] { moveBy(-10, 0); });
    connect(btRight, &QPushButton::clicked, this, [this] { moveBy(10, 0); });
    connect(btUp, &QPushButton::clicked, this, [this] { moveBy(0, -10); });
    connect(btDown, &QPushButton::clicked, this, [this] { moveBy(0, 10); });
    for (QSpinBox *box : {m_edtXMove, m_edtYMove, m_edtPWidth, m_edtPHeight}) {
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, &TfrmPrintOffset::updateCentimetreLabels);
        connect(box, &QSpinBox::editingFinished, this, &TfrmPrintOffset::boxLeft);
    }
    connect(btSave, &QPushButton::clicked, this, [this] { save(false); });
    connect(btDesign, &QPushButton::clicked, this, &TfrmPrintOffset::requestDesign);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
    connect(lbPortraitPicture, &QLabel::linkActivated, this, [this] { showFeedPicture(false); });
    connect(lbLandscapePicture, &QLabel::linkActivated, this, [this] { showFeedPicture(true); });
    connect(lbWeb, &QLabel::linkActivated, this, [this] { openVendorPage(m_ctx, recommendationUrl()); });
    updateCentimetreLabels();
}

void TfrmPrintOffset::fillTemplateList(int wanted)
{
    QString error;
    const QList<OffsetTemplateEntry> entries = m_store.enabledTemplates(&error);
    if (!error.isEmpty())
        m_ctx.debugLog().DebugOutN(QStringLiteral("TfrmPrintOffset"), error);
    m_loading = true;
    m_lbCheckTypes->clear();
    int wantedRow = -1;
    for (const OffsetTemplateEntry &entry : entries) {
        auto *item = new QListWidgetItem(entry.typeName, m_lbCheckTypes);
        item->setData(Qt::UserRole, entry.checkTypeId);
        if (wantedRow < 0 && entry.checkTypeId == wanted)
            wantedRow = m_lbCheckTypes->count() - 1;
    }
    m_loading = false;
    if (wantedRow < 0 && wanted > 0)
        tell(QStringLiteral("没有找到编号为") + QString::number(wanted) + QStringLiteral("的票据，请查看是否存在或被隐藏。"));
    if (m_lbCheckTypes->count() == 0)
        return;  // nothing to adjust; saving says so
    m_loading = true;
    m_lbCheckTypes->setCurrentRow(wantedRow < 0 ? 0 : wantedRow);
    m_loading = false;
    loadSelected();
}

bool TfrmPrintOffset::selectTemplate(const QString &typeName)
{
    const QList<QListWidgetItem *> found = m_lbCheckTypes->findItems(typeName, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    m_loading = true;
    m_lbCheckTypes->setCurrentItem(found.first());
    m_loading = false;
    loadSelected();
    return true;
}

void TfrmPrintOffset::loadSelected()
{
    QListWidgetItem *item = m_lbCheckTypes->currentItem();
    if (!item)
        return;
    const QString name = item->text().trimmed();
    m_lbCurrent->setText(QStringLiteral("当前调整：") + name);
    // The row is read by the id the list holds, so two templates sharing
    // a name are never mixed up.
    QString error;
    const std::optional<PrintOffsets> values = m_store.load(item->data(Qt::UserRole).toInt(), &error);
    if (values) {
        showValues(*values);
        setWindowTitle(name + QLatin1Char('-') + QString::number(values->checkTypeId));
        return;
    }
    // No such row (or it could not be read): nothing is adjusted until
    // another template is chosen, so no save can reach the wrong row.
    if (!error.isEmpty())
        tell(QStringLiteral("读取票据整体属性出错！\n") + error, QStringLiteral("错误"), AlertIcon::Error);
    m_values = PrintOffsets();
    m_loading = true;
    m_edtXMove->setValue(0);
    m_edtYMove->setValue(0);
    m_loading = false;
}

namespace {

// Shows `value` in a box offering min ... max, widened to take the value
// when it lies outside: a box that clamped a stored value would write the
// clamped one back with the next arrow click.
void showStored(QSpinBox *box, int value, int min, int max)
{
    box->setRange(qMin(min, value), qMax(max, value));
    box->setValue(value);
}

} // namespace

void TfrmPrintOffset::showValues(const PrintOffsets &values)
{
    using V = PrintOffsets;
    m_values = values;
    m_loading = true;
    showStored(m_edtXMove, values.xMove, V::XMoveMin, V::XMoveMax);
    showStored(m_edtYMove, values.yMove, V::YMoveMin, V::YMoveMax);
    showStored(m_edtTWidth, values.tWidth, V::TWidthMin, V::TWidthMax);
    showStored(m_edtTHeight, values.tHeight, V::THeightMin, V::THeightMax);
    showStored(m_edtPWidth, values.pWidth, V::PWidthMin, V::PWidthMax);
    showStored(m_edtPHeight, values.pHeight, V::PHeightMin, V::PHeightMax);
    (values.landscape ? m_rbLandscape : m_rbPortrait)->setChecked(true);
    m_loading = false;
    updateCentimetreLabels();
}

void TfrmPrintOffset::updateCentimetreLabels()
{
    m_lbXcm->setText(centimetreLabel(m_edtXMove->value()));
    m_lbYcm->setText(centimetreLabel(m_edtYMove->value()));
    m_lbPWcm->setText(centimetreLabel(m_edtPWidth->value()));
    m_lbPHcm->setText(centimetreLabel(m_edtPHeight->value()));
}

PrintOffsets TfrmPrintOffset::valuesOnScreen() const
{
    PrintOffsets values = m_values;
    values.xMove = m_edtXMove->value();
    values.yMove = m_edtYMove->value();
    values.tWidth = m_edtTWidth->value();
    values.tHeight = m_edtTHeight->value();
    values.pWidth = m_edtPWidth->value();
    values.pHeight = m_edtPHeight->value();
    values.landscape = !m_rbPortrait->isChecked();
    return values;
}

int TfrmPrintOffset::save(bool quiet)
{
    if (m_saving)
        return -1;  // a message box of this save moved the focus
    m_saving = true;
    struct Reset { bool &flag; ~Reset() { flag = false; } } reset{m_saving};

    if (m_values.checkTypeId <= 0) {
        tell(kNoTemplate);
        return -1;
    }
    QString error;
    const int rows = m_store.save(valuesOnScreen(), &error);
    if (rows < 0) {
        // What the user set stays on screen, to be saved again.
        tell(kSaveFailed + QLatin1Char('\n') + error, QStringLiteral("提示"), AlertIcon::Error);
        return -1;
    }
    m_values = valuesOnScreen();
    if (quiet) {
        setWindowTitle(rows > 0 ? kSaved : kUnchanged);
    } else {
        tell(rows > 0 ? kSaved : kUnchanged);
        setWindowTitle(m_lbCurrent->text());
    }
    return rows;
}

void TfrmPrintOffset::moveBy(int dx, int dy)
{
    if (m_values.checkTypeId <= 0) {
        tell(QStringLiteral("请在左侧选择要设置的快递单据！"));
        return;
    }
    m_edtXMove->setValue(m_edtXMove->value() + dx);
    m_edtYMove->setValue(m_edtYMove->value() + dy);
    save(true);
}

void TfrmPrintOffset::boxLeft()
{
    if (m_loading || m_saving)
        return;
    save(true);
}

void TfrmPrintOffset::requestDesign()
{
    if (m_values.checkTypeId > 0)
        m_ctx.currentCheckTypeId = m_values.checkTypeId;
    m_designRequested = true;
    accept();
}

void TfrmPrintOffset::showFeedPicture(bool landscape)
{
    ensureFeedDirectionPictures(m_ctx.dataRoot().imageFolder());
    TfrmImageShow::showExplanation(m_ctx, feedDirectionPictureName(landscape), QSize(400, 400), this);
}

QString TfrmPrintOffset::recommendationUrl() const
{
    const QString name = m_lbCheckTypes->currentItem() ? m_lbCheckTypes->currentItem()->text().trimmed() : QString();
    return WebLinks::fromContext(m_ctx).sitePage(QStringLiteral("/f_khzx.asp?rail=prtmatch.asp&"))
           + QStringLiteral("&type=") + QString::fromLatin1(QUrl::toPercentEncoding(name));
}

QPushButton *TfrmPrintOffset::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

void TfrmPrintOffset::showEvent(QShowEvent *event)
{
    if (!m_sizeRestored) {
        FormFaceLoad(m_ctx.config(), this);
        m_sizeRestored = true;
    }
    QDialog::showEvent(event);
}

void TfrmPrintOffset::done(int result)
{
    FormFaceSave(m_ctx.config(), this);
    QDialog::done(result);
}

} // namespace billprint

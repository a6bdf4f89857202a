#include "printing/ui/tfrm_printer_param.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/ui/window_state.h"
#include "printing/print_offsets.h"
#include "printing/ui/bill_printer.h"
#include "app/web_info.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>

namespace billprint {

namespace {

constexpr int kOffsetLimit = 3000;  // 0.1 mm either way

QLineEdit *readOnlyEdit(QWidget *parent, const QString &name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setStyleSheet(QStringLiteral("background: #eef1f8;"));
    return edit;
}

QSpinBox *offsetBox(QWidget *parent, const QString &name)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(-kOffsetLimit, kOffsetLimit);
    box->setAlignment(Qt::AlignRight);
    return box;
}

// An offset as Config.ini holds it; text that is no number counts as 0.
int offsetValue(const QString &text)
{
    return qBound(-kOffsetLimit, text.trimmed().toInt(), kOffsetLimit);
}

} // namespace

TfrmPrinterParam::TfrmPrinterParam(AppContext &context, const QString &fixedPrinter, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_catalog(context.config())
{
    setObjectName(QStringLiteral("frmPrinterParam"));
    setWindowTitle(QStringLiteral("打印机整体偏移参数适配"));
    setModal(true);
    buildWindow();

    m_cbModels->addItems(m_catalog.modelNames());
    m_cbModels->setCurrentIndex(0);
    loadModel(m_cbModels->currentText());

    m_cbPrinters->addItems(m_ctx.printerNames);
    if (!fixedPrinter.isEmpty()) {
        if (m_cbPrinters->findText(fixedPrinter) < 0)
            m_cbPrinters->addItem(fixedPrinter);
        m_cbPrinters->setCurrentText(fixedPrinter);
        m_cbPrinters->setEnabled(false);
    } else {
        m_cbPrinters->setCurrentIndex(-1);
    }
    showStoredAdaptation();
}

void TfrmPrinterParam::buildWindow()
{
    // Left: the known model, read only.
    m_cbModels = new QComboBox(this);
    m_cbModels->setObjectName(QStringLiteral("cbModels"));
    m_edtModelX = readOnlyEdit(this, QStringLiteral("edtModelX"));
    m_edtModelY = readOnlyEdit(this, QStringLiteral("edtModelY"));
    m_edtModelBoard = readOnlyEdit(this, QStringLiteral("edtModelBoard"));
    m_edtModelDirection = readOnlyEdit(this, QStringLiteral("edtModelDirection"));
    m_imgModel = new QLabel(this);
    m_imgModel->setObjectName(QStringLiteral("imgModel"));
    m_imgModel->setAlignment(Qt::AlignCenter);
    m_imgModel->setFixedSize(240, 150);
    m_imgModel->setFrameShape(QFrame::StyledPanel);
    auto *modelGroup = new QGroupBox(QStringLiteral("1.选择与您的打印机相近的型号"), this);
    auto *model = new QFormLayout(modelGroup);
    model->addRow(QStringLiteral("打印机型号："), m_cbModels);
    model->addRow(QStringLiteral("左右偏移 X："), m_edtModelX);
    model->addRow(QStringLiteral("上下偏移 Y："), m_edtModelY);
    model->addRow(QStringLiteral("挡板位置："), m_edtModelBoard);
    model->addRow(QStringLiteral("打印方向："), m_edtModelDirection);
    model->addRow(m_imgModel);

    // Right: the user's own values.
    m_edtName = new QLineEdit(this);
    m_edtName->setObjectName(QStringLiteral("edtName"));
    m_cbPrinters = new QComboBox(this);
    m_cbPrinters->setObjectName(QStringLiteral("cbPrinters"));
    m_cbPrinters->setMinimumWidth(200);
    m_edtX = offsetBox(this, QStringLiteral("edtX"));
    m_edtY = offsetBox(this, QStringLiteral("edtY"));
    m_cbDirection = new QComboBox(this);
    m_cbDirection->setObjectName(QStringLiteral("cbDirection"));
    m_cbDirection->setEditable(true);  // a model may name a direction of its own; applying refuses it
    m_cbDirection->addItems({FeedDirection::Portrait, FeedDirection::Landscape});
    m_cbDirection->setCurrentIndex(-1);
    m_cbDirection->setEditText(QString());
    m_edtBoard = new QLineEdit(this);
    m_edtBoard->setObjectName(QStringLiteral("edtBoard"));
    auto *ownGroup = new QGroupBox(QStringLiteral("2.调整为您的打印机参数"), this);
    auto *own = new QFormLayout(ownGroup);
    own->addRow(QStringLiteral("适配打印机类型名："), m_edtName);
    own->addRow(QStringLiteral("您的票据打印机："), m_cbPrinters);
    own->addRow(QStringLiteral("左右偏移 X（0.1毫米）："), m_edtX);
    own->addRow(QStringLiteral("上下偏移 Y（0.1毫米）："), m_edtY);
    own->addRow(QStringLiteral("打印方向："), m_cbDirection);
    own->addRow(QStringLiteral("挡板位置："), m_edtBoard);
    if (m_ctx.printerNames.isEmpty()) {
        auto *none = new QLabel(QStringLiteral("没有检测到打印机，只能应用偏移，无法保存打印机适配。"), this);
        none->setObjectName(QStringLiteral("lbNoPrinter"));
        none->setStyleSheet(QStringLiteral("color: #b00000;"));
        none->setWordWrap(true);
        own->addRow(none);
    }

    auto *btApply = new QPushButton(QStringLiteral("3.【应用】到所有单据"), this);
    btApply->setObjectName(QStringLiteral("btApply"));
    btApply->setToolTip(QStringLiteral("打印参数应用到所有的单据（打印整体偏移,打印方向等）"));
    btApply->setAutoDefault(false);
    auto *btExit = new QPushButton(QStringLiteral("【退出设置】"), this);
    btExit->setObjectName(QStringLiteral("btExit"));
    btExit->setAutoDefault(false);
    auto *lbWeb = new QLabel(QStringLiteral("<a href=\"#\">&gt;&gt;到禾朔网站，查找推荐参数</a>"), this);
    lbWeb->setObjectName(QStringLiteral("lbWeb"));
    lbWeb->setCursor(Qt::PointingHandCursor);

    auto *groups = new QHBoxLayout;
    groups->addWidget(modelGroup);
    groups->addWidget(ownGroup, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lbWeb);
    buttons->addStretch();
    buttons->addWidget(btApply);
    buttons->addWidget(btExit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    resize(720, 400);

    connect(m_cbModels, &QComboBox::textActivated, this, &TfrmPrinterParam::chooseModel);
    connect(btApply, &QPushButton::clicked, this, &TfrmPrinterParam::applyToAllTemplates);
    connect(btExit, &QPushButton::clicked, this, &QDialog::close);
    connect(lbWeb, &QLabel::linkActivated, this, [this] { openVendorPage(m_ctx, recommendationUrl()); });
}

void TfrmPrinterParam::loadModel(const QString &name)
{
    const PrinterModel model = m_catalog.model(name);
    m_edtModelX->setText(model.x);
    m_edtModelY->setText(model.y);
    m_edtModelBoard->setText(model.board);
    m_edtModelDirection->setText(model.direction);
    m_imgModel->setText(QStringLiteral("（没有该型号的图片）"));
    if (!model.image.trimmed().isEmpty()) {
        // Config.ini was written for Windows: backslashes, and the picture
        // folder in any letter case.
        QString relative = model.image.trimmed();
        relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const QString imagePrefix = QStringLiteral("image/");
        const QString path = relative.startsWith(imagePrefix, Qt::CaseInsensitive)
                                 ? m_ctx.dataRoot().imageFolder() + relative.mid(imagePrefix.size())
                                 : m_ctx.getRunPath() + relative;
        const QPixmap picture(path);
        if (!picture.isNull())
            m_imgModel->setPixmap(picture.scaled(m_imgModel->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
}

void TfrmPrinterParam::chooseModel(const QString &name)
{
    loadModel(name);
    const PrinterModel model = m_catalog.model(name);
    m_edtName->setText(m_cbPrinters->currentText());
    m_edtX->setValue(offsetValue(model.x));
    m_edtY->setValue(offsetValue(model.y));
    m_cbDirection->setEditText(model.direction);
    m_edtBoard->setText(model.board);
}

void TfrmPrinterParam::showStoredAdaptation()
{
    const std::optional<PrinterAdaptation> stored = m_catalog.adaptation();
    if (!stored)
        return;
    m_edtName->setText(stored->name);
    m_edtBoard->setText(stored->board);
    if (!stored->x.trimmed().isEmpty())
        m_edtX->setValue(offsetValue(stored->x));
    if (!stored->y.trimmed().isEmpty())
        m_edtY->setValue(offsetValue(stored->y));
    m_cbDirection->setEditText(stored->direction);
}

bool TfrmPrinterParam::applyToAllTemplates()
{
    if (!askYesNo(QStringLiteral("你确认对所有单据应用该设置吗？\n请在打印测试前调整好挡板！-") + m_edtBoard->text(),
                  QStringLiteral("确认"), AlertIcon::Information))
        return false;
    const QString direction = m_cbDirection->currentText().trimmed();
    if (direction.isEmpty()) {
        tell(QStringLiteral("请选择打印方向！"));
        return false;
    }
    const std::optional<int> hv = directionValue(direction);
    if (!hv) {
        tell(QStringLiteral("非法的打印方向参数！"));
        return false;
    }

    QString error;
    const int rows = PrintOffsetStore(m_ctx.db()).applyToAllTemplates(m_edtX->value(), m_edtY->value(), *hv == 1,
                                                                       &error);
    if (rows < 1) {
        tell(QStringLiteral("应用单据失败！！") + (error.isEmpty() ? QString() : QLatin1Char('\n') + error),
             QStringLiteral("提示"), AlertIcon::Error);
    } else {
        tell(QStringLiteral("应用单据成功！"));
    }
    // The adaptation is kept even when no template took it.
    const bool stored = storeAdaptation();
    return rows >= 1 && stored;
}

bool TfrmPrinterParam::storeAdaptation()
{
    PrinterAdaptation adaptation;
    adaptation.name = m_edtName->text().trimmed();
    if (adaptation.name.isEmpty()) {
        tell(QStringLiteral("请输入适配打印机类型名！"));
        m_edtName->setFocus();
        return false;
    }
    adaptation.printerName = m_cbPrinters->currentText();
    if (adaptation.printerName.trimmed().isEmpty()) {
        tell(QStringLiteral("请选择你的票据打印机！"));
        return false;
    }
    adaptation.x = QString::number(m_edtX->value());
    adaptation.y = QString::number(m_edtY->value());
    adaptation.direction = m_cbDirection->currentText().trimmed();
    adaptation.board = m_edtBoard->text();
    if (!m_catalog.storeAdaptation(adaptation)) {
        tell(QStringLiteral("配置保存失败！\n") + m_ctx.config().lastError(), QStringLiteral("错误"), AlertIcon::Error);
        return false;
    }
    setDefaultPrinter(m_ctx, adaptation.printerName);
    tell(QStringLiteral("配置修改成功！"));
    return true;
}

QString TfrmPrinterParam::recommendationUrl() const
{
    QString site = m_ctx.vendorSite().trimmed();
    while (site.endsWith(QLatin1Char('/')))
        site.chop(1);
    auto encoded = [](const QString &text) { return QString::fromLatin1(QUrl::toPercentEncoding(text)); };
    return site + QStringLiteral("/customer/printerpos.asp?Printer=") + encoded(m_cbPrinters->currentText())
           + QStringLiteral("&version=") + encoded(m_ctx.versionText());
}

void TfrmPrinterParam::showEvent(QShowEvent *event)
{
    if (!m_sizeRestored) {
        FormFaceLoad(m_ctx.config(), this);
        m_sizeRestored = true;
    }
    QDialog::showEvent(event);
}

void TfrmPrinterParam::done(int result)
{
    FormFaceSave(m_ctx.config(), this);
    QDialog::done(result);
}

} // namespace billprint

#include "addressbook/ui/tfrm_match_addr.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/database.h"
#include "app/system_settings.h"
#include "addressbook/address_finder.h"
#include "addressbook/address_replacements.h"
#include "addressbook/parsed_party.h"
#include "addressbook/region_check.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTabBar>
#include <QVBoxLayout>

namespace billprint {

namespace {

using F = AddressField;

constexpr int kInputLimit = 1024;
constexpr int kRemarkLimit = 60;
constexpr int kRemarkListLimit = 200;

const QString kSettingRemark = QStringLiteral("ckRemark");
const QString kSettingGoods = QStringLiteral("ckWPNR");
const QString kSettingContain = QStringLiteral("checkContainSS");

struct SourceInfo
{
    AddressSource source;
    QString caption;
    QString explanation;
};

const std::array<SourceInfo, 4> &sources()
{
    static const std::array<SourceInfo, 4> list{{
        {AddressSource::Taobao, QStringLiteral("淘宝收货地址"),
         QStringLiteral("  进入淘宝->已卖出的宝贝->鼠标移动到买主的名字：在提示框中点击【查看收货地址和留言】,"
                        "复制弹出框里面的内容-粘贴过来。识别率并不能保证100%，请稍加核对~")},
        {AddressSource::Eachnet, QStringLiteral("易趣收货地址"),
         QStringLiteral("  暂时不支持特别对待易趣的收货地址，请用其他地址匹配！")},
        {AddressSource::Paipai, QStringLiteral("拍拍收货地址"),
         QStringLiteral("  进入拍拍->已产生的销售->全部卖出的交易->交易详情：复制收货信息，粘贴到上面的输入区")},
        {AddressSource::Other, QStringLiteral("其他地址"),
         QStringLiteral("  通用地址匹配格式~如有不完善请将你的“收货地址”和问题以邮件反馈给禾朔改进。"
                        "由于软件用户量大请尽量减少电话反馈~")},
    }};
    return list;
}

struct FieldInfo
{
    F field;
    QString caption;
};

const std::array<FieldInfo, kAddressFieldCount> &fieldInfos()
{
    static const std::array<FieldInfo, kAddressFieldCount> list{{
        {F::Company, QStringLiteral("单位全称")}, {F::Name, QStringLiteral("联系人")},
        {F::Phone, QStringLiteral("电话")},       {F::Mobile, QStringLiteral("手机")},
        {F::Country, QStringLiteral("国家")},     {F::Province, QStringLiteral("省")},
        {F::City, QStringLiteral("市/县")},       {F::Town, QStringLiteral("镇/区")},
        {F::Address, QStringLiteral("地址")},     {F::Postcode, QStringLiteral("邮编")},
    }};
    return list;
}

QString sampleText(AddressSource source)
{
    switch (source) {
    case AddressSource::Taobao:
        return QStringLiteral("淘宝新格式（商城地址格式、发货管理地址格式也支持哦）:\n\n"
                              "收货地址：张三，86-0571-88886666，13812345678，浙江省 杭州市 西湖区 文三路100号 ，"
                              "（310012）");
    case AddressSource::Paipai:
        return QStringLiteral("李四 广东省 深圳市 南山区 科技园南区18栋 (518057) 13912345678 0755-26661234");
    default:
        return QStringLiteral("公司:杭州青禾贸易有限公司\n姓名:王芳\n电话:0571-86781234\n手机:13812345678\n"
                              "国家:中国\n省:浙江省\n市:杭州市\n地址:上城区解放路138号\n邮编:310009");
    }
}

// The clipboard text without line breaks, as the name box takes it.
QString clipboardLine()
{
    QString text = QApplication::clipboard()->text();
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text.trimmed();
}

} // namespace

TfrmMatchAddr::TfrmMatchAddr(AppContext &context, Mode mode, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_mode(mode)
{
    setObjectName(QStringLiteral("frmMatchAddr"));
    setWindowTitle(QStringLiteral("禾朔软件-收发件人资料识别"));
    auto *columns = new QHBoxLayout;
    auto *left = new QWidget(this);
    auto *right = new QWidget(this);
    columns->addWidget(left, 3);
    columns->addWidget(right, 1);
    auto *main = new QVBoxLayout(this);
    main->addLayout(columns);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    buildInput(left);
    buildFields(left);
    buildRemarks(right);
    buildButtons();
    resize(900, 640);
}

void TfrmMatchAddr::buildInput(QWidget *host)
{
    auto *layout = static_cast<QVBoxLayout *>(host->layout());
    layout->addWidget(new QLabel(QStringLiteral("需要识别的内容（~不规则地址请手工调整后再行识别~）:"), host));
    m_input = new QPlainTextEdit(host);
    m_input->setObjectName(QStringLiteral("edtInput"));
    m_input->viewport()->installEventFilter(this);
    connect(m_input, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = m_input->toPlainText();
        if (text.size() > kInputLimit)
            m_input->setPlainText(text.left(kInputLimit));
    });
    layout->addWidget(m_input, 1);

    auto *sourceRow = new QHBoxLayout;
    for (int i = 0; i < int(sources().size()); ++i) {
        const SourceInfo &info = sources().at(i);
        m_sources[i] = new QRadioButton(info.caption, host);
        connect(m_sources[i], &QRadioButton::clicked, this, [this, info] { sourceClicked(info.source); });
        sourceRow->addWidget(m_sources[i]);
    }
    m_sources[0]->setChecked(true);
    sourceRow->addStretch();
    auto *sample = new QPushButton(QStringLiteral("示例地址格式"), host);
    connect(sample, &QPushButton::clicked, this, &TfrmMatchAddr::btSampleClick);
    m_buttons.insert(sample->text(), sample);
    sourceRow->addWidget(sample);
    layout->addLayout(sourceRow);

    m_explain = new QLabel(sources().at(0).explanation, host);
    m_explain->setWordWrap(true);
    layout->addWidget(m_explain);

    auto *actionRow = new QHBoxLayout;
    for (const QString &caption : {QStringLiteral("1.1 粘贴剪切板并识别"), QStringLiteral("1.2 只识别以上内容>>")}) {
        auto *button = new QPushButton(caption, host);
        m_buttons.insert(caption, button);
        actionRow->addWidget(button);
    }
    connect(m_buttons.value(QStringLiteral("1.1 粘贴剪切板并识别")), &QPushButton::clicked, this,
            &TfrmMatchAddr::btPasteClick);
    connect(m_buttons.value(QStringLiteral("1.2 只识别以上内容>>")), &QPushButton::clicked, this,
            &TfrmMatchAddr::btDoMatchClick);
    actionRow->addStretch();
    layout->addLayout(actionRow);
}

void TfrmMatchAddr::buildFields(QWidget *host)
{
    auto *group = new QGroupBox(QStringLiteral("调整匹配如下:"), host);
    auto *grid = new QGridLayout(group);
    // Two fields a row; the address, usually the longest, has a row of its own.
    int cell = 0;
    for (const FieldInfo &info : fieldInfos()) {
        auto *box = new QComboBox(group);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setObjectName(QStringLiteral("cbField") + QString::number(static_cast<int>(info.field)));
        m_boxes[static_cast<int>(info.field)] = box;
        auto *label = new QLabel(info.caption + QLatin1Char(':'), group);
        if (info.field == F::Address) {
            cell += cell % 2;
            grid->addWidget(label, cell / 2, 0);
            grid->addWidget(box, cell / 2, 1, 1, 3);
            cell += 2;
            continue;
        }
        grid->addWidget(label, cell / 2, (cell % 2) * 2);
        grid->addWidget(box, cell / 2, (cell % 2) * 2 + 1);
        ++cell;
    }
    fieldBox(F::Name)->lineEdit()->installEventFilter(this);
    connect(fieldBox(F::Address)->lineEdit(), &QLineEdit::editingFinished, this, &TfrmMatchAddr::addressEdited);

    m_ckContain = new QCheckBox(QStringLiteral("含省市"), group);
    m_ckContain->setChecked(m_ctx.settings().getConfigByname(kSettingContain) == QLatin1String("checked"));
    connect(m_ckContain, &QCheckBox::clicked, this, &TfrmMatchAddr::containClicked);
    auto *clearCompany = new QPushButton(QStringLiteral("清空单位内容"), group);
    m_buttons.insert(clearCompany->text(), clearCompany);
    connect(clearCompany, &QPushButton::clicked, this, [this] { fieldBox(F::Company)->setEditText(QString()); });
    const int last = (cell + 1) / 2;
    grid->addWidget(m_ckContain, last, 1);
    grid->addWidget(clearCompany, last, 3);

    auto *remarkRow = new QHBoxLayout;
    remarkRow->addWidget(new QLabel(QStringLiteral("附注内容:"), group));
    m_remark = new QLineEdit(group);
    m_remark->setObjectName(QStringLiteral("edtRemark"));
    m_remark->setMaxLength(kRemarkLimit);
    remarkRow->addWidget(m_remark, 1);
    const SystemSettings &settings = m_ctx.settings();
    m_ckRemark = new QCheckBox(QStringLiteral("附注填充备注"), group);
    m_ckGoods = new QCheckBox(QStringLiteral("附注填充物品"), group);
    for (auto [box, name] : {std::pair{m_ckRemark, kSettingRemark}, std::pair{m_ckGoods, kSettingGoods}}) {
        box->setChecked(settings.getConfigByname(name) != QLatin1String("no"));
        connect(box, &QCheckBox::clicked, this, [this, name = name](bool on) {
            m_ctx.settings().setConfigByname(name, on ? QStringLiteral("checked") : QStringLiteral("no"));
        });
        remarkRow->addWidget(box);
    }
    auto *saveRemark = new QPushButton(QStringLiteral("存为附注>>"), group);
    m_buttons.insert(saveRemark->text(), saveRemark);
    connect(saveRemark, &QPushButton::clicked, this, &TfrmMatchAddr::btSaveRemarkClick);
    remarkRow->addWidget(saveRemark);
    grid->addLayout(remarkRow, last + 1, 0, 1, 4);
    static_cast<QVBoxLayout *>(host->layout())->addWidget(group);
}

void TfrmMatchAddr::buildRemarks(QWidget *host)
{
    auto *layout = new QVBoxLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("可用备注或物品:"), host));
    m_tabs = new QTabBar(host);
    for (const QString &tab : {QStringLiteral("字典管理"), QStringLiteral("历史物品"), QStringLiteral("历史备注")})
        m_tabs->addTab(tab);
    layout->addWidget(m_tabs);
    m_list = new QListWidget(host);
    layout->addWidget(m_list, 1);
    connect(m_tabs, &QTabBar::currentChanged, this, &TfrmMatchAddr::showRemarkTab);
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { m_remark->setText(item->text()); });
    showRemarkTab(0);
}

void TfrmMatchAddr::buildButtons()
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    const std::pair<QString, HandOver> handOvers[] = {{QStringLiteral("2.0 粘贴不关闭"), HandOver::Stay},
                                                      {QStringLiteral("2.1 粘贴为发件人"), HandOver::Sender},
                                                      {QStringLiteral("2.2 粘贴为收件人"), HandOver::Receiver}};
    for (const auto &[caption, which] : handOvers) {
        auto *button = new QPushButton(caption, this);
        m_buttons.insert(caption, button);
        connect(button, &QPushButton::clicked, this, [this, which = which] { handOver(which); });
        row->addWidget(button);
    }
    auto *close = new QPushButton(QStringLiteral("关  闭"), this);
    m_buttons.insert(close->text(), close);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(close);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
    if (m_mode == Mode::Waybill)
        m_buttons.value(QStringLiteral("2.0 粘贴不关闭"))->hide();
    else
        m_buttons.value(QStringLiteral("2.1 粘贴为发件人"))->setEnabled(false);
}

QPushButton *TfrmMatchAddr::button(const QString &caption) const
{
    return m_buttons.value(caption);
}

QString TfrmMatchAddr::inputText() const
{
    return m_input->toPlainText();
}

void TfrmMatchAddr::setInputText(const QString &text)
{
    m_input->setPlainText(text);
}

QString TfrmMatchAddr::fieldText(AddressField field) const
{
    return fieldBox(field)->currentText().trimmed();
}

bool TfrmMatchAddr::fillRemark() const
{
    return m_ckRemark->isChecked();
}

bool TfrmMatchAddr::fillGoods() const
{
    return m_ckGoods->isChecked();
}

AddressSource TfrmMatchAddr::source() const
{
    for (int i = 0; i < int(sources().size()); ++i) {
        if (m_sources[i]->isChecked())
            return sources().at(i).source;
    }
    return AddressSource::Taobao;
}

void TfrmMatchAddr::setSource(AddressSource source)
{
    for (int i = 0; i < int(sources().size()); ++i) {
        if (sources().at(i).source == source) {
            m_sources[i]->setChecked(true);
            m_explain->setText(sources().at(i).explanation);
        }
    }
}

// ---- Recognition ---------------------------------------------------------------

void TfrmMatchAddr::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        btPasteClick();
    }
}

void TfrmMatchAddr::btPasteClick()
{
    const QString text = QApplication::clipboard()->text();
    const int length = gbkLength(text);
    if (text.trimmed().isEmpty() || length < 20) {
        // The message stands in the input; recognising it would only
        // turn the message into an address.
        setInputText(QStringLiteral("剪切板中没有复制地址内容~"));
        showFields(AddressParse());
        return;
    }
    if (length > 2048) {
        setInputText(QStringLiteral("剪切板数据过长，禾朔处理不了！"));
        showFields(AddressParse());
        return;
    }
    setInputText(text);
    btDoMatchClick();
}

void TfrmMatchAddr::btDoMatchClick()
{
    const QString normalised = normaliseAddressText(inputText(), readAddressReplacements(m_ctx.db()));
    // The box shows the normalised text without the line breaks that
    // only give the patterns a separator at both ends.
    setInputText(normalised.trimmed());
    if (normalised.trimmed().isEmpty())
        return;
    showFields(recogniseAndCheck(normalised, source(), m_ckContain->isChecked()));
}

void TfrmMatchAddr::showFields(const AddressParse &parse)
{
    for (int i = 0; i < kAddressFieldCount; ++i) {
        QComboBox *box = m_boxes[i];
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(parse.fields[i].candidates);
        box->setEditText(parse.fields[i].text);
    }
    m_typedAddress = parse.typedAddress;
}

void TfrmMatchAddr::sourceClicked(AddressSource source)
{
    setSource(source);
    if (source != AddressSource::Eachnet)
        btDoMatchClick();
}

void TfrmMatchAddr::btSampleClick()
{
    setInputText(sampleText(source()));
    btDoMatchClick();
}

void TfrmMatchAddr::containClicked()
{
    const QString address = m_typedAddress.isEmpty() ? fieldText(F::Address) : m_typedAddress;
    fieldBox(F::Address)->setEditText(applyContainRule(address, fieldText(F::Province), fieldText(F::City),
                                                      fieldText(F::Town), m_ckContain->isChecked()));
}

// Run when the address was edited and left, not on every key: putting the
// region in front while the user types would move the text under the cursor.
void TfrmMatchAddr::addressEdited()
{
    const QString typed = fieldText(F::Address);
    m_typedAddress = applyContainRule(typed, fieldText(F::Province), fieldText(F::City), fieldText(F::Town), false);
    const QString shown = applyContainRule(typed, fieldText(F::Province), fieldText(F::City), fieldText(F::Town),
                                           m_ckContain->isChecked());
    if (shown != typed)
        fieldBox(F::Address)->setEditText(shown);
}

// ---- Name box ------------------------------------------------------------------

bool TfrmMatchAddr::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_input->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        m_input->selectAll();
        return true;
    }
    if (watched == fieldBox(F::Name)->lineEdit()) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
            pasteIntoName();
            return true;
        }
        if (event->type() == QEvent::FocusOut)
            nameLeft();
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmMatchAddr::pasteIntoName()
{
    const QString text = clipboardLine();
    if (text.isEmpty() || gbkLength(text) > 65)
        return;
    fieldBox(F::Name)->lineEdit()->insert(text);
    QApplication::clipboard()->setText(text);
}

// A short clipboard text becomes the name when the box was left empty; a
// name that is there (recognised or typed) is never replaced.
void TfrmMatchAddr::nameLeft()
{
    if (!fieldText(F::Name).isEmpty())
        return;
    const QString text = clipboardLine();
    if (text.isEmpty() || gbkLength(text) > 40)
        return;
    fieldBox(F::Name)->setEditText(text);
    QApplication::clipboard()->setText(text);
}

// ---- Remarks -------------------------------------------------------------------

QStringList TfrmMatchAddr::readRemarkList(int tab) const
{
    static const QString sql[] = {
        QStringLiteral("select distinct DMValue from DMTable where DMName=? or DMName=? or DMName=? limit %1"),
        QStringLiteral("select distinct 物品内容 from dataKDDTable limit %1"),
        QStringLiteral("select distinct 备注 from dataKDDTable limit %1")};
    QSqlQuery q = m_ctx.db().prepare(sql[tab].arg(kRemarkListLimit));
    if (tab == 0) {
        q.addBindValue(QStringLiteral("附注内容"));
        q.addBindValue(QStringLiteral("备注"));
        q.addBindValue(QStringLiteral("物品内容"));
    }
    QStringList values;
    if (q.exec()) {
        while (q.next()) {
            const QString value = q.value(0).toString();
            if (!value.trimmed().isEmpty())
                values << value;
        }
    }
    return values;
}

void TfrmMatchAddr::showRemarkTab(int tab)
{
    if (tab < 0)
        return;
    if (!m_remarkLists.contains(tab))
        m_remarkLists.insert(tab, readRemarkList(tab));
    m_list->clear();
    m_list->addItems(m_remarkLists.value(tab));
}

void TfrmMatchAddr::btSaveRemarkClick()
{
    const QString remark = m_remark->text();
    if (remark.trimmed().isEmpty()) {
        tell(QStringLiteral("未输入附注内容~"));
        m_remark->setFocus();
        return;
    }
    const Database &db = m_ctx.db();
    const QVariant found = db.scalar(
        QStringLiteral("select distinct DMValue from DMTable where CheckTypeID=0 and "
                       "(DMName=? or DMName=? or DMName=?) and DMValue=?"),
        {QStringLiteral("附注内容"), QStringLiteral("备注"), QStringLiteral("物品内容"), remark});
    if (found.isValid()) {
        tell(QLatin1Char('"') + remark + QStringLiteral("\" 已经存在！"), QStringLiteral("提示"));
        return;
    }
    QString error;
    if (!db.exec(QStringLiteral("insert into DMTable (CheckTypeID,DMName,DMValue) values (0,?,?)"),
                 {QStringLiteral("附注内容"), remark}, &error)) {
        tell(QStringLiteral("添加基础资料失败！") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    tell(QStringLiteral("添加基础资料\"附注内容\"成功！"));
    m_remarkLists.remove(0);
    if (m_tabs->currentIndex() == 0)
        showRemarkTab(0);
}

// ---- Hand-over -----------------------------------------------------------------

TPersonKDD TfrmMatchAddr::party() const
{
    AddressParse fields;
    for (int i = 0; i < kAddressFieldCount; ++i)
        fields.fields[i].text = m_boxes[i]->currentText().trimmed();
    return partyFromFields(fields, m_remark->text());
}

bool TfrmMatchAddr::handOver(HandOver which)
{
    if (fieldText(F::Name).isEmpty()) {
        tell(QStringLiteral(":),联系人不能为空，但未能识别出来，请手工调整或输入！"));
        fieldBox(F::Name)->setFocus();
        return false;
    }
    if (!m_receiver || !m_receiver(party(), which))
        return false;
    if (!(which == HandOver::Stay && m_mode == Mode::Batch))
        accept();
    return true;
}

} // namespace billprint

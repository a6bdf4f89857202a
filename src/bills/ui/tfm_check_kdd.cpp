#include "bills/ui/tfm_check_kdd.h"
#include "bills/ui/waybill_address_parser.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/ini_file.h"
#include "app/lookups.h"
#include "templates/check_ini_cache.h"
#include "bills/waybill_rules.h"
#include "bills/ui/form_layout.h"
#include "bills/ui/party_frame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>

namespace billprint {

namespace {

const QString kNotANumber =
    QStringLiteral("请输入有效数字，例如：116.5。 不接受全角数字,请尽量用小键盘输入~");

const QStringList kDateFields{QStringLiteral("zdNian"), QStringLiteral("zdYue"), QStringLiteral("zdRi"),
                              QStringLiteral("zdTime"), QStringLiteral("SelDate")};

// Columns of DataKDDTable and the fields behind them. Fields marked
// `readBack` come back when a stored waybill is opened.
struct Column
{
    const char16_t *column;
    const char16_t *field;
    bool readBack;
};

constexpr Column kColumns[] = {
    {u"寄件单位", u"zdHKR", true},        {u"寄件地址", u"zdHkrDZ", true},     {u"寄件国家", u"edtCountryFrom", false},
    {u"始发站", u"cbFromSite", false},    {u"寄件省", u"zdHKRS", true},        {u"寄件市县", u"zdHKRXS", true},
    {u"寄件镇区", u"edtFJRTown", true},   {u"寄件联系人", u"zdHKRLXR", true},  {u"寄件电话", u"zdhkrDH", true},
    {u"寄方手机", u"hkrHandset", true},   {u"寄方邮编", u"zdHKRYB", true},     {u"寄件时间", u"zdTime", true},
    {u"收件地址", u"zdSkrDZ", true},      {u"目的站", u"cbDestSite", false},   {u"收件国家", u"edtCountryDest", false},
    {u"收件省", u"zdSKRS", true},         {u"收件市县", u"zdSKRXS", true},     {u"收件联系人", u"zdSKRLXR", true},
    {u"收件电话", u"zdskrDH", true},      {u"收方手机", u"skrHandset", true},  {u"收方邮编", u"zdSKRYB", true},
    {u"收件镇区", u"edtSJRTown", true},   {u"物品内容", u"zdWPNR", true},      {u"件数", u"edtAmount", true},
    {u"重量", u"edtWeight", true},        {u"总费用", u"edtMoney", true},      {u"快递帐号", u"zdUserCode", true},
    {u"快递单号", u"zdPJBH", true},       {u"加急费", u"zdJiaJiFee", true},    {u"手续费", u"zdShouxuFee", true},
    {u"代收金额", u"zdDaisJE", true},     {u"包装费", u"zdBaoZFee", false},    {u"运费", u"zdYunFee", true},
    {u"其他费", u"zdQiTaFee", true},      {u"体积", u"zdTiJi", false},         {u"送货费", u"zdSongHFee", true},
    {u"保价金额", u"zdBJJE", true},       {u"保价费", u"zdBJFee", true},       {u"金额大写1", u"zdJEDX1", true},
};

const QString kReceiverColumn = QStringLiteral("收件单位");
const QString kDateColumn = QStringLiteral("寄件日期");

} // namespace

const QStringList &TfmCheckKDD::senderFields()
{
    static const QStringList names{
        QStringLiteral("zdHKR"),      QStringLiteral("zdHKRLXR"),   QStringLiteral("zdHKRS"),
        QStringLiteral("zdHKRXS"),    QStringLiteral("edtFJRTown"), QStringLiteral("zdHkrDZ"),
        QStringLiteral("zdhkrDH"),    QStringLiteral("hkrHandset"), QStringLiteral("edtCountryFrom"),
        QStringLiteral("zdHKRYB"),    QStringLiteral("zdJFKHBM"),   QStringLiteral("cbFromSite"),
        QStringLiteral("zdSign")};
    return names;
}

const QStringList &TfmCheckKDD::receiverFields()
{
    static const QStringList names{
        QStringLiteral("zdSKR"),      QStringLiteral("zdSKRLXR"),   QStringLiteral("zdSKRS"),
        QStringLiteral("zdSKRXS"),    QStringLiteral("edtSJRTown"), QStringLiteral("zdSkrDZ"),
        QStringLiteral("zdskrDH"),    QStringLiteral("skrHandset"), QStringLiteral("edtCountryDest"),
        QStringLiteral("zdSKRYB"),    QStringLiteral("zdSFKHBM"),   QStringLiteral("cbDestSite")};
    return names;
}

TfmCheckKDD::TfmCheckKDD(AppContext &context, const BillWindowHost &host, QWidget *parent)
    : TfmBillBase(context, BillFamilyInfo::waybill(), host, parent)
{
    buildSenderFields();
    buildReceiverFields();
    buildGoodsFields();
    buildOverlays();
    buildOptions();
    addCommand(QStringLiteral("存收件人"), QStringLiteral("保存收件人到地址本（收发件人管理）"),
               [this] { saveReceiver(); }, QStyle::SP_DriveHDIcon);
    addCommand(QStringLiteral("地址串识别(&W)"), QStringLiteral("粘贴识别外部收货地址"),
               [this] { openWaybillAddressParser(*this); }, QStyle::SP_FileDialogInfoView);
    addAddressParserMenu(*this);
    connectRules();
    // Every tick box a waybill template can print exists, so one the
    // template gives no caption prints empty instead of being looked for
    // on every page of a batch.
    for (int i = 0; i <= 12; ++i) {
        auto *box = new QCheckBox(billPanel());
        box->setObjectName(QStringLiteral("defCheck") + QString::number(i));
        box->hide();
        connect(box, &QCheckBox::toggled, this, [this] { MustSavechange(); });
    }
    showReceiverPrompt(true);
    addCommand(QStringLiteral("批量打印"), QStringLiteral("批量打印快递单（收件人列表）"), [this] { openBatchList(); },
               QStyle::SP_FileDialogListView);
    openWindow();
}

namespace {
TfmCheckKDD::BatchListOpener &batchListOpener()
{
    static TfmCheckKDD::BatchListOpener opener;
    return opener;
}
} // namespace

void TfmCheckKDD::setBatchListOpener(BatchListOpener opener)
{
    batchListOpener() = std::move(opener);
}

void TfmCheckKDD::openBatchList()
{
    if (!batchListOpener()) {
        tell(QStringLiteral("该功能将在后续版本提供"), QStringLiteral("提示"));
        return;
    }
    batchListOpener()(*this);
}

TfmCheckKDD::BatchFill::BatchFill(TfmCheckKDD &window)
    : m_window(window),
      m_content(window.billContent()),
      m_typedWords(window.m_typedWords),
      m_shownWords(window.m_shownWords),
      m_title(window.windowTitle()),
      m_serial(window.serial()),
      m_saved(window.isSaved()),
      m_history(window.isHistory()),
      m_copyEnabled(window.command(QStringLiteral("复制(&C)"))->isEnabled())
{
}

TfmCheckKDD::BatchFill::~BatchFill()
{
    TfmCheckKDD &w = m_window;
    const bool loading = w.isLoading();
    w.setLoading(true);  // nothing is looked up for the values put back
    w.restoreBillContent(m_content);
    w.setLoading(loading);
    w.m_typedWords = m_typedWords;
    w.m_shownWords = m_shownWords;
    w.setSerial(m_serial);
    w.setHistory(m_history);
    w.setSaved(m_saved);
    w.setCopyEnabled(m_copyEnabled);
    w.setWindowTitle(m_title);
}

void TfmCheckKDD::buildSenderFields()
{
    addList(QStringLiteral("zdHKR"), QString(), 80);
    addEdit(QStringLiteral("zdHKRLXR"), QStringLiteral("寄方联系人"));
    addEdit(QStringLiteral("zdHKRS"), QStringLiteral("寄方所在省"));
    addEdit(QStringLiteral("zdHKRXS"), QStringLiteral("寄方所在县/市"));
    addEdit(QStringLiteral("edtFJRTown"), QStringLiteral("发件人镇/区"));
    addMemo(QStringLiteral("zdHkrDZ"), QStringLiteral("寄方地址"));
    addEdit(QStringLiteral("zdhkrDH"), QStringLiteral("寄方联系电话"));
    addEdit(QStringLiteral("hkrHandset"), QStringLiteral("寄件方手机"));
    addEdit(QStringLiteral("edtCountryFrom"), QStringLiteral("寄方所在国家"));
    addEdit(QStringLiteral("zdHKRYB"), QStringLiteral("寄方邮编"));
    addList(QStringLiteral("cbFromSite"), QStringLiteral("请在字典管理中修改始发站为您所在地区"));
    addList(QStringLiteral("zdSign"), QStringLiteral("寄件人签名-可在字典管理中修改预选项，设计模式中设置默认值"));
    addEdit(QStringLiteral("zdJFKHBM"), QStringLiteral("寄方客户编号"));
    addFrame(QStringLiteral("shpHKR"), QStringLiteral("点击选取寄件人"), Qt::DotLine);
}

void TfmCheckKDD::buildReceiverFields()
{
    addList(QStringLiteral("zdSKR"), QString(), 80);
    addEdit(QStringLiteral("zdSKRLXR"), QStringLiteral("收方联系人"));
    addEdit(QStringLiteral("zdSKRS"), QStringLiteral("收方所在省"));
    addEdit(QStringLiteral("zdSKRXS"), QStringLiteral("收方所在县/市"));
    addEdit(QStringLiteral("edtSJRTown"), QStringLiteral("收件人镇/区"));
    addMemo(QStringLiteral("zdSkrDZ"), QStringLiteral("收件方地址"));
    addEdit(QStringLiteral("zdskrDH"), QStringLiteral("收方联系电话"));
    addEdit(QStringLiteral("skrHandset"), QStringLiteral("收方手机"));
    addEdit(QStringLiteral("edtCountryDest"), QStringLiteral("收方所在国家"));
    addEdit(QStringLiteral("zdSKRYB"), QStringLiteral("收方邮编"));
    addList(QStringLiteral("cbDestSite"), QStringLiteral("目的站"));
    addEdit(QStringLiteral("zdSFKHBM"), QStringLiteral("收方客户编号"));
    addFrame(QStringLiteral("shpskr"), QStringLiteral("点击选取收件人"), Qt::DashDotLine);
}

void TfmCheckKDD::buildGoodsFields()
{
    addEdit(QStringLiteral("zdTime"), QStringLiteral("寄出时"));
    addEdit(QStringLiteral("zdPJBH"), QStringLiteral("速递单号"));
    addEdit(QStringLiteral("zdUserCode"));
    addMemo(QStringLiteral("zdWPNR"), QStringLiteral("物品内容(鼠标双击下拉选择)"));
    addMemo(QStringLiteral("zdBz"), QStringLiteral("备注说明(鼠标双击下拉选择)"));
    QComboBox *pieces = addList(QStringLiteral("edtAmount"));
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30, 50, 100})
        pieces->addItem(QString::number(n));
    pieces->setEditText(QString());
    addEdit(QStringLiteral("edtWeight"), QStringLiteral("重量"));
    addEdit(QStringLiteral("edtMoney"), QStringLiteral("总费用"));
    const QList<QPair<QString, QString>> fees{
        {QStringLiteral("zdYunFee"), QStringLiteral("运费")},       {QStringLiteral("zdBaoZFee"), QStringLiteral("包装费")},
        {QStringLiteral("zdJiaJiFee"), QStringLiteral("加急费")},   {QStringLiteral("zdSongHFee"), QStringLiteral("送货费")},
        {QStringLiteral("zdQiTaFee"), QStringLiteral("其他费")},    {QStringLiteral("zdShouxuFee"), QStringLiteral("手续费")},
        {QStringLiteral("zdBJJE"), QStringLiteral("保价金额")},     {QStringLiteral("zdBJFee"), QStringLiteral("保价费")},
        {QStringLiteral("zdDaisJE"), QStringLiteral("代收金额")},   {QStringLiteral("zdTiJi"), QStringLiteral("体积")}};
    for (const auto &[name, hint] : fees)
        addEdit(name, hint);
    addEdit(QStringLiteral("zdJEDX1"),
            QStringLiteral("金额大写(只需输入小写),如启用大写，请在设计模式里设定其等宽打印参数"));
    addEdit(QStringLiteral("zdTxt1"), QStringLiteral("固定文字"));
    addEdit(QStringLiteral("zdTxt2"), QStringLiteral("固定文字"));
}

void TfmCheckKDD::buildOverlays()
{
    // Lists laid over a field while it is edited; not print items.
    for (const QString &name : {QStringLiteral("Cb_S"), QStringLiteral("Cb_XS"), QStringLiteral("cbCountry"),
                                QStringLiteral("cb_zdWPNR"), QStringLiteral("cbBZ")}) {
        QComboBox *overlay = addList(name);
        overlay->setProperty("overlay", true);
        overlay->removeEventFilter(this);  // not a field: no list is filled for it on entry
        overlay->installEventFilter(this);
        m_overlayTargets.insert(overlay, nullptr);
        // The province and goods lists write through while the user picks.
        if (name == QLatin1String("Cb_S") || name == QLatin1String("cb_zdWPNR"))
            connect(overlay, &QComboBox::editTextChanged, this, [this, overlay](const QString &text) {
                if (QWidget *target = m_overlayTargets.value(overlay))
                    setTextIfDifferent(target, text);
            });
    }
    if (auto *country = qobject_cast<QComboBox *>(field(QStringLiteral("cbCountry"))))
        country->setEditText(QStringLiteral("中国"));
}

void TfmCheckKDD::buildOptions()
{
    addOption(QStringLiteral("cfgWantPrintRQ"), QStringLiteral("打印日期"), Remember::OnWhenOne,
              QStringLiteral("如果一直不打印日期，可到设计模式中隐藏日期项目"));
    addOption(QStringLiteral("ckPrintFJROnly"), QStringLiteral("仅打印发件人"), Remember::No);
    addOption(QStringLiteral("ckPrintSJROnly"), QStringLiteral("仅打印收件方"), Remember::No,
              QStringLiteral("隐藏发件人信息"));
    addOption(QStringLiteral("ckHandset2Phone"), QStringLiteral("合并手机到电话"), Remember::No,
              QStringLiteral("当手机不可填写时才有效！"));
    addOption(QStringLiteral("cfgDestSiteIsCity"), QStringLiteral("目的站=城市"), Remember::OnWhenOne);
    auto *holder = new QWidget(optionBar());
    auto *row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("金额大写1格式:"), holder));
    m_formats = new QComboBox(holder);
    m_formats->setObjectName(QStringLiteral("cfgJEDXFormat"));
    m_formats->addItems(amountInWordsFormats());
    m_formats->setCurrentText(kPlainFiguresFormat);
    row->addWidget(m_formats);
    addToOptionBar(holder);
}

void TfmCheckKDD::connectRules()
{
    for (const QString &name : {QStringLiteral("cfgWantPrintRQ"), QStringLiteral("ckPrintFJROnly"),
                                QStringLiteral("ckPrintSJROnly")})
        connect(option(name), &QCheckBox::toggled, this, [this] { applyPrintScope(); });
    connect(option(QStringLiteral("ckHandset2Phone")), &QCheckBox::clicked, this, [this] { applyHandsetOption(); });
    connect(option(QStringLiteral("cfgDestSiteIsCity")), &QCheckBox::clicked, this, [this] { receiverCityChanged(); });
    connect(m_formats, &QComboBox::currentTextChanged, this, [this] { applyAmountFormat(); });
    auto *city = qobject_cast<QLineEdit *>(field(QStringLiteral("zdSKRXS")));
    connect(city, &QLineEdit::textChanged, this, [this] { receiverCityChanged(); });
    connect(qobject_cast<QLineEdit *>(field(QStringLiteral("hkrHandset"))), &QLineEdit::textChanged, this,
            [this] { mobileChanged(false); });
    connect(qobject_cast<QLineEdit *>(field(QStringLiteral("skrHandset"))), &QLineEdit::textChanged, this,
            [this] { mobileChanged(true); });
    for (bool receiver : {false, true}) {
        auto *unit = qobject_cast<QComboBox *>(field(receiver ? QStringLiteral("zdSKR") : QStringLiteral("zdHKR")));
        connect(unit, &QComboBox::activated, this, [this, receiver] { unitPicked(receiver); });
        connect(unit->lineEdit(), &QLineEdit::returnPressed, this, [this, receiver] { unitEntered(receiver); });
    }
    // A pick from the address book starts with the place lists closed.
    for (const QString &name : {QStringLiteral("shpHKR"), QStringLiteral("shpskr")})
        connect(qobject_cast<PartyFrame *>(field(name)), &PartyFrame::clicked, this, [this] { closePlaceOverlays(); });
    // Fields that open an overlay or recompute something when entered,
    // left or typed in.
    for (const QString &name :
         {QStringLiteral("zdHKRS"), QStringLiteral("zdSKRS"), QStringLiteral("zdHKRXS"), QStringLiteral("zdSKRXS"),
          QStringLiteral("edtCountryFrom"), QStringLiteral("edtCountryDest"), QStringLiteral("zdhkrDH"),
          QStringLiteral("zdskrDH"), QStringLiteral("zdJEDX1"), QStringLiteral("zdHkrDZ"), QStringLiteral("zdSkrDZ")})
        field(name)->installEventFilter(this);
    for (const QString &name : {QStringLiteral("zdWPNR"), QStringLiteral("zdBz"), QStringLiteral("zdHkrDZ"),
                                QStringLiteral("zdSkrDZ")})
        qobject_cast<QPlainTextEdit *>(field(name))->viewport()->installEventFilter(this);
}

// ---- Template ------------------------------------------------------------------

void TfmCheckKDD::afterLayout()
{
    // Taken from the template each time; "记住选项" does not write it.
    if (QCheckBox *merge = option(QStringLiteral("ckHandset2Phone")))
        merge->setChecked(CheckIniCache::checkConfigFlag(checkIni(), QStringLiteral("ckHandset2Phone"), false));
    const QString stored = CheckIniCache::checkConfig(checkIni(), QStringLiteral("cfgJEDXFormat")).trimmed();
    const int at = stored.isEmpty() ? -1 : m_formats->findText(stored, Qt::MatchStartsWith);
    m_formats->setCurrentIndex(at >= 0 ? at : m_formats->findText(kPlainFiguresFormat));
    for (const QString &name : {QStringLiteral("zdSign"), QStringLiteral("cbFromSite")}) {
        if (auto *list = qobject_cast<QComboBox *>(field(name))) {
            const QSignalBlocker quiet(list);
            const QString text = list->currentText();
            list->clear();
            list->setEditText(text);
        }
        fillListOnEntry(name);
        if (fieldText(name).isEmpty())
            selectFirstWhenEmpty(name);
    }
    applyPrintScope();
    fitAddressFont(QStringLiteral("zdHkrDZ"), 23);
    fitAddressFont(QStringLiteral("zdSkrDZ"), 22);
}

QList<QPair<QString, QString>> TfmCheckKDD::rememberedValues() const
{
    return {{QStringLiteral("cfgJEDXFormat"), m_formats->currentText()}};
}

void TfmCheckKDD::placeOrHide(const QStringList &names, bool hide)
{
    for (const QString &name : names) {
        QWidget *f = field(name);
        if (!f)
            continue;
        if (hide) {
            f->hide();
        } else if (checkIni()) {
            // Back to its place; the value the user typed stays.
            FieldPlacement place = CheckIniCache::readFieldPlacement(*checkIni(), name);
            place.initValue.clear();
            applyFieldPlacement(f, place);
        }
    }
}

void TfmCheckKDD::applyPrintScope()
{
    placeOrHide(kDateFields, !option(QStringLiteral("cfgWantPrintRQ"))->isChecked());
    placeOrHide(receiverFields(), option(QStringLiteral("ckPrintFJROnly"))->isChecked());
    placeOrHide(senderFields(), option(QStringLiteral("ckPrintSJROnly"))->isChecked());
    // The date picker shows only where the template asks for it; the
    // fields zdNian … hold the printed date.
}

void TfmCheckKDD::fitAddressFont(const QString &name, int limit)
{
    auto *memo = qobject_cast<QPlainTextEdit *>(field(name));
    if (!memo)
        return;
    QFont font = memo->font();
    const int size = addressFontSize(memo->document()->blockCount(), memo->height(), limit);
    if (font.pointSize() != size) {
        font.setPointSize(size);
        memo->setFont(font);
    }
}

// ---- Parties -------------------------------------------------------------------

void TfmCheckKDD::setSender(const std::optional<TPerson> &person)
{
    if (!person)
        return;
    keepSender(person);
    setFieldText(QStringLiteral("zdHKR"), person->fullName());
    setFieldText(QStringLiteral("zdHKRLXR"), person->contact());
    setFieldText(QStringLiteral("zdHKRS"), person->province());
    setFieldText(QStringLiteral("zdHKRXS"), person->city());
    setFieldText(QStringLiteral("edtFJRTown"), person->town());
    setFieldText(QStringLiteral("zdHkrDZ"), person->address());
    setFieldText(QStringLiteral("zdhkrDH"), person->phone());
    setFieldText(QStringLiteral("hkrHandset"), person->mobile());
    setFieldText(QStringLiteral("edtCountryFrom"), person->country());
    setFieldText(QStringLiteral("zdHKRYB"), person->postcode());
    MustSavechange();
}

void TfmCheckKDD::setReceiver(const std::optional<TPerson> &person)
{
    if (!person)
        return;
    keepReceiver(person);
    setFieldText(QStringLiteral("zdSKR"), person->fullName());
    setFieldText(QStringLiteral("zdSKRLXR"), person->contact());
    setFieldText(QStringLiteral("zdSKRS"), person->province());
    setFieldText(QStringLiteral("zdSKRXS"), person->city());
    setFieldText(QStringLiteral("edtSJRTown"), person->town());
    setFieldText(QStringLiteral("zdSkrDZ"), person->address());
    setFieldText(QStringLiteral("zdskrDH"), person->phone());
    setFieldText(QStringLiteral("skrHandset"), person->mobile());
    setFieldText(QStringLiteral("edtCountryDest"), person->country());
    setFieldText(QStringLiteral("zdSKRYB"), person->postcode());
    applyHandsetOption();
    MustSavechange();
}

void TfmCheckKDD::showReceiverPrompt(bool show)
{
    // A hint, never a value: it shows only while the field is empty and
    // not being typed into.
    auto *receiver = qobject_cast<QComboBox *>(field(QStringLiteral("zdSKR")));
    if (receiver && receiver->lineEdit())
        receiver->lineEdit()->setPlaceholderText(show ? kReceiverStartText : QString());
}

QString TfmCheckKDD::receiverText() const
{
    const QString text = fieldText(QStringLiteral("zdSKR"));
    return text == kReceiverStartText ? QString() : text;
}

void TfmCheckKDD::unitPicked(bool receiver)
{
    if (isLoading())
        return;
    const QString name = fieldText(receiver ? QStringLiteral("zdSKR") : QStringLiteral("zdHKR")).trimmed();
    const std::optional<TPerson> unit = TPerson::findByName(context().db(), name);
    receiver ? setReceiver(unit) : setSender(unit);
}

void TfmCheckKDD::unitEntered(bool receiver)
{
    if (isLoading())
        return;
    const QString text = fieldText(receiver ? QStringLiteral("zdSKR") : QStringLiteral("zdHKR")).trimmed();
    if (text.isEmpty())
        return;
    std::optional<TPerson> unit = TPerson::findByName(context().db(), text);
    if (!unit)
        unit = TPerson::findByInputCode(context().db(), text);
    receiver ? setReceiver(unit) : setSender(unit);
}

void TfmCheckKDD::saveReceiver()
{
    TPerson party;
    party.setFullName(receiverText());
    party.setContact(fieldText(QStringLiteral("zdSKRLXR")));
    party.setProvince(fieldText(QStringLiteral("zdSKRS")));
    party.setCity(fieldText(QStringLiteral("zdSKRXS")));
    party.setTown(fieldText(QStringLiteral("edtSJRTown")));
    party.setAddress(fieldText(QStringLiteral("zdSkrDZ")));
    party.setPostcode(fieldText(QStringLiteral("zdSKRYB")));
    party.setPhone(fieldText(QStringLiteral("zdskrDH")));
    party.setMobile(fieldText(QStringLiteral("skrHandset")));
    party.setCountry(fieldText(QStringLiteral("edtCountryDest")));
    party.setUnitKind(UnitKind::Counterparty);
    host().savePerson(party, this);
}

void TfmCheckKDD::fillListOnEntry(const QString &name)
{
    auto *list = qobject_cast<QComboBox *>(field(name));
    const QString key = name.toUpper();
    if (!list || list->count() > 0) {
        if (list && (key == QLatin1String("ZDSIGN") || key == QLatin1String("CBFROMSITE")))
            selectFirstWhenEmpty(name);
        if (!list || (key != QLatin1String("ZDHKR") && key != QLatin1String("ZDSKR")))
            return;
    }
    const Lookups lookups(context().db());
    const QString ids = QStringLiteral("0,") + QString::number(checkTypeId());
    QStringList items;
    if (key == QLatin1String("ZDSIGN"))
        items = lookups.loadDMListByName(QStringLiteral("发件人签名"), ids);
    else if (key == QLatin1String("CBFROMSITE"))
        items = lookups.loadDMListByName(QStringLiteral("始发站"), ids);
    else if (key == QLatin1String("ZDHKR") || key == QLatin1String("ZDSKR")) {
        if (list->property("filled").toBool())
            return;
        list->setProperty("filled", true);
        items = lookups.loadCompanyList(key == QLatin1String("ZDSKR") ? UnitKind::Counterparty : UnitKind::Own);
    } else {
        TfmBillBase::fillListOnEntry(name);
        return;
    }
    {
        const QSignalBlocker quiet(list);
        const QString text = list->currentText();
        list->addItems(items);
        list->setEditText(text);
    }
    if (key == QLatin1String("ZDSIGN") || key == QLatin1String("CBFROMSITE"))
        selectFirstWhenEmpty(name);
}

void TfmCheckKDD::selectFirstWhenEmpty(const QString &name)
{
    auto *list = qobject_cast<QComboBox *>(field(name));
    if (list && list->count() > 0 && list->currentText().isEmpty())
        list->setCurrentIndex(0);
}

// ---- Telephone, mobile, station ------------------------------------------------

void TfmCheckKDD::mobileChanged(bool receiver)
{
    const QString mobileName = receiver ? QStringLiteral("skrHandset") : QStringLiteral("hkrHandset");
    if (!isFieldShown(mobileName))
        phoneEntered(receiver);
}

void TfmCheckKDD::phoneEntered(bool receiver)
{
    const QString phone = receiver ? QStringLiteral("zdskrDH") : QStringLiteral("zdhkrDH");
    const QString mobile = receiver ? QStringLiteral("skrHandset") : QStringLiteral("hkrHandset");
    if (fieldText(phone).isEmpty() && !isFieldShown(mobile))
        setFieldText(phone, fieldText(mobile));
}

void TfmCheckKDD::applyHandsetOption()
{
    const QString phone = fieldText(QStringLiteral("zdskrDH"));
    const QString mobile = fieldText(QStringLiteral("skrHandset"));
    setFieldText(QStringLiteral("zdskrDH"), option(QStringLiteral("ckHandset2Phone"))->isChecked()
                                                ? mergeMobileIntoPhone(phone, mobile)
                                                : removeMobileFromPhone(phone, mobile));
}

void TfmCheckKDD::receiverCityChanged()
{
    if (!option(QStringLiteral("cfgDestSiteIsCity"))->isChecked())
        return;
    const QString city = fieldText(QStringLiteral("zdSKRXS"));
    if (!city.isEmpty() && fieldText(QStringLiteral("cbDestSite")) != city)
        setFieldText(QStringLiteral("cbDestSite"), city);
}

// ---- Amount in words ---------------------------------------------------------

QString TfmCheckKDD::amountFormat() const
{
    return m_formats->currentText();
}

bool TfmCheckKDD::amountInWordsLeft()
{
    const QString shown = fieldText(QStringLiteral("zdJEDX1"));
    // Entering the field showed the typed figures (m_shownWords is empty
    // then): what it holds now is what the user typed, even when emptied.
    if (shown != m_shownWords || m_shownWords.isEmpty())
        m_typedWords = shown;
    return applyAmountFormat();
}

bool TfmCheckKDD::applyAmountFormat()
{
    // A stored text whose figures could not be told: the new format may
    // tell them; if not, it stays as it was saved.
    if (m_typedWords.isEmpty() && !m_shownWords.isEmpty() && fieldText(QStringLiteral("zdJEDX1")) == m_shownWords) {
        m_typedWords = figuresOfAmountInWords(amountFormat(), m_shownWords);
        if (m_typedWords.isEmpty())
            return true;
    }
    const AmountInWords words = amountInWords(amountFormat(), m_typedWords);
    if (words.notANumber) {
        m_shownWords = m_typedWords;
        tell(kNotANumber, QStringLiteral("提示"), AlertIcon::Warning);
        return false;
    }
    setFieldText(QStringLiteral("zdJEDX1"), words.text);
    m_shownWords = words.text;
    return true;
}

bool TfmCheckKDD::commitTypedInput()
{
    // A toolbar button takes no focus: what is still typed in the amount
    // in words is written out before the bill is printed or saved.
    if (fieldText(QStringLiteral("zdJEDX1")) != m_shownWords && !amountInWordsLeft())
        return false;
    return TfmBillBase::commitTypedInput();
}

void TfmCheckKDD::tidyBeforePrint()
{
    if (fieldText(QStringLiteral("zdSKR")) == kReceiverStartText)
        setFieldText(QStringLiteral("zdSKR"), QString());
    if (option(QStringLiteral("ckHandset2Phone"))->isChecked())
        applyHandsetOption();
}

// ---- Overlays ------------------------------------------------------------------

void TfmCheckKDD::openOverlay(QComboBox *overlay, QWidget *target)
{
    m_overlayTargets[overlay] = target;
    overlay->setGeometry(target->geometry());
    fillOverlay(overlay, target);
    {
        const QSignalBlocker quiet(overlay);
        overlay->setEditText(FormControls::text(target));
    }
    overlay->show();
    overlay->raise();
    overlay->setFocus(Qt::OtherFocusReason);
}

void TfmCheckKDD::fillOverlay(QComboBox *overlay, QWidget *target)
{
    const Lookups lookups(context().db());
    const QString name = overlay->objectName();
    QStringList items;
    if (name == QLatin1String("Cb_S")) {
        if (overlay->count() > 0)
            return;
        items = lookups.loadProvinces();
    } else if (name == QLatin1String("Cb_XS")) {
        const bool receiver = target == field(QStringLiteral("zdSKRXS"));
        const QString province = fieldText(receiver ? QStringLiteral("zdSKRS") : QStringLiteral("zdHKRS"));
        if (province.isEmpty())
            return;
        overlay->clear();
        items = lookups.loadCitysByProvince(province);
    } else if (name == QLatin1String("cb_zdWPNR")) {
        if (overlay->count() > 0)
            return;
        items = lookups.loadDMListByName(QStringLiteral("物品内容"), QStringLiteral("0,") + QString::number(checkTypeId()));
    } else if (name == QLatin1String("cbBZ")) {
        if (overlay->count() > 0)
            return;
        items = lookups.loadDMListByName(QStringLiteral("备注"), QString::number(checkTypeId()) + QStringLiteral(",0"));
    }
    const QSignalBlocker quiet(overlay);
    overlay->addItems(items);
}

void TfmCheckKDD::closeOverlay(QComboBox *overlay)
{
    if (QWidget *target = m_overlayTargets.value(overlay))
        setTextIfDifferent(target, overlay->currentText());
    m_overlayTargets[overlay] = nullptr;
    overlay->hide();
}

void TfmCheckKDD::closePlaceOverlays()
{
    for (const QString &name : {QStringLiteral("Cb_S"), QStringLiteral("Cb_XS"), QStringLiteral("cbCountry")})
        if (auto *overlay = qobject_cast<QComboBox *>(field(name)); overlay && overlay->isVisible())
            closeOverlay(overlay);
}

bool TfmCheckKDD::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (auto *overlay = qobject_cast<QComboBox *>(watched); overlay && m_overlayTargets.contains(overlay)) {
        if (type == QEvent::FocusOut && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            closeOverlay(overlay);
        return false;
    }
    auto *widget = qobject_cast<QWidget *>(watched);
    QWidget *owner = widget && qobject_cast<QPlainTextEdit *>(widget->parentWidget()) ? widget->parentWidget() : widget;
    const QString name = owner ? owner->objectName() : QString();
    auto overlayNamed = [this](const QString &n) { return qobject_cast<QComboBox *>(field(n)); };
    if (type == QEvent::FocusIn) {
        if (name == QLatin1String("zdHKRS") || name == QLatin1String("zdSKRS"))
            openOverlay(overlayNamed(QStringLiteral("Cb_S")), owner);
        else if (name == QLatin1String("zdHKRXS") || name == QLatin1String("zdSKRXS"))
            openOverlay(overlayNamed(QStringLiteral("Cb_XS")), owner);
        else if (name == QLatin1String("edtCountryFrom") || name == QLatin1String("edtCountryDest"))
            openOverlay(overlayNamed(QStringLiteral("cbCountry")), owner);
        else if (name == QLatin1String("zdhkrDH") || name == QLatin1String("zdskrDH"))
            phoneEntered(name == QLatin1String("zdskrDH"));
        else if (name == QLatin1String("zdSKR"))
            showReceiverPrompt(false);
        else if (name == QLatin1String("zdJEDX1") && !m_typedWords.isEmpty()
                 && fieldText(name) == m_shownWords) {
            auto *edit = static_cast<QLineEdit *>(owner);
            setTextIfDifferent(edit, m_typedWords);
            m_shownWords.clear();
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        }
    } else if (type == QEvent::FocusOut && name == QLatin1String("zdJEDX1")
               && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
        amountInWordsLeft();
    } else if (type == QEvent::FocusOut && name == QLatin1String("zdSKR")) {
        showReceiverPrompt(true);
    } else if (type == QEvent::MouseButtonDblClick) {
        if (name == QLatin1String("zdWPNR") || name == QLatin1String("zdBz")) {
            openOverlay(overlayNamed(name == QLatin1String("zdBz") ? QStringLiteral("cbBZ") : QStringLiteral("cb_zdWPNR")),
                        owner);
            return true;
        }
        if (name == QLatin1String("zdHkrDZ") || name == QLatin1String("zdSkrDZ")) {
            static_cast<QPlainTextEdit *>(owner)->selectAll();
            return true;
        }
    } else if (type == QEvent::KeyRelease && (name == QLatin1String("zdHkrDZ") || name == QLatin1String("zdSkrDZ"))) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Backspace || key == Qt::Key_Delete)
            fitAddressFont(name, 23);
    }
    return TfmBillBase::eventFilter(watched, event);
}

// ---- Storing ---------------------------------------------------------------------

void TfmCheckKDD::writeColumns(BillRecord &record) const
{
    for (const Column &c : kColumns)
        record.set(QString::fromUtf16(c.column), fieldText(QString::fromUtf16(c.field)));
    record.set(kReceiverColumn, receiverText());
    record.set(kDateColumn, billDate());
}

void TfmCheckKDD::readColumns(const BillRecord &record)
{
    for (const Column &c : kColumns)
        if (c.readBack)
            setFieldText(QString::fromUtf16(c.field), record.text(QString::fromUtf16(c.column)));
    setFieldText(QStringLiteral("zdSKR"), record.text(kReceiverColumn));
    // The row keeps the amount in words as it was shown; the figures typed
    // for it are what entering the field shows and what a format change
    // writes anew.
    m_shownWords = fieldText(QStringLiteral("zdJEDX1"));
    m_typedWords = figuresOfAmountInWords(amountFormat(), m_shownWords);
    const QDate date = record.date(kDateColumn);
    if (date.isValid())
        setBillDate(date);
}

bool TfmCheckKDD::worthAsking() const
{
    // Whatever was typed, picked or taken from a parsed address is the
    // user's: a receiver without a unit name is a waybill too.
    return changedSinceClean();
}

// ---- Commands --------------------------------------------------------------------

void TfmCheckKDD::newBill()
{
    setSerial(-1);
    for (const QString &name : receiverFields())
        setFieldText(name, QString());
    for (const QString &name : {QStringLiteral("zdPJBH"), QStringLiteral("zdWPNR"), QStringLiteral("edtAmount"),
                                QStringLiteral("edtWeight"), QStringLiteral("edtMoney"), QStringLiteral("zdBz")})
        setFieldText(name, QString());
    MustSavechange();
    setHistory(false);
    updateCaption(QStringLiteral("新建"));
    setBillDate(QDate::currentDate());
    setCopyEnabled(false);
    markClean();
}

void TfmCheckKDD::copyBill()
{
    if (serial() == -1) {
        tell(QStringLiteral("未保存单据不需要复制即为一张新单！"), QStringLiteral("提示"));
        return;
    }
    if (!commitTypedInput())
        return;
    setHistory(false);
    MustSavechange();
    setSerial(-1);
    updateCaption();
    if (announces() && !windowTitle().contains(QStringLiteral("复制")))
        tell(QStringLiteral("已复制保存过的单据为一张新单~"), QStringLiteral("提示"));
}

void TfmCheckKDD::updateCaption(const QString &tag)
{
    const QString id = QString::number(serial());
    if (tag == QStringLiteral("历史"))
        setWindowTitle(QStringLiteral("历史快递单查看（流水号为：") + id + QStringLiteral(")"));
    else if (tag == QStringLiteral("新建"))
        setWindowTitle(QStringLiteral("新快递单-ID=") + id);
    else
        setWindowTitle(QStringLiteral("快递单-") + templateListText() + QStringLiteral(" ID=") + id);
}

} // namespace billprint

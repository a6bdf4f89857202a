#include "addressbook/ui/tfrm_person_info.h"
#include "app/ui/dialog_buttons.h"

#include "addressbook/ui/address_book_host.h"
#include "addressbook/ui/field_navigator.h"
#include "app/alert.h"
#include "app/app_context.h"
#include "app/chinese_text.h"
#include "app/lookups.h"
#include "app/ui/window_state.h"
#include "app/ui/gbk_length_validator.h"

#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>

namespace billprint {

namespace {

const QString kCountryDefault = QStringLiteral("中国");
const QString kTownHint = QStringLiteral("请直接输入");

enum class FieldKind { Line, List, Memo };

struct FieldLayout
{
    const char *column;
    const char *label;
    int maxBytes;
    FieldKind kind;
    const char *note;
};

// Every text field with the longest text its column takes (GBK bytes).
const std::vector<FieldLayout> &fieldLayouts()
{
    static const std::vector<FieldLayout> specs = {
        {"全称", "*单位全称：", 80, FieldKind::Line, ""},
        {"助记码", "输入助记码：", 24, FieldKind::Line, ""},
        {"识别号", "识别号：", 32, FieldKind::Line, "（企业纳税识别号或者个人身份证号）"},
        {"开户银行", "开户银行：", 80, FieldKind::Line, ""},
        {"开户行账号", "开户行账号：", 32, FieldKind::Line, ""},
        {"开户行地址", "开户行地址：", 80, FieldKind::Line, ""},
        {"开户行行号", "银行行号：", 24, FieldKind::Line, "(可不填写)"},
        {"分组", "单位分组：", 32, FieldKind::List, "(可直接输入新分组名)"},
        {"国家", "国家：", 24, FieldKind::List, ""},
        {"省", "省：", 32, FieldKind::List, ""},
        {"市", "市县：", 32, FieldKind::List, ""},
        {"镇区", "镇区：", 32, FieldKind::List, ""},
        {"地址", "单位地址：", 160, FieldKind::Memo, "(建议包含镇区)"},
        {"邮编", "邮编：", 32, FieldKind::Line, ""},
        {"联系人", "*联系人：", 48, FieldKind::Line, ""},
        {"电话", "电话：", 32, FieldKind::Line, ""},
        {"手机", "手机：", 32, FieldKind::Line, ""},
        {"扩展信息", "其他备注：", 128, FieldKind::Line, ""},
        {"自定义1", "自定义1：", 64, FieldKind::Line, ""},
        {"自定义2", "自定义2：", 64, FieldKind::Line, ""},
        {"自定义3", "自定义3：", 64, FieldKind::Line, ""},
    };
    return specs;
}

const FieldLayout &layoutOf(const QString &column)
{
    for (const FieldLayout &layout : fieldLayouts())
        if (column == QString::fromUtf8(layout.column))
            return layout;
    Q_UNREACHABLE();
}

// The longest start of `text` that fits into `maxBytes` GBK bytes.
QString cutToWidth(const QString &text, int maxBytes)
{
    qsizetype width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype step = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        width += gbkWidth(QStringView(text).mid(i, step));
        if (width > maxBytes)
            return text.left(i);
        i += step - 1;
    }
    return text;
}

QString textOf(const QWidget *widget)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(widget))
        return edit->text();
    if (auto *combo = qobject_cast<const QComboBox *>(widget))
        return combo->currentText();
    if (auto *memo = qobject_cast<const QPlainTextEdit *>(widget))
        return memo->toPlainText();
    return QString();
}

void setTextOf(QWidget *widget, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        edit->setText(text);
    else if (auto *combo = qobject_cast<QComboBox *>(widget))
        combo->setEditText(text);
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(widget)) {
        // The length limit is for typing; a stored text shows whole.
        const QSignalBlocker quiet(memo);
        memo->setPlainText(text);
    }
}

// Replaces a list's entries and keeps what is typed in its box.
void setListItems(QComboBox *box, const QStringList &items)
{
    const QString typed = box->currentText();
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItems(items);
    box->setEditText(typed);
    // The drop-down shows every entry whole ("新疆维吾尔自治区", a long
    // group name), even where the box itself is narrower.
    QAbstractItemView *list = box->view();
    list->setMinimumWidth(list->sizeHintForColumn(0) + list->verticalScrollBar()->sizeHint().width()
                          + 2 * list->frameWidth());
}

QLabel *noteLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: #707070;"));
    return label;
}

// The fields that bills fill in and that a bill's party brings along.
const QStringList &billColumns()
{
    static const QStringList columns = {
        QStringLiteral("全称"),     QStringLiteral("国家"),     QStringLiteral("手机"),
        QStringLiteral("联系人"),   QStringLiteral("地址"),     QStringLiteral("电话"),
        QStringLiteral("省"),       QStringLiteral("市"),       QStringLiteral("镇区"),
        QStringLiteral("邮编"),     QStringLiteral("开户银行"), QStringLiteral("开户行账号"),
        QStringLiteral("开户行地址"), QStringLiteral("开户行行号"), QStringLiteral("自定义1"),
        QStringLiteral("自定义2"),  QStringLiteral("自定义3"),
    };
    return columns;
}

} // namespace

Tfrm_PersonInfo::Tfrm_PersonInfo(AppContext &context, QWidget *parent) : QDialog(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("frm_PersonInfo"));
    setWindowTitle(QStringLiteral("单位详细资料"));
    setModal(true);
    buildFields();
    buildLayout();
    buildNavigation();
    clearFields();
    setListItems(qobject_cast<QComboBox *>(field(QStringLiteral("分组"))),
                 Lookups(m_ctx.db()).loadPersonTableGroupList() << kDefaultDrawerGroup);
    resize(860, 560);
    markUnchanged();
}

void Tfrm_PersonInfo::buildFields()
{
    for (const FieldLayout &layout : fieldLayouts()) {
        const QString column = QString::fromUtf8(layout.column);
        QWidget *widget = nullptr;
        switch (layout.kind) {
        case FieldKind::Line: {
            auto *edit = new QLineEdit(this);
            edit->setValidator(new GbkLengthValidator(layout.maxBytes, edit));
            widget = edit;
            break;
        }
        case FieldKind::List: {
            auto *box = new QComboBox(this);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            box->setValidator(new GbkLengthValidator(layout.maxBytes, box));
            box->installEventFilter(this);
            widget = box;
            break;
        }
        case FieldKind::Memo: {
            auto *memo = new QPlainTextEdit(this);
            memo->setTabChangesFocus(true);
            memo->setFixedHeight(memo->fontMetrics().lineSpacing() * 3 + 12);
            // A memo takes no validator: text beyond the column's width is
            // cut off as it arrives, like a typed-in limit.
            connect(memo, &QPlainTextEdit::textChanged, memo, [memo, max = layout.maxBytes] {
                const QString text = memo->toPlainText();
                if (gbkWidth(text) <= max)
                    return;
                const QSignalBlocker quiet(memo);
                memo->setPlainText(cutToWidth(text, max));
                memo->moveCursor(QTextCursor::End);
            });
            widget = memo;
            break;
        }
        }
        widget->setObjectName(QStringLiteral("edt") + column);
        m_fields.insert(column, widget);
    }
    auto *town = qobject_cast<QComboBox *>(field(QStringLiteral("镇区")));
    town->addItem(kTownHint);
    connect(qobject_cast<QComboBox *>(field(QStringLiteral("省"))), &QComboBox::editTextChanged, this,
            &Tfrm_PersonInfo::refillCities);
    connect(qobject_cast<QComboBox *>(field(QStringLiteral("国家"))), &QComboBox::editTextChanged, this,
            &Tfrm_PersonInfo::refillCities);

    m_cbKind = new QComboBox(this);
    m_cbKind->setObjectName(QStringLiteral("cbUnitKind"));
    m_cbKind->addItems({UnitKind::Own, UnitKind::Counterparty});
    m_cbKind->setCurrentText(UnitKind::Counterparty);
}

void Tfrm_PersonInfo::buildLayout()
{
    auto addRow = [this](QGridLayout *grid, const QString &column) {
        const FieldLayout &layout = layoutOf(column);
        const int row = grid->rowCount();
        auto *label = new QLabel(QString::fromUtf8(layout.label), this);
        if (column == QStringLiteral("助记码"))
            m_lbInputCode = label;
        grid->addWidget(label, row, 0, layout.kind == FieldKind::Memo ? Qt::AlignTop | Qt::AlignRight : Qt::AlignRight);
        grid->addWidget(field(column), row, 1);
        const QString note = QString::fromUtf8(layout.note);
        if (note.isEmpty())
            return;
        // Long notes go under their field, short ones beside it.
        if (note.size() > 8)
            grid->addWidget(noteLabel(note, this), row + 1, 1);
        else
            grid->addWidget(noteLabel(note, this), row, 2);
    };

    auto *unitBox = new QGroupBox(QStringLiteral("单位及银行账户"), this);
    auto *unitGrid = new QGridLayout(unitBox);
    for (const char *column : {"全称", "助记码", "识别号", "开户银行", "开户行账号", "开户行地址", "开户行行号"})
        addRow(unitGrid, QString::fromUtf8(column));
    const int kindRow = unitGrid->rowCount();
    unitGrid->addWidget(new QLabel(QStringLiteral("单位类型："), this), kindRow, 0, Qt::AlignRight);
    unitGrid->addWidget(m_cbKind, kindRow, 1);
    addRow(unitGrid, QStringLiteral("分组"));
    unitGrid->setColumnStretch(1, 1);
    unitGrid->setRowStretch(unitGrid->rowCount(), 1);

    auto *placeBox = new QGroupBox(QStringLiteral("地址及联系人"), this);
    auto *placeGrid = new QGridLayout(placeBox);
    for (const char *column : {"国家", "省", "市", "镇区", "地址", "邮编", "联系人", "电话", "手机"})
        addRow(placeGrid, QString::fromUtf8(column));
    placeGrid->setColumnStretch(1, 1);
    placeGrid->setRowStretch(placeGrid->rowCount(), 1);

    auto *otherBox = new QGroupBox(QStringLiteral("其他"), this);
    auto *otherGrid = new QGridLayout(otherBox);
    otherGrid->addWidget(new QLabel(QString::fromUtf8(layoutOf(QStringLiteral("扩展信息")).label), this), 0, 0,
                         Qt::AlignRight);
    otherGrid->addWidget(field(QStringLiteral("扩展信息")), 0, 1, 1, 5);
    m_lbOverseas = noteLabel(QStringLiteral("自定义1:代理行账号           自定义2:代理银行              自定义3:代理行地址"),
                             this);
    m_lbOverseas->setObjectName(QStringLiteral("lbOverseas"));
    otherGrid->addWidget(m_lbOverseas, 1, 1, 1, 5);
    for (int i = 0; i < 3; ++i) {
        const QString column = QStringLiteral("自定义%1").arg(i + 1);
        otherGrid->addWidget(new QLabel(QString::fromUtf8(layoutOf(column).label), this), 2, 2 * i, Qt::AlignRight);
        otherGrid->addWidget(field(column), 2, 2 * i + 1);
        otherGrid->setColumnStretch(2 * i + 1, 1);
    }

    auto button = [this](const QString &name, const QString &text) { return namedButton(this, name, text); };
    m_btSave = button(QStringLiteral("btSave"), QStringLiteral("保  存(&S)"));
    m_btSaveClose = button(QStringLiteral("btSaveClose"), QStringLiteral("保存并关闭(&M)"));
    m_btReset = button(QStringLiteral("btReset"), QStringLiteral("重 填 (&N)"));
    m_btMulti = button(QStringLiteral("btMulti"), QStringLiteral("多头单位(&C)"));
    m_btMulti->setToolTip(QStringLiteral("副本保存需修改银行账号"));
    m_btClose = button(QStringLiteral("btClose"), QStringLiteral("关  闭(&X)"));
    m_ckNext = new QCheckBox(QStringLiteral("单位保存后立即添加下一条"), this);
    m_ckNext->setObjectName(QStringLiteral("ckNext"));
    m_lbId = noteLabel(QString(), this);
    m_lbId->setObjectName(QStringLiteral("lbId"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_lbId);
    buttons->addWidget(m_ckNext);
    buttons->addStretch();
    for (QPushButton *b : {m_btSave, m_btSaveClose, m_btReset, m_btMulti, m_btClose})
        buttons->addWidget(b);

    auto *status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    auto *note = new QLabel(statusNote(), status);
    note->setObjectName(QStringLiteral("lbStatus"));
    status->addWidget(note, 1);

    auto *columns = new QHBoxLayout;
    columns->addWidget(unitBox, 1);
    columns->addWidget(placeBox, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(otherBox);
    layout->addLayout(buttons);
    layout->addWidget(status);

    m_lbInputCode->setCursor(Qt::WhatsThisCursor);
    m_lbInputCode->setToolTip(QStringLiteral("点击查看助记码的用法"));
    m_lbInputCode->installEventFilter(this);

    connect(m_btSave, &QPushButton::clicked, this, &Tfrm_PersonInfo::btSaveClick);
    connect(m_btSaveClose, &QPushButton::clicked, this, &Tfrm_PersonInfo::btSaveCloseClick);
    connect(m_btReset, &QPushButton::clicked, this, &Tfrm_PersonInfo::btResetClick);
    connect(m_btMulti, &QPushButton::clicked, this, &Tfrm_PersonInfo::btMultiClick);
    connect(m_btClose, &QPushButton::clicked, this, &QDialog::close);
}

void Tfrm_PersonInfo::buildNavigation()
{
    m_navigator = new FieldNavigator(this);
    auto enter = [this](const char *from, QWidget *to) { m_navigator->onEnter(field(QString::fromUtf8(from)), to); };
    auto f = [this](const char *column) { return field(QString::fromUtf8(column)); };
    enter("全称", f("助记码"));
    enter("助记码", f("开户银行"));
    enter("识别号", f("开户银行"));
    for (const char *column : {"开户银行", "开户行账号", "开户行地址", "扩展信息"})
        enter(column, f("省"));
    enter("开户行行号", m_cbKind);
    m_navigator->onAnyKey(m_cbKind, f("分组"));
    enter("分组", m_btSave);
    enter("国家", f("省"));
    enter("省", f("市"));
    enter("市", f("镇区"));
    enter("镇区", f("地址"));
    enter("地址", f("邮编"));
    enter("邮编", f("联系人"));
    enter("联系人", f("电话"));
    enter("电话", f("手机"));
    for (QWidget *widget : std::as_const(m_fields))
        m_navigator->selectOnEntry(widget);
}

QString Tfrm_PersonInfo::inputCodeHelp()
{
    return QStringLiteral(
        "助记码可不填写，用于票据上快速输入单位。\n\n"
        "在票据的单位栏中输入助记码后按回车键，即调出助记码与之相同的第一个单位；\n"
        "助记码以\"%\"或\"*\"结尾时（如 gd%），调出助记码中包含前面部分（gd）的第一个单位。");
}

QString Tfrm_PersonInfo::statusNote()
{
    return QStringLiteral("注意:带*必填. 对于一个单位多个收件人情况，修改时点击[多头单位]按钮，保存后即新增一个多头单位。");
}

QWidget *Tfrm_PersonInfo::field(const QString &column) const
{
    return m_fields.value(column, nullptr);
}

QString Tfrm_PersonInfo::fieldText(const QString &column) const
{
    return textOf(field(column));
}

void Tfrm_PersonInfo::setFieldText(const QString &column, const QString &text)
{
    if (QWidget *widget = field(column))
        setTextOf(widget, text);
}

void Tfrm_PersonInfo::setPersonId(int id)
{
    m_id = id > 0 ? id : 0;
    m_lbId->setText(m_id > 0 ? QStringLiteral("编号：%1").arg(m_id) : QStringLiteral("编号：（新单位）"));
}

QString Tfrm_PersonInfo::idText() const
{
    return m_id > 0 ? QString::number(m_id) : QString();
}

void Tfrm_PersonInfo::setUnitKind(const QString &kind)
{
    m_cbKind->setCurrentText(kind == UnitKind::Own ? UnitKind::Own : UnitKind::Counterparty);
}

QString Tfrm_PersonInfo::unitKind() const
{
    return m_cbKind->currentText() == UnitKind::Own ? UnitKind::Own : UnitKind::Counterparty;
}

TPerson Tfrm_PersonInfo::person() const
{
    TPerson p;
    p.setId(m_id);
    p.setRowVersion(m_rowVersion);
    for (const FieldLayout &layout : fieldLayouts()) {
        const QString column = QString::fromUtf8(layout.column);
        p.setText(column, fieldText(column));
    }
    // Codes, banks and accounts are looked up by bills: stray blanks would
    // hide them.
    p.setInputCode(p.inputCode().trimmed());
    p.setBank(p.bank().trimmed());
    p.setAccount(p.account().trimmed());
    p.setUnitKind(unitKind());
    return p;
}

void Tfrm_PersonInfo::setPerson(const TPerson &person)
{
    // The province refills the city list, so the city comes after it.
    for (const FieldLayout &layout : fieldLayouts()) {
        const QString column = QString::fromUtf8(layout.column);
        if (column != QStringLiteral("市"))
            setFieldText(column, person.text(column));
    }
    setFieldText(QStringLiteral("市"), person.city());
    setUnitKind(person.unitKind());
    setPersonId(person.id());
    m_rowVersion = person.rowVersion();
    markUnchanged();
}

bool Tfrm_PersonInfo::loadPerson(int id)
{
    TPerson stored;
    if (stored.loadById(m_ctx.db(), id) != PersonLoad::Loaded)
        return false;
    setPerson(stored);
    return true;
}

void Tfrm_PersonInfo::clearFields()
{
    for (QWidget *widget : std::as_const(m_fields))
        setTextOf(widget, QString());
    setPersonId(0);
    markUnchanged();
}

void Tfrm_PersonInfo::prepareNew(const QString &unitKind, const QString &group)
{
    clearFields();
    setFieldText(QStringLiteral("国家"), kCountryDefault);
    setFieldText(QStringLiteral("分组"), group);
    setUnitKind(unitKind);
    markUnchanged();
}

void Tfrm_PersonInfo::takeBillFields(const TPerson &fromBill)
{
    for (const QString &column : billColumns()) {
        const QString value = fromBill.text(column);
        if (!value.isEmpty())
            setFieldText(column, value);
    }
}

bool Tfrm_PersonInfo::btSaveClick()
{
    TPerson record = person();
    const int idBefore = record.id();
    QString error;
    const RowSave outcome = saveAskingBeforeOverwrite(
        [&](bool overwrite) { return record.saveChecked(m_ctx.db(), &error, overwrite); });
    // Another desk's values were kept: the fields stay as typed, unsaved.
    if (outcome == RowSave::ChangedElsewhere)
        return false;
    if (outcome == RowSave::Failed) {
        // The fields stay as typed, so the user can correct and retry.
        tell(error.isEmpty() ? QStringLiteral("数据添加或更新失败！") : QStringLiteral("添加更新失败，Error=") + error,
             QStringLiteral("错误"), AlertIcon::Error);
        return false;
    }
    // A unit deleted meanwhile is stored again as a new row.
    const bool updated = idBefore > 0 && record.id() == idBefore;
    tell(updated ? QStringLiteral("历史单位资料资料更新成功！") : QStringLiteral("新增单位资料添加成功！"));
    if (record.id() > 0)
        setPersonId(record.id());
    m_rowVersion = record.rowVersion();
    m_lastSaved = record;
    markUnchanged();
    emit saved(record);
    m_btMulti->setFocus();
    if (m_ckNext->isChecked())
        clearFields();
    return true;
}

void Tfrm_PersonInfo::btSaveCloseClick()
{
    // Closing after a failed save would throw away what was typed.
    if (btSaveClick())
        accept();
}

void Tfrm_PersonInfo::btResetClick()
{
    clearFields();
}

void Tfrm_PersonInfo::btMultiClick()
{
    setPersonId(0);
    QWidget *contact = field(QStringLiteral("联系人"));
    contact->setFocus();
    FieldNavigator::selectAllText(contact);
}

void Tfrm_PersonInfo::lbInputCodeClick()
{
    tell(inputCodeHelp());
}

void Tfrm_PersonInfo::fieldEntered(QWidget *widget)
{
    auto *box = qobject_cast<QComboBox *>(widget);
    if (!box)
        return;
    const Lookups lookups(m_ctx.db());
    if (box == field(QStringLiteral("国家"))) {
        setListItems(box, lookups.loadDMListByName(QStringLiteral("国家"), QStringLiteral("0")));
    } else if (box == field(QStringLiteral("省"))) {
        if (box->count() == 0)
            setListItems(box, lookups.loadProvinces());
    } else if (box == field(QStringLiteral("市"))) {
        const QString province = fieldText(QStringLiteral("省")).trimmed();
        if (!province.isEmpty())
            setListItems(box, lookups.loadCitysByProvince(province));
    } else if (box == field(QStringLiteral("分组"))) {
        if (box->count() == 0)
            setListItems(box, lookups.loadPersonTableGroupList() << kDefaultDrawerGroup);
    }
}

void Tfrm_PersonInfo::refillCities()
{
    auto *city = qobject_cast<QComboBox *>(field(QStringLiteral("市")));
    setListItems(city, Lookups(m_ctx.db()).loadCitysByProvince(fieldText(QStringLiteral("省"))));
}

void Tfrm_PersonInfo::townLeft()
{
    QString town = fieldText(QStringLiteral("镇区"));
    if (town == kTownHint) {
        town.clear();
        setFieldText(QStringLiteral("镇区"), town);
    }
    const QString address = fieldText(QStringLiteral("地址"));
    if (!town.isEmpty() && !address.contains(town))
        setFieldText(QStringLiteral("地址"), town + address);
}

bool Tfrm_PersonInfo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lbInputCode && event->type() == QEvent::MouseButtonRelease) {
        lbInputCodeClick();
        return true;
    }
    if (event->type() == QEvent::FocusIn) {
        fieldEntered(qobject_cast<QWidget *>(watched));
    } else if (event->type() == QEvent::FocusOut && watched == field(QStringLiteral("镇区"))
               && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
        townLeft();
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_PersonInfo::showEvent(QShowEvent *event)
{
    if (!m_sizeRestored) {
        FormFaceLoad(m_ctx.config(), this);
        m_sizeRestored = true;
    }
    const auto &overseasOn = addressBookHost().overseasRemittanceOn;
    m_lbOverseas->setVisible(overseasOn && overseasOn());
    QDialog::showEvent(event);
}

void Tfrm_PersonInfo::markUnchanged()
{
    m_unchanged = person();
}

bool Tfrm_PersonInfo::hasUnsavedEdits() const
{
    TPerson shown = person();
    shown.setId(m_unchanged.id());  // "多账户" forgets the ID; nothing typed
    return shown != m_unchanged;
}

void Tfrm_PersonInfo::reject()
{
    if (hasUnsavedEdits()) {
        switch (showAlert({QStringLiteral("单位资料已修改，是否保存？"), windowTitle(), AlertIcon::Question,
                           AlertButtons::YesNoCancel})) {
        case AlertAnswer::Yes:
            // A failed save keeps the window open with what was typed.
            if (btSaveClick())
                accept();
            return;
        case AlertAnswer::No:
            break;
        default:
            return;
        }
    }
    QDialog::reject();
}

void Tfrm_PersonInfo::done(int result)
{
    FormFaceSave(m_ctx.config(), this);
    QDialog::done(result);
}

} // namespace billprint

// The address text parser window: pasted receiver text is normalised and
// split into the fields of a waybill party, which the user corrects in
// drop-downs and hands on to the waybill (as receiver or sender) or to the
// batch list (as a new receiver, batch/ui/batch_address_parser.h).
#pragma once

#include "addressbook/person.h"
#include "addressbook/address_parser.h"

#include <QDialog>
#include <QHash>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace billprint {

class AppContext;

class TfrmMatchAddr : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { Waybill, Batch };
    enum class HandOver { Stay, Sender, Receiver };  // "2.0", "2.1", "2.2"

    // Called with the party and the button pressed; returns false when it
    // could not be taken (the window then stays open).
    using Receiver = std::function<bool(const TPersonKDD &, HandOver)>;

    TfrmMatchAddr(AppContext &context, Mode mode, QWidget *parent = nullptr);

    void setReceiver(Receiver receiver) { m_receiver = std::move(receiver); }

    // "1.1 粘贴剪切板并识别": the clipboard into the input, then recognised.
    void btPasteClick();
    // "1.2 只识别以上内容>>": normalises and recognises the input.
    void btDoMatchClick();
    // "示例地址格式".
    void btSampleClick();
    // "存为附注>>".
    void btSaveRemarkClick();
    // The hand-over buttons; false when nothing was handed over.
    bool handOver(HandOver which);

    QString inputText() const;
    void setInputText(const QString &text);
    void setSource(AddressSource source);
    QComboBox *fieldBox(AddressField field) const { return m_boxes[static_cast<int>(field)]; }
    QString fieldText(AddressField field) const;
    QCheckBox *containProvinceCity() const { return m_ckContain; }
    QLineEdit *remarkBox() const { return m_remark; }
    bool fillRemark() const;  // "附注填充备注"
    bool fillGoods() const;   // "附注填充物品"
    QListWidget *remarkList() const { return m_list; }
    QTabBar *remarkTabs() const { return m_tabs; }
    QPushButton *button(const QString &caption) const;
    // The party of the fields as they stand.
    TPersonKDD party() const;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildInput(QWidget *host);
    void buildFields(QWidget *host);
    void buildRemarks(QWidget *host);
    void buildButtons();
    void showFields(const AddressParse &parse);
    void sourceClicked(AddressSource source);
    void containClicked();
    void addressEdited();
    void showRemarkTab(int tab);
    QStringList readRemarkList(int tab) const;
    void pasteIntoName();
    void nameLeft();
    AddressSource source() const;

    AppContext &m_ctx;
    const Mode m_mode;
    Receiver m_receiver;
    bool m_shownOnce = false;
    QString m_typedAddress;  // the address as last recognised or typed

    QPlainTextEdit *m_input = nullptr;
    QLabel *m_explain = nullptr;
    std::array<QRadioButton *, 4> m_sources{};
    std::array<QComboBox *, kAddressFieldCount> m_boxes{};
    QCheckBox *m_ckContain = nullptr;
    QLineEdit *m_remark = nullptr;
    QCheckBox *m_ckRemark = nullptr;
    QCheckBox *m_ckGoods = nullptr;
    QTabBar *m_tabs = nullptr;
    QListWidget *m_list = nullptr;
    QHash<int, QStringList> m_remarkLists;  // read once per window
    QHash<QString, QPushButton *> m_buttons;
};

} // namespace billprint

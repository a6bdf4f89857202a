// The express waybill window: the shared bill entry window for the family
// 快递单, with a sender and a receiver carrying full postal data (picked
// from the address book, typed, or found by name or mnemonic code), the
// stations, the signature, goods, remark, pieces, weight and fees, and the
// amount in words written in one of 14 formats.
//
// It is also the print engine of the batch list, which writes the receiver
// fields of each list row by name, runs receiverCityChanged() and
// amountInWordsLeft() and prints the rows in one job through the shared
// print steps (PrintPrepare, PrinterTransBegin, SendCheckToPrinter,
// NewCheckPage, PrinterTransEnd) with the fill-in flag (setLoading) on.
#pragma once

#include "bills/ui/tfm_bill_base.h"

namespace billprint {

class TfmCheckKDD : public TfmBillBase
{
    Q_OBJECT
public:
    TfmCheckKDD(AppContext &context, const BillWindowHost &host = {}, QWidget *parent = nullptr);

    // The receiver's name, "" while the field shows its starting text.
    QString receiverText() const;
    // The receiver's city changed: the destination station follows it
    // while "目的站=城市" is on.
    void receiverCityChanged();
    // Leaving the amount in words: what was typed is written in the chosen
    // format. False when the typed text is no number (the user was told).
    bool amountInWordsLeft();
    // The text typed into the amount in words (shown again on entry).
    QString typedAmountInWords() const { return m_typedWords; }
    // "存收件人": the receiver goes to the address book.
    void saveReceiver();
    // "批量打印": opens the batch print list through the opener its
    // install code sets; without one the user is told it comes later.
    using BatchListOpener = std::function<void(TfmCheckKDD &window)>;
    static void setBatchListOpener(BatchListOpener opener);
    void openBatchList();

    // Keeps the window's bill across a batch print, which fills the
    // receiver and goods fields once per list row: when the scope ends the
    // window shows again the bill it showed before, with its title, serial
    // number and saved state, so the last receiver printed is not taken
    // for the stored bill.
    class BatchFill
    {
    public:
        explicit BatchFill(TfmCheckKDD &window);
        ~BatchFill();
        BatchFill(const BatchFill &) = delete;
        BatchFill &operator=(const BatchFill &) = delete;

    private:
        TfmCheckKDD &m_window;
        QHash<QString, QString> m_content;
        QString m_typedWords;
        QString m_shownWords;
        QString m_title;
        int m_serial;
        bool m_saved;
        bool m_history;
        bool m_copyEnabled;
    };

    void setSender(const std::optional<TPerson> &person) override;
    void setReceiver(const std::optional<TPerson> &person) override;
    void fillListOnEntry(const QString &name) override;
    bool commitTypedInput() override;
    void newBill() override;
    void copyBill() override;
    void updateCaption(const QString &tag = QString()) override;

    static const QStringList &senderFields();
    static const QStringList &receiverFields();

protected:
    void writeColumns(BillRecord &record) const override;
    void readColumns(const BillRecord &record) override;
    bool worthAsking() const override;
    QString remarkField() const override { return QStringLiteral("zdBz"); }
    QString senderPickCaption() const override { return QStringLiteral("选择发件人资料"); }
    QString receiverPickCaption() const override { return QStringLiteral("选择收件人资料"); }
    void afterLayout() override;
    bool storedAsIssued(const BillRecord &) const override { return true; }
    void tidyBeforePrint() override;
    QList<QPair<QString, QString>> rememberedValues() const override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildSenderFields();
    void buildReceiverFields();
    void buildGoodsFields();
    void buildOptions();
    void buildOverlays();
    void connectRules();
    // Shows or hides the date and each side as the options say; shown
    // fields go back to the places the template gives them.
    void applyPrintScope();
    void placeOrHide(const QStringList &names, bool hide);
    void applyHandsetOption();
    void mobileChanged(bool receiver);
    void phoneEntered(bool receiver);
    void fitAddressFont(const QString &name, int limit);
    // The receiver's starting text "单击我或红圈选择收件人...:)" is a hint
    // shown in the empty field while it is not being typed into.
    void showReceiverPrompt(bool show);
    void unitPicked(bool receiver);
    void unitEntered(bool receiver);
    void openOverlay(QComboBox *overlay, QWidget *target);
    void closeOverlay(QComboBox *overlay);
    void closePlaceOverlays();
    void fillOverlay(QComboBox *overlay, QWidget *target);
    void selectFirstWhenEmpty(const QString &name);
    bool applyAmountFormat();
    QString amountFormat() const;

    QComboBox *m_formats = nullptr;
    QHash<QComboBox *, QWidget *> m_overlayTargets;  // overlay -> field it stands over
    QString m_typedWords;   // what was typed into zdJEDX1
    QString m_shownWords;   // what zdJEDX1 shows for it
};

} // namespace billprint

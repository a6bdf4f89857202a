// The record editor (单位详细资料): shows one unit of the address book and
// saves it as it is or as a further row of a unit with several accounts or
// contacts.
#pragma once

#include "addressbook/person.h"

#include <QDialog>
#include <QHash>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace billprint {

class AppContext;
class FieldNavigator;

class Tfrm_PersonInfo : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_PersonInfo(AppContext &context, QWidget *parent = nullptr);

    // The record the fields describe, with the editor's ID (0 for a new
    // unit). 助记码, 开户银行 and 开户行账号 lose blanks around them.
    TPerson person() const;
    // Shows every field of `person` and takes its ID.
    void setPerson(const TPerson &person);
    int personId() const { return m_id; }
    void setPersonId(int id);
    // Reads the unit with `id` into the fields; false (fields unchanged)
    // when there is no such unit.
    bool loadPerson(int id);
    // Empties the fields and the ID for a new unit of `unitKind`, in
    // `group`; the country starts as "中国".
    void prepareNew(const QString &unitKind, const QString &group = QString());
    // Copies the party fields a bill window fills, where they are not
    // empty, over the fields shown.
    void takeBillFields(const TPerson &fromBill);

    // "我方单位" or "往来单位"; any other word shows as "往来单位".
    void setUnitKind(const QString &kind);
    QString unitKind() const;

    // The last unit saved since the editor was made.
    const std::optional<TPerson> &lastSaved() const { return m_lastSaved; }

    // The widget of a column of the address book ("全称", "省", ...).
    QWidget *field(const QString &column) const;
    QString fieldText(const QString &column) const;
    void setFieldText(const QString &column, const QString &text);
    QComboBox *kindBox() const { return m_cbKind; }
    QCheckBox *nextAfterSaveBox() const { return m_ckNext; }
    QPushButton *multiButton() const { return m_btMulti; }
    QLabel *overseasNote() const { return m_lbOverseas; }
    QString idText() const;

    static QString inputCodeHelp();
    static QString statusNote();

public slots:
    // Saves the fields; true when the unit is stored.
    bool btSaveClick();
    void btSaveCloseClick();
    // Clears every field and the ID.
    void btResetClick();
    // Forgets the ID, so that the next save adds a further row of the unit.
    void btMultiClick();
    void lbInputCodeClick();

signals:
    void saved(const TPerson &person);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    // Escape, the window's close box and "关  闭" all end here: with
    // unsaved edits the user is asked first.
    void reject() override;

private:
    void buildFields();
    void buildLayout();
    void buildNavigation();
    void clearFields();
    void fieldEntered(QWidget *field);
    void refillCities();
    void townLeft();
    // The fields as shown or saved last, to tell an edit from a look.
    void markUnchanged();
    bool hasUnsavedEdits() const;

    AppContext &m_ctx;
    QHash<QString, QWidget *> m_fields;  // column -> editor widget
    QComboBox *m_cbKind = nullptr;
    QLabel *m_lbInputCode = nullptr;
    QLabel *m_lbId = nullptr;
    QLabel *m_lbOverseas = nullptr;
    QCheckBox *m_ckNext = nullptr;
    QPushButton *m_btSave = nullptr;
    QPushButton *m_btSaveClose = nullptr;
    QPushButton *m_btReset = nullptr;
    QPushButton *m_btMulti = nullptr;
    QPushButton *m_btClose = nullptr;
    FieldNavigator *m_navigator = nullptr;
    int m_id = 0;
    int m_rowVersion = 0;  // of the unit's row as read or saved last
    std::optional<TPerson> m_lastSaved;
    TPerson m_unchanged;
    bool m_sizeRestored = false;
};

} // namespace billprint

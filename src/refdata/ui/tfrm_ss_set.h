#pragma once

#include "refdata/place_code_store.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace billprint {

class AppContext;

// The province and city code window (省市代码设置): browse the cities of a
// province, add a city (to a new or existing province), rename or delete
// the chosen city. Adding and renaming happen in an edit panel that locks
// the rest of the window while it is open.
class TfrmSsSet : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSsSet(AppContext &context, QWidget *parent = nullptr);

    // Fills the province list, chooses the first province and lists its
    // cities, as when the window is shown.
    void InitFirstDM();
    void chooseProvince(const QString &province);
    void chooseCity(const QString &city);
    QString currentProvince() const;
    QString chosenCity() const { return m_chosenCity; }
    QStringList listedCities() const;
    bool editPanelOpen() const;

    QComboBox *provinceBox() const { return m_cbProvince; }
    QLineEdit *provinceEdit() const { return m_edtProvince; }
    QLineEdit *cityEdit() const { return m_edtCity; }

public slots:
    void btAddClick();
    void btModifyClick();
    void btDeleteClick();
    void btOkClick();
    void btCancelClick();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Mode { None, Add, Modify };

    void listCities();
    // Column width for the longest city name, two columns when they fit.
    void fitCityColumns();
    void openPanel(Mode mode, const QString &city);
    void closePanel();
    void report(const EditOutcome &outcome);

    AppContext &m_ctx;
    PlaceCodeStore m_store;
    QComboBox *m_cbProvince = nullptr;
    QListWidget *m_lbCities = nullptr;
    QLabel *m_lbChosen = nullptr;
    QPushButton *m_btAdd = nullptr;
    QPushButton *m_btDelete = nullptr;
    QPushButton *m_btModify = nullptr;
    QGroupBox *m_panel = nullptr;
    QLineEdit *m_edtProvince = nullptr;
    QLineEdit *m_edtCity = nullptr;
    QString m_chosenCity;
    Mode m_mode = Mode::None;
    bool m_sizeRestored = false;
};

} // namespace billprint

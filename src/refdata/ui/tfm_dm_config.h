#pragma once

#include "refdata/dictionary_entry_model.h"
#include "refdata/dictionary_store.h"

#include <QDialog>
#include <QTableView>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;

namespace billprint {

class AppContext;

// The entry grid of the dictionary window; it can hand an open editor's
// text to the model before the grid is re-read.
class DictionaryGrid : public QTableView
{
    Q_OBJECT
public:
    using QTableView::QTableView;
    void commitOpenEditor();
    void discardOpenEditor();
};

// The dictionary window (字典管理): choose the bill type (or all of them),
// choose or create a list, and add, edit and delete its entries.
class Tfm_DMConfig : public QDialog
{
    Q_OBJECT
public:
    // `checkTypeId` is the bill type the program is working with; the
    // window starts on it when it is greater than 0.
    Tfm_DMConfig(AppContext &context, int checkTypeId, QWidget *parent = nullptr);

    int currentCheckTypeId() const { return m_checkTypeId; }
    QString currentListName() const;
    QStringList listNames() const;
    DictionaryEntryModel *entryModel() { return &m_model; }
    DictionaryGrid *grid() const { return m_grid; }
    QComboBox *typeBox() const { return m_cbType; }
    QComboBox *nameBox() const { return m_cbName; }
    QCheckBox *sharedBox() const { return m_ckShared; }
    QString headingText() const;

    void chooseListName(const QString &name);

public slots:
    void btAddNameClick();
    void btAddClick();
    void btEditClick();
    void btDeleteClick();
    void btSaveClick();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    // Loads the names and entries of a bill type; typePicked also shows the
    // bill type in the caption, as when the user picks it.
    void typeChosen(int index);
    void typePicked(int index);
    void loadNames(const QString &keep = QString());
    void loadEntries();
    void editRow(int row);
    int currentRow() const;

    AppContext &m_ctx;
    DictionaryStore m_store;
    DictionaryEntryModel m_model;
    int m_startTypeId = 0;
    int m_checkTypeId = 0;
    bool m_shown = false;
    QComboBox *m_cbType = nullptr;
    QListWidget *m_lbNames = nullptr;
    QComboBox *m_cbName = nullptr;
    QLabel *m_lbHeading = nullptr;
    QCheckBox *m_ckShared = nullptr;
    DictionaryGrid *m_grid = nullptr;
};

} // namespace billprint

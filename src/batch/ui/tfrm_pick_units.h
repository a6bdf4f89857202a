// A multi-pick address book: the units of the book, found by a keyword,
// of which the user selects any number to become batch receivers.
#pragma once

#include <QDialog>
#include <QList>

class QLineEdit;
class QPushButton;
class QTableView;

namespace billprint {

class AppContext;
class PersonGridModel;

class TfrmPickUnits : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPickUnits(AppContext &context, QWidget *parent = nullptr);

    void runQuery();
    // The IDs of the selected units, in the order the grid lists them.
    QList<int> selectedIds() const;

    QLineEdit *keywordEdit() const { return m_keyword; }
    QTableView *grid() const { return m_grid; }

    // Shows the dialog; the picked IDs, none when it was cancelled.
    static QList<int> pick(AppContext &context, QWidget *parent);

private:
    void updateOkButton();

    AppContext &m_ctx;
    QLineEdit *m_keyword = nullptr;
    PersonGridModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QPushButton *m_ok = nullptr;
};

} // namespace billprint

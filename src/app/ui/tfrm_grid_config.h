#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;
class QTableView;

namespace billprint {

class IniFile;

// The column chooser of a grid: the columns shown ("需要的数据列：") and
// the columns hidden ("不需要的数据列："), moved across with "隐藏" and
// "显示"; "应用修改" applies the choice to the grid and remembers it with
// the grid's column widths under `section`.
class TfrmGridConfig : public QDialog
{
    Q_OBJECT
public:
    TfrmGridConfig(IniFile &config, QTableView *grid, const QString &section, QWidget *parent = nullptr);

    QListWidget *shownList() const { return m_shown; }
    QListWidget *hiddenList() const { return m_hidden; }

    // Button actions.
    void btHideClick();
    void btShowClick();
    void btApplyClick();

private:
    void fillLists();
    // Moves the selected items of `from` into `to`, keeping grid order.
    static void moveSelected(QListWidget *from, QListWidget *to);

    IniFile &m_config;
    QTableView *m_grid;
    QString m_section;
    QListWidget *m_shown = nullptr;
    QListWidget *m_hidden = nullptr;
};

} // namespace billprint

// The panel of the batch print list that rewrites one column of every
// receiver ("批量填充列"): a target column and up to three parts, each a
// column ("@省") or a text, joined into the target.
#pragma once

#include "batch/receiver_list.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;

namespace billprint {

class Database;

class ColumnRewritePanel : public QGroupBox
{
    Q_OBJECT
public:
    // `db` gives the dictionary entries offered for a remark or goods column.
    ColumnRewritePanel(const Database &db, QWidget *parent);

    // Offers `columns` (but `key`) as "@column" to the target and to every
    // part, with the usual texts before and after a count; nothing chosen.
    void offerColumns(const QStringList &columns, const QString &key);
    // The rewrite as it stands, every text trimmed.
    ColumnRewrite request() const;

    QComboBox *target() const { return m_target; }
    QComboBox *part(int i) const { return m_parts[i]; }
    QCheckBox *emptyPartsBox() const { return m_empty; }

private:
    QWidget *makeExamples();
    void connectControls();
    // A remark or goods target offers its dictionary entries to the first part.
    void targetChosen(const QString &target);

    const Database &m_db;
    QComboBox *m_target = nullptr;
    QComboBox *m_parts[3] = {};
    QCheckBox *m_empty = nullptr;
};

} // namespace billprint

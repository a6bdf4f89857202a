// Prints receivers of the batch list through the waybill window: the
// window is filled from one row at a time (SendToCheckByID) and each row
// becomes one page of a single print job, a new page started between rows
// and never after the last.
#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QWidget>
#include <functional>

class QSqlRecord;

namespace billprint {

class ReceiverList;
class TfmCheckKDD;

class BatchPrintRun
{
public:
    // `optionalColumns`: the optional list columns that are sent to the
    // window (those visible in the grid); the address columns always are.
    BatchPrintRun(TfmCheckKDD &window, const ReceiverList &list, QSet<QString> optionalColumns);

    // Called after each page with the pages done and the total; returning
    // false stops the run after that page, the document ending cleanly.
    using Progress = std::function<bool(int done, int total)>;
    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // Fills the window from one row. False (the user told) when the ID is
    // empty or the row is gone; the window then keeps what it showed.
    bool SendToCheckByID(int id);

    // Prints the rows in the order given. `needReady`: stop before
    // anything when the printer is not ready. Returns the pages printed.
    // A row that is gone (or a read that fails) ends the run before its
    // page; the pages before it are handed to the printer and problem()
    // says which row it was. Nothing is told: the caller tells once.
    int print(const QList<int> &ids, bool needReady = true);
    bool stopped() const { return m_stopped; }
    // Why the run ended before its last row; empty when it did not.
    const QString &problem() const { return m_problem; }
    // The document could not be finished (the user was told).
    bool failed() const { return m_failed; }

    // The optional columns and the window fields they fill.
    static const QList<QPair<QString, QString>> &optionalFields();

private:
    // Fills the window from row `id` as read (`error`: why it could not
    // be). Returns what went wrong, empty when the window was filled; the
    // window is left untouched otherwise.
    QString sendRecord(int id, const QSqlRecord &r, const QString &error);
    // Writes a field of the window; the fields are looked up once per run.
    void set(const QString &field, const QString &text);
    QWidget *widget(const QString &field);

    TfmCheckKDD &m_window;
    const ReceiverList &m_list;
    QSet<QString> m_optional;
    Progress m_progress;
    QHash<QString, QWidget *> m_fields;
    bool m_stopped = false;
    bool m_failed = false;
    QString m_problem;
};

} // namespace billprint

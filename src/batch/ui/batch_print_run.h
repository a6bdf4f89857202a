// Prints receivers of the batch list through the waybill window: the
// window is filled from one row at a time (SendToCheckByID) and each row
// becomes one page of a single print job, a new page started between rows
// and never after the last.
#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <functional>

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
    int print(const QList<int> &ids, bool needReady = true);
    bool stopped() const { return m_stopped; }

    // The optional columns and the window fields they fill.
    static const QList<QPair<QString, QString>> &optionalFields();

private:
    bool sendRow(int id);

    TfmCheckKDD &m_window;
    const ReceiverList &m_list;
    QSet<QString> m_optional;
    Progress m_progress;
    bool m_stopped = false;
};

} // namespace billprint

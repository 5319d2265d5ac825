#pragma once
// The order being edited in the reorder dialog: the entries, the grabbed row and the order saved
// at the moment of Grab.

#include <QStringList>

class ReorderState
{
public:
    ReorderState(const QStringList &entries = {}, int row = 0) : m_list(entries), m_grabbed(row) {}

    const QStringList &list() const { return m_list; }
    int grabbedRow() const { return m_grabbed; }
    bool grabbing() const { return m_grabMode; }

    // Outside grab mode the grabbed row follows the highlight.
    void follow(int row) { m_grabbed = row; }
    // Grab: saves the order and carries the entry at `row` from now on.
    void grab(int row);
    // The highlight reached `row`: the carried entry and the one at `row` change places.
    // Returns true when the entries changed places.
    bool carryTo(int row);
    // Insert: the carried entry stays where it is.
    void drop() { m_grabMode = false; }
    // Cancel: the order at the moment of Grab comes back.
    void cancel();

private:
    QStringList m_list;
    QStringList m_saved;
    int m_grabbed = 0;
    bool m_grabMode = false;
};

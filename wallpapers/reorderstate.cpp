#include "reorderstate.h"

void ReorderState::grab(int row)
{
    m_saved = m_list;
    m_grabbed = row;
    m_grabMode = true;
}

bool ReorderState::carryTo(int row)
{
    if (!m_grabMode) {
        m_grabbed = row;
        return false;
    }
    const bool valid = row != m_grabbed && row >= 0 && row < m_list.size() && m_grabbed >= 0
                       && m_grabbed < m_list.size();
    if (valid)
        m_list.swapItemsAt(m_grabbed, row);
    m_grabbed = row;
    return valid;
}

void ReorderState::cancel()
{
    if (m_grabMode)
        m_list = m_saved;
    m_grabMode = false;
}

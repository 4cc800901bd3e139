#include "CForegroundBurst.h"

bool CForegroundBurst::OnChange() {
    const bool bFirst = !m_bPending;
    m_bPending = true;
    return bFirst;
}

bool CForegroundBurst::OnTimer() {
    const bool bDue = m_bPending;
    m_bPending = false;
    return bDue;
}

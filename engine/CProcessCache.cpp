#include "CProcessCache.h"

#include <iterator>

const CProcessCache::Learnt* CProcessCache::Recall(DWORD dwProcessId, ULONGLONG ullCreateTime) {
    auto found = m_records.find(dwProcessId);
    if (found == m_records.end() || found->second.ullCreateTime != ullCreateTime) {
        return nullptr;
    }
    found->second.nPass = m_nPass;
    return &found->second.learnt;
}

const CProcessCache::Learnt& CProcessCache::Remember(DWORD dwProcessId, ULONGLONG ullCreateTime,
                                                     const Learnt& learnt) {
    Record& record = m_records[dwProcessId];
    record.ullCreateTime = ullCreateTime;
    record.nPass = m_nPass;
    record.learnt = learnt;
    return record.learnt;
}

void CProcessCache::EndPass() {
    for (auto it = m_records.begin(); it != m_records.end();) {
        it = it->second.nPass == m_nPass ? std::next(it) : m_records.erase(it);
    }
    ++m_nPass;
}

void CProcessCache::Clear() {
    m_records.clear();
}

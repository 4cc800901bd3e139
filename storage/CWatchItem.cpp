#include "CWatchItem.h"

#include "CProfileFile.h"

namespace {

// A line break inside a value would start new keys or sections in the file.
CString OneLine(const CString& text) {
    CString line(text);
    line.Replace('\r', ' ');
    line.Replace('\n', ' ');
    return line;
}

int InRange(int value, int low, int high, int fallback) {
    return value < low || value > high ? fallback : value;
}

} // namespace

CWatchItem::CWatchItem()
    : m_nValidCondition(2), m_nMonitorEffec(3), m_nAreaBlack(0), m_nWaitTime(60), m_nIdentify(1) {}

CWatchItem::~CWatchItem() = default;

void CWatchItem::CopyFrom(const CWatchItem& other) {
    m_strFileName = other.m_strFileName;
    m_strTitle = other.m_strTitle;
    m_nValidCondition = other.m_nValidCondition;
    m_nMonitorEffec = other.m_nMonitorEffec;
    m_nAreaBlack = other.m_nAreaBlack;
    m_nWaitTime = other.m_nWaitTime;
    m_nIdentify = other.m_nIdentify;
}

int CWatchItem::WriteTo(CProfileFile& profile, const char* pszSection) const {
    BOOL ok = profile.WriteString(pszSection, "FileName", OneLine(m_strFileName));
    ok = profile.WriteString(pszSection, "Title", OneLine(m_strTitle)) && ok;
    ok = profile.WriteInt(pszSection, "ValidCondition", m_nValidCondition) && ok;
    ok = profile.WriteInt(pszSection, "MonitorEffec", m_nMonitorEffec) && ok;
    ok = profile.WriteInt(pszSection, "AreaBlack", m_nAreaBlack) && ok;
    ok = profile.WriteInt(pszSection, "WaitTime", m_nWaitTime) && ok;
    ok = profile.WriteInt(pszSection, "Identify", m_nIdentify) && ok;
    return ok ? 1 : 0;
}

void CWatchItem::SetReadDefaults() {
    // A record with missing keys reads as a disabled item that would prevent
    // the screen saver, not as a new item.
    m_strFileName = "";
    m_strTitle = "";
    m_nValidCondition = 0;
    m_nMonitorEffec = 1;
    m_nAreaBlack = 0;
    m_nWaitTime = 60;
    m_nIdentify = 1;
}

int CWatchItem::ReadFrom(CProfileFile& profile, const char* pszSection) {
    SetReadDefaults();
    m_strFileName = profile.GetString(pszSection, "FileName", "");
    m_strTitle = profile.GetString(pszSection, "Title", "");
    m_nValidCondition = profile.GetInt(pszSection, "ValidCondition", m_nValidCondition);
    m_nMonitorEffec = profile.GetInt(pszSection, "MonitorEffec", m_nMonitorEffec);
    m_nAreaBlack = profile.GetInt(pszSection, "AreaBlack", m_nAreaBlack);
    m_nWaitTime = profile.GetInt(pszSection, "WaitTime", m_nWaitTime);
    m_nIdentify = profile.GetInt(pszSection, "Identify", m_nIdentify);

    m_nValidCondition = InRange(m_nValidCondition, 0, 2, 0);
    m_nMonitorEffec = InRange(m_nMonitorEffec, 1, 3, 1);
    m_nAreaBlack = InRange(m_nAreaBlack, 0, 2, 0);
    m_nIdentify = InRange(m_nIdentify, 0, 1, 0);
    return 1;
}

#include "CWatchItem.h"

#include "CProfileFile.h"
#include "CProfileText.h"

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

// The same keys reach the file key by key or in one piece.
template <class Profile>
int WriteKeys(const CWatchItem& item, Profile& profile, const char* pszSection) {
    const char* const* key = CWatchItem::kKeyNames;
    BOOL ok = profile.WriteString(pszSection, key[0], OneLine(item.m_strFileName));
    ok = profile.WriteString(pszSection, key[1], OneLine(item.m_strTitle)) && ok;
    ok = profile.WriteInt(pszSection, key[2], item.m_nValidCondition) && ok;
    ok = profile.WriteInt(pszSection, key[3], item.m_nMonitorEffec) && ok;
    ok = profile.WriteInt(pszSection, key[4], item.m_nAreaBlack) && ok;
    ok = profile.WriteInt(pszSection, key[5], item.m_nWaitTime) && ok;
    ok = profile.WriteInt(pszSection, key[6], item.m_nIdentify) && ok;
    ok = profile.WriteInt(pszSection, key[7], item.m_nKeepSystemAwake) && ok;
    return ok ? 1 : 0;
}

} // namespace

const char* const CWatchItem::kKeyNames[8] = {"FileName",     "Title",          "ValidCondition",
                                              "MonitorEffec", "AreaBlack",      "WaitTime",
                                              "Identify",     "KeepSystemAwake"};

CWatchItem::CWatchItem()
    : m_nValidCondition(2), m_nMonitorEffec(3), m_nAreaBlack(0), m_nWaitTime(60), m_nIdentify(1),
      m_nKeepSystemAwake(0) {}

CWatchItem::~CWatchItem() = default;

void CWatchItem::CopyFrom(const CWatchItem& other) {
    m_strFileName = other.m_strFileName;
    m_strTitle = other.m_strTitle;
    m_nValidCondition = other.m_nValidCondition;
    m_nMonitorEffec = other.m_nMonitorEffec;
    m_nAreaBlack = other.m_nAreaBlack;
    m_nWaitTime = other.m_nWaitTime;
    m_nIdentify = other.m_nIdentify;
    m_nKeepSystemAwake = other.m_nKeepSystemAwake;
}

int CWatchItem::WriteTo(CProfileFile& profile, const char* pszSection) const {
    return WriteKeys(*this, profile, pszSection);
}

int CWatchItem::WriteTo(CProfileText& text, const char* pszSection) const {
    return WriteKeys(*this, text, pszSection);
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
    m_nKeepSystemAwake = 0;
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
    m_nKeepSystemAwake = profile.GetInt(pszSection, "KeepSystemAwake", m_nKeepSystemAwake);

    m_nValidCondition = InRange(m_nValidCondition, 0, 2, 0);
    m_nMonitorEffec = InRange(m_nMonitorEffec, 1, 3, 1);
    m_nAreaBlack = InRange(m_nAreaBlack, 0, 2, 0);
    m_nIdentify = InRange(m_nIdentify, 0, 1, 0);
    // Anything but 1 keeps the computer's sleep as it was: a value the program
    // never wrote asks for nothing it cannot undo.
    m_nKeepSystemAwake = InRange(m_nKeepSystemAwake, 0, 1, 0);
    return 1;
}

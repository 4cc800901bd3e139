#pragma once

#include "CObject.h"
#include "CString.h"

class CProfileFile;
class CProfileText;

// One watched application: its path, alias, when it counts and what it does.
class CWatchItem : public CObject {
public:
    CWatchItem();
    ~CWatchItem() override;

    void CopyFrom(const CWatchItem& other);
    // The record's keys in the order they are written. KeepSystemAwake came
    // last, after the seven keys every copy of the program knows: an older
    // copy reads a newer list and ignores it.
    static const char* const kKeyNames[8];

    // Returns 1 when every key was written, 0 when a write failed.
    int WriteTo(CProfileFile& profile, const char* pszSection) const;
    int WriteTo(CProfileText& text, const char* pszSection) const;
    int ReadFrom(CProfileFile& profile, const char* pszSection);
    // The values of a record whose keys are all missing.
    void SetReadDefaults();

    CString m_strFileName;
    CString m_strTitle;
    int m_nValidCondition; // 0 never, 1 while running, 2 while in the foreground
    int m_nMonitorEffec;   // 1 screen saver, 2 display power-off, 3 both
    int m_nAreaBlack;      // 0 none, 1 the settings file's defaults, 2 this item's values
    int m_nWaitTime;       // idle seconds before the blackout
    int m_nIdentify;       // 0 the active window, 1 its client area
    // 1 keeps the computer from sleeping while the item is in effect, else 0.
    int m_nKeepSystemAwake;
};

#pragma once

#include "CWatchList.h"
#include "ProfileSave.h"

#include <windows.h>

#include <cstdio>
#include <string>

// Two recognisable lists of different lengths: a mix of them shows as a
// record of one under the count of the other.
inline void FillPattern(CWatchList& list, char tag, int count) {
    list.RemoveAll();
    for (int i = 0; i < count; ++i) {
        CWatchItem item;
        char text[64];
        std::snprintf(text, sizeof text, "C:\\%c\\prog%d.exe", tag, i);
        item.m_strFileName = text;
        std::snprintf(text, sizeof text, "%c%d", tag, i);
        item.m_strTitle = text;
        item.m_nWaitTime = tag * 100 + i;
        list.Add(item);
    }
}

// 'A' or 'B' when the list is exactly one of the two patterns, else 0.
inline char MatchPattern(const CWatchList& list) {
    CWatchList expected;
    for (char tag : {'A', 'B'}) {
        FillPattern(expected, tag, tag == 'A' ? 3 : 5);
        bool same = expected.GetCount() == list.GetCount();
        for (int i = 0; same && i < list.GetCount(); ++i) {
            const CWatchItem& a = *expected.GetAt(i);
            const CWatchItem& b = *list.GetAt(i);
            same = a.m_strFileName == b.m_strFileName && a.m_strTitle == b.m_strTitle &&
                   a.m_nWaitTime == b.m_nWaitTime;
        }
        if (same)
            return tag;
    }
    return 0;
}

// The same for the settings file: the window's keys as one save writes them,
// over a file that holds a key of the user's own, which each save keeps.
const char kSettingsKeys[][8] = {"Col0", "Col1", "Col2", "Col3", "Left", "Top", "Width", "Height"};

inline int SaveSettingsPattern(const wchar_t* pszPath, char tag) {
    return SaveProfileInOneStep(pszPath, 0, [tag](CProfileText& text) {
        for (int i = 0; i < 8; ++i)
            text.WriteInt("Dialog", kSettingsKeys[i], tag * 100 + i);
        return text.WriteInt("Config", "ShowTrayIcon", tag == 'A') != FALSE;
    });
}

// 'A' or 'B' when every key holds one pattern's value and the user's own
// key is there, else 0.
inline char MatchSettingsPattern(const std::string& path) {
    char language[8] = "";
    GetPrivateProfileStringA("Config", "Language", "", language, sizeof language, path.c_str());
    if (std::string(language) != "en")
        return 0;
    for (char tag : {'A', 'B'}) {
        bool same = GetPrivateProfileIntA("Config", "ShowTrayIcon", -1, path.c_str()) ==
                    static_cast<UINT>(tag == 'A');
        for (int i = 0; same && i < 8; ++i)
            same = GetPrivateProfileIntA("Dialog", kSettingsKeys[i], -1, path.c_str()) ==
                   static_cast<UINT>(tag * 100 + i);
        if (same)
            return tag;
    }
    return 0;
}

#pragma once

#include "CWatchList.h"

#include <cstdio>

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

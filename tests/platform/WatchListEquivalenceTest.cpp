#include "CProfileText.h"
#include "CWatchList.h"
#include "KeyByKeySave.h"
#include "TempDir.h"
#include "TestPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// GBK bytes: 中 and 游戏.
const std::string kZhong = "\xd6\xd0";
const std::string kGame = "\xd3\xce\xcf\xb7";

std::string Repeat(const std::string& unit, size_t bytes) {
    std::string text;
    while (text.size() < bytes)
        text += unit;
    text.resize(bytes);
    return text;
}

const std::vector<std::string>& Texts() {
    static const std::vector<std::string> texts = {
        "C:\\Program Files\\" + kGame + "\\game.exe",
        kZhong + "\xce\xc4",
        "a\r\nb",
        "x\r\n[Main]\r\nCount=0",
        "\n",
        "\r",
        std::string(2047, 't'),
        Repeat(kZhong, 2047), // ends in a lone lead byte
        Repeat(kZhong, 3000),
        std::string(3000, 'u'),
        "\"quoted\"",
        "'single'",
        "\"",
        "\"\"",
        "\"unbalanced",
        "'mixed\"",
        " \"spaced\" ",
        "  leading",
        "trailing  ",
        "\tTab",
        "   ",
        "a=b",
        "[Section]",
        ";comment",
        "\x81",
        "\x80\xff",
        "\x81\x20x",
        "\x81\x7f",
        "a\xfe",
        "\x81\x81\x81",
        "\xa1\x30\xd6",
        "",
    };
    return texts;
}

std::vector<CWatchItem> TextItems() {
    const std::vector<std::string>& texts = Texts();
    const int numbers[] = {0, 1, 2, 3, 7, -1, -30, INT_MAX, INT_MIN};
    std::vector<CWatchItem> items;
    for (size_t i = 0; i < texts.size(); ++i) {
        CWatchItem item;
        item.m_strFileName = texts[i].c_str();
        item.m_strTitle = texts[(i + 1) % texts.size()].c_str();
        item.m_nValidCondition = numbers[i % 9];
        item.m_nMonitorEffec = numbers[(i + 1) % 9];
        item.m_nAreaBlack = numbers[(i + 2) % 9];
        item.m_nWaitTime = numbers[(i + 3) % 9];
        item.m_nIdentify = numbers[(i + 4) % 9];
        item.m_nKeepSystemAwake = numbers[(i + 5) % 9];
        items.push_back(item);
    }
    return items;
}

std::string PlainRecords(int count, const char* tag) {
    std::string text = "[Main]\r\nCount=" + std::to_string(count) + "\r\n";
    for (int i = 0; i < count; ++i)
        text += "[Record_" + std::to_string(i) + "]\r\nFileName=C:\\" + tag + std::to_string(i) +
                ".exe\r\nTitle=" + tag +
                "\r\nValidCondition=1\r\nMonitorEffec=2\r\n"
                "AreaBlack=0\r\nWaitTime=60\r\nIdentify=1\r\n" +
                (i % 2 ? "KeepSystemAwake=1\r\n" : "");
    return text;
}

struct OldFile {
    const char* name;
    bool exists;
    std::string bytes;
};

std::vector<OldFile> OldFiles() {
    return {
        {"none", false, ""},
        {"empty", true, ""},
        {"damaged count", true, "[Main]\r\nCount=99999\r\n"},
        {"plain, longer", true, PlainRecords(40, "old")},
        {"plain, one record with another key", true,
         PlainRecords(3, "old") + "[Record_1]\r\nLater=1\r\n"},
        {"stale records, extra sections, other keys", true,
         "[Main]\r\nCount=3\r\nVersion=2\r\n[Other]\r\nKey=Value\r\nQuoted=\"q\"\r\n"
         "[Record_0]\r\nFileName=old\r\nExtra=keep me\r\nfilename=second\r\n"
         "[Record_7]\r\nTitle=stale\r\nWaitTime=5\r\n[" +
             kGame + "]\r\n" + kZhong + "=" + kGame + "\r\n"},
        {"odd layout", true,
         "orphan=1\r\n\r\n  [record_1]  \r\n  Title = spaced  \r\nNoEquals\r\n=empty key\r\n"
         "\n[MAIN]\r\ncount=12\r\n[Main]\r\nCount=13\r\nTitle=second section\r\n"
         "[RECORD_0]\r\nIdentify=0\r\n[Record_2]\rWaitTime=9\n[Record_05]\r\nTitle=five\r\n"
         "[X]\r\nlead=\xd6\r\n"},
    };
}

std::vector<std::string> Entries(const std::string& path, const std::string& section) {
    std::vector<char> buffer(1 << 20);
    GetPrivateProfileSectionA(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()),
                              path.c_str());
    std::vector<std::string> entries;
    for (const char* e = buffer.data(); *e; e += std::strlen(e) + 1)
        entries.emplace_back(e);
    return entries;
}

std::vector<std::string> UniqueSections(const std::string& path) {
    std::vector<std::string> unique;
    std::set<std::string> seen;
    for (const std::string& name : CProfileText::ReadSectionNames(Wide(path).c_str()))
        if (seen.insert(CProfileText::UpperAscii(name)).second)
            unique.push_back(CProfileText::UpperAscii(name));
    return unique;
}

std::string Read(const std::string& path, const std::string& section, const std::string& key,
                 size_t size) {
    std::string buffer(size, '\0');
    int n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "<absent>", &buffer[0],
                                     static_cast<DWORD>(size), path.c_str());
    return buffer.substr(0, static_cast<size_t>(n));
}

// Long texts shown by their length and their ends only.
std::string Brief(const std::string& text) {
    std::string shown =
        text.size() <= 24 ? text : text.substr(0, 8) + "..." + text.substr(text.size() - 8);
    std::string out = std::to_string(text.size()) + " bytes \"";
    for (unsigned char c : shown) {
        char hex[8];
        std::snprintf(hex, sizeof hex, c < 0x20 || c >= 0x7f ? "\\x%02x" : "%c", c);
        out += hex;
    }
    return out + "\"";
}

// Every key that the profile functions find in either file reads the same in both.
void ExpectSameReadBack(const std::string& expected, const std::string& actual) {
    std::vector<std::string> sections = UniqueSections(expected);
    ASSERT_EQ(sections, UniqueSections(actual));
    sections.push_back("");
    for (const std::string& section : sections) {
        std::set<std::string> keys;
        for (const std::string& path : {expected, actual})
            for (const std::string& entry : Entries(path, section))
                keys.insert(entry.substr(0, entry.find('=')));
        for (const std::string& key : keys)
            for (size_t size : {size_t(2048), size_t(8192)}) {
                std::string a = Read(expected, section, key, size);
                std::string b = Read(actual, section, key, size);
                EXPECT_TRUE(a == b) << "[" << section << "] " << key << " in a buffer of " << size
                                    << ": " << Brief(a) << " against " << Brief(b);
            }
    }
}

TEST(WatchListEquivalence, OnePassSaveReadsBackAsTheKeyByKeySave) {
    std::vector<std::vector<CWatchItem>> lists = {{}, {CWatchItem()}, TextItems()};
    TempDir dir;
    int round = 0;
    for (const OldFile& old : OldFiles()) {
        for (const std::vector<CWatchItem>& items : lists) {
            SCOPED_TRACE(std::string(old.name) + ", " + std::to_string(items.size()) + " items");
            CWatchList list;
            for (const CWatchItem& item : items)
                list.Add(item);
            ++round;
            std::string keyByKey = dir.File(("k" + std::to_string(round) + ".dat").c_str());
            std::string onePass = dir.File(("o" + std::to_string(round) + ".dat").c_str());
            if (old.exists) {
                ASSERT_TRUE(WriteWholeFile(keyByKey, old.bytes));
                ASSERT_TRUE(WriteWholeFile(onePass, old.bytes));
            }
            ASSERT_EQ(1, KeyByKeySave(list, keyByKey.c_str()));
            ASSERT_EQ(1, list.Save(Wide(onePass).c_str()));
            ExpectSameReadBack(keyByKey, onePass);
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((onePass + ".new").c_str()));

            CWatchList a, b;
            a.Load(Wide(keyByKey).c_str());
            b.Load(Wide(onePass).c_str());
            ASSERT_EQ(a.GetCount(), b.GetCount());
            for (int i = 0; i < a.GetCount(); ++i) {
                EXPECT_STREQ(a.GetAt(i)->m_strFileName, b.GetAt(i)->m_strFileName) << i;
                EXPECT_STREQ(a.GetAt(i)->m_strTitle, b.GetAt(i)->m_strTitle) << i;
                EXPECT_EQ(a.GetAt(i)->m_nWaitTime, b.GetAt(i)->m_nWaitTime) << i;
            }
        }
    }
}

} // namespace

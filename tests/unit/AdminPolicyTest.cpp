// The administrator's policy: each raw value as the registry gives it, the
// two hives together, and a real hive read back.
#include "AdminPolicy.h"

#include <gtest/gtest.h>

#include <string>

namespace {

DWORD Dword(DWORD dwValue, DWORD dwType, DWORD cbData, int nIndex, bool* pTaken) {
    DWORD dwOut = 77;
    *pTaken =
        TakePolicyDword(nIndex, dwType, reinterpret_cast<const BYTE*>(&dwValue), cbData, &dwOut);
    return dwOut;
}

PolicyHive Hive(int nIndex, DWORD dwValue, std::vector<CString> watched = {}) {
    PolicyHive hive;
    if (nIndex >= 0) {
        hive.bSet[nIndex] = true;
        hive.dwValue[nIndex] = dwValue;
    }
    hive.watched = std::move(watched);
    return hive;
}

} // namespace

TEST(AdminPolicy, EachValueIsTakenOnlyAsADwordInRange) {
    const struct {
        const char* name;
        int index;
        DWORD value, type, size;
        bool taken;
    } cases[] = {
        {"disabled", 0, 1, REG_DWORD, 4, true},
        {"not disabled", 0, 0, REG_DWORD, 4, true},
        {"a value that means nothing", 0, 2, REG_DWORD, 4, false},
        {"a text", 0, 1, REG_SZ, 4, false},
        {"a number of eight bytes", 0, 1, REG_QWORD, 8, false},
        {"four bytes too few", 0, 1, REG_DWORD, 2, false},
        {"a minute", 1, 1, REG_DWORD, 4, true},
        {"a week", 1, 10080, REG_DWORD, 4, true},
        {"no minutes", 1, 0, REG_DWORD, 4, false},
        {"more than a week", 1, 10081, REG_DWORD, 4, false},
        {"a negative number", 1, 0xFFFFFFFFu, REG_DWORD, 4, false},
        {"big-endian", 1, 30, REG_DWORD_BIG_ENDIAN, 4, false},
        {"no such value", 4, 1, REG_DWORD, 4, false},
    };
    for (const auto& c : cases) {
        bool bTaken = false;
        const DWORD dwOut = Dword(c.value, c.type, c.size, c.index, &bTaken);
        EXPECT_EQ(c.taken, bTaken) << c.name;
        EXPECT_EQ(c.taken ? c.value : 77u, dwOut) << c.name;
    }
}

TEST(AdminPolicy, PathsAreTextsWithinLimitsInTheCodePage) {
    const auto take = [](DWORD dwType, const std::wstring& text, CString* pPath, size_t cb = 0) {
        return TakePolicyPath(dwType, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(cb ? cb : (text.size() + 1) * sizeof(wchar_t)),
                              pPath);
    };
    CString strPath;
    EXPECT_TRUE(take(REG_SZ, L"  C:\\Apps\\Teams.exe \t", &strPath));
    EXPECT_STREQ("C:\\Apps\\Teams.exe", strPath);
    // Without its NUL, and of an odd size, as the registry may hand it over.
    EXPECT_TRUE(take(REG_SZ, L"C:\\*\\Show.exe", &strPath, 13 * sizeof(wchar_t) + 1));
    EXPECT_STREQ("C:\\*\\Show.exe", strPath);
    SetEnvironmentVariableW(L"QV_POLICY_ROOT", L"D:\\Tools");
    EXPECT_TRUE(take(REG_EXPAND_SZ, L"%QV_POLICY_ROOT%\\Show.exe", &strPath));
    EXPECT_STREQ("D:\\Tools\\Show.exe", strPath);
    EXPECT_FALSE(take(REG_SZ, L"   ", &strPath)) << "blank";
    EXPECT_FALSE(take(REG_DWORD, L"C:\\A.exe", &strPath)) << "no text";
    EXPECT_FALSE(take(REG_MULTI_SZ, L"C:\\A.exe", &strPath)) << "a list";
    EXPECT_FALSE(take(REG_SZ, std::wstring(kPolicyMaxPathChars + 1, L'a'), &strPath)) << "too long";
    EXPECT_TRUE(take(REG_SZ, std::wstring(kPolicyMaxPathChars, L'a'), &strPath));
    // A character the ANSI code page lacks would watch another program.
    EXPECT_FALSE(take(REG_SZ, L"C:\\\x0E01\\A.exe", &strPath)) << "not in the code page";
}

TEST(AdminPolicy, TheMachineWinsAndBothHivesWatch) {
    EXPECT_FALSE(MergeAdminPolicy(PolicyHive(), PolicyHive()).Any()) << "nothing set";
    EXPECT_TRUE(MergeAdminPolicy(Hive(0, 1), PolicyHive()).bDisableKeepAwake);
    EXPECT_TRUE(MergeAdminPolicy(PolicyHive(), Hive(0, 1)).bDisableKeepAwake);
    EXPECT_FALSE(MergeAdminPolicy(Hive(0, 0), Hive(0, 1)).bDisableKeepAwake) << "machine's 0 wins";
    EXPECT_EQ(60, MergeAdminPolicy(Hive(1, 60), Hive(1, 5)).nMaxHoldMinutes);
    EXPECT_EQ(5, MergeAdminPolicy(Hive(2, 1), Hive(1, 5)).nMaxHoldMinutes);
    EXPECT_TRUE(MergeAdminPolicy(Hive(2, 1), PolicyHive()).bDisableComputerAwake);
    EXPECT_TRUE(MergeAdminPolicy(PolicyHive(), Hive(3, 1)).bDisableAreaBlackout);
    const AdminPolicy watched = MergeAdminPolicy(Hive(-1, 0, {"C:\\A.exe", "C:\\B.exe"}),
                                                 Hive(-1, 0, {"c:\\a.EXE", "D:\\C.exe"}));
    ASSERT_EQ(3u, watched.watched.size());
    EXPECT_STREQ("C:\\A.exe", watched.watched[0]);
    EXPECT_STREQ("D:\\C.exe", watched.watched[2]);
    // Named by number, 10 after 9; anything else after them.
    EXPECT_TRUE(PolicyNameBefore(L"9", L"10"));
    EXPECT_FALSE(PolicyNameBefore(L"10", L"9"));
    EXPECT_TRUE(PolicyNameBefore(L"10", L"Teams"));
    EXPECT_FALSE(PolicyNameBefore(L"Teams", L"2"));
    EXPECT_TRUE(PolicyNameBefore(L"99999999999", L"Teams")) << "too long for a number: a name";
    const std::vector<CWatchItem> items = PolicyWatchItems({"C:\\Apps\\Teams.exe", "Show"});
    ASSERT_EQ(2u, items.size());
    EXPECT_STREQ("Teams", items[0].m_strTitle);
    EXPECT_STREQ("Show", items[1].m_strTitle);
}

TEST(AdminPolicy, AHiveIsReadAsItsEditorWroteIt) {
    const std::string root =
        "Software\\QorvaneTests\\Policy" + std::to_string(GetCurrentProcessId());
    HKEY hRoot = nullptr, hKey = nullptr, hWatched = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, root.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &hRoot, nullptr));
    EXPECT_FALSE(ReadPolicyHive(hRoot).bSet[0]) << "no policy key";
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(hRoot, kPolicyKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &hKey, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(hRoot, kPolicyWatchedKey, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &hWatched, nullptr));
    const DWORD one = 1, minutes = 45, tooMany = 20000;
    RegSetValueExA(hKey, kPolicyDisableKeepAwake, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                   4);
    RegSetValueExA(hKey, kPolicyMaxHoldMinutes, 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&minutes), 4);
    RegSetValueExA(hKey, kPolicyDisableComputerAwake, 0, REG_SZ, reinterpret_cast<const BYTE*>("1"),
                   2);
    RegSetValueExA(hKey, kPolicyDisableAreaBlackout, 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&tooMany), 4);
    const struct {
        const char* name;
        const char* path;
    } values[] = {{"10", "C:\\Ten.exe"}, {"2", "C:\\Two.exe"}, {"1", "C:\\One.exe"}, {"3", "  "}};
    for (const auto& v : values) {
        RegSetValueExA(hWatched, v.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.path),
                       static_cast<DWORD>(strlen(v.path) + 1));
    }
    const PolicyHive hive = ReadPolicyHive(hRoot);
    EXPECT_TRUE(hive.bSet[0]);
    EXPECT_EQ(1u, hive.dwValue[0]);
    EXPECT_TRUE(hive.bSet[1]);
    EXPECT_EQ(45u, hive.dwValue[1]);
    EXPECT_FALSE(hive.bSet[2]) << "wrong type";
    EXPECT_FALSE(hive.bSet[3]) << "out of range";
    ASSERT_EQ(3u, hive.watched.size());
    EXPECT_STREQ("C:\\One.exe", hive.watched[0]);
    EXPECT_STREQ("C:\\Two.exe", hive.watched[1]);
    EXPECT_STREQ("C:\\Ten.exe", hive.watched[2]);
    RegCloseKey(hWatched);
    RegCloseKey(hKey);
    RegCloseKey(hRoot);
    RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str());
}

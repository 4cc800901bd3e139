#include "PlainRecordSections.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

const std::string kPlain = "[Main]\r\nCount=3\r\n"
                           "[Record_0]\r\nFileName=C:\\a.exe\r\nTitle=\r\nValidCondition=1\r\n"
                           "[Record_1]\r\nFileName=b\r\nIdentify=1\r\nKeepSystemAwake=1\r\n"
                           "[Record_2]\r\nWaitTime=60\r\n";
const std::vector<std::string> kNames = {"Main", "Record_0", "Record_1", "Record_2"};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

TEST(PlainRecordSections, OnlyRecordsBelowTheCountWithNothingButTheirOwnKeys) {
    struct Case {
        const char* what;
        std::string raw;
        std::vector<std::string> names;
        int count;
        std::set<std::string> expected;
    } const cases[] = {
        {"plain", kPlain, kNames, 3, {"RECORD_0", "RECORD_1", "RECORD_2"}},
        {"shorter list", kPlain, kNames, 2, {"RECORD_0", "RECORD_1"}},
        {"another key",
         Replace(kPlain, "Identify=1", "Extra=1"),
         kNames,
         3,
         {"RECORD_0", "RECORD_2"}},
        {"key in other case",
         Replace(kPlain, "FileName=C", "filename=C"),
         kNames,
         3,
         {"RECORD_1", "RECORD_2"}},
        {"comment",
         Replace(kPlain, "Title=\r\n", ";Title=\r\n"),
         kNames,
         3,
         {"RECORD_1", "RECORD_2"}},
        {"key without value",
         Replace(kPlain, "Title=\r\n", "Title\r\n"),
         kNames,
         3,
         {"RECORD_1", "RECORD_2"}},
        {"header in other case",
         Replace(kPlain, "[Record_1]", "[RECORD_1]"),
         {"Main", "Record_0", "RECORD_1", "Record_2"},
         3,
         {"RECORD_0", "RECORD_1", "RECORD_2"}},
        {"not a record name",
         Replace(kPlain, "[Record_1]", "[Record_01]"),
         {"Main", "Record_0", "Record_01", "Record_2"},
         3,
         {"RECORD_0", "RECORD_2"}},
        {"the platform lists other headers", kPlain, {"Main", "Record_0", "Record_2"}, 3, {}},
        {"blank before a key", Replace(kPlain, "Identify", " Identify"), kNames, 3, {}},
        {"blank inside a header", Replace(kPlain, "[Record_2]", "[Record_2 ]"), kNames, 3, {}},
        {"line feed alone", Replace(kPlain, "Title=\r\n", "Title=\n"), kNames, 3, {}},
        {"carriage return alone", Replace(kPlain, "Title=\r\n", "Title=\r"), kNames, 3, {}},
        {"lead byte before a line end", Replace(kPlain, "Title=", "Title=\x81"), kNames, 3, {}},
        {"byte-order mark", "\xef\xbb\xbf" + kPlain, kNames, 3, {}},
        {"nothing", "", {}, 3, {}},
    };
    for (const Case& c : cases) {
        std::unordered_set<std::string> found = PlainRecordSections(c.raw, c.names, c.count);
        EXPECT_EQ(c.expected, std::set<std::string>(found.begin(), found.end())) << c.what;
    }
}

} // namespace

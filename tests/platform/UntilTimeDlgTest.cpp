#include "CString.h"
#include "CUntilTimeDlg.h"
#include "DialogDriver.h"
#include "UntilTime.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using D = DialogDriver;

TEST(UntilTime, TodayWhileAheadTomorrowOnceComeOrPassed) {
    const struct {
        int now, chosen;
        bool today;
    } cases[] = {
        {10 * 60, 10 * 60 + 1, true},  // a minute ahead
        {10 * 60, 10 * 60, false},     // now: a hold would end at once
        {10 * 60, 9 * 60 + 59, false}, // a minute ago
        {0, 23 * 60 + 59, true},       // all day ahead
        {23 * 60 + 59, 0, false},      // midnight, a minute away, is tomorrow's
        {17 * 60 + 31, 17 * 60 + 30, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.today, IsLaterToday(c.now, c.chosen)) << c.now << " " << c.chosen;
    }
}

TEST(UntilTime, NextFullHourComesAfterNowAndWrapsAtMidnight) {
    const struct {
        int now, next;
    } cases[] = {{0, 60}, {59, 60}, {60, 120}, {17 * 60 + 30, 18 * 60}, {23 * 60, 0}, {1439, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.next, NextFullHour(c.now)) << c.now;
    }
}

std::string DayText(int nChosen) {
    CString text;
    text.LoadString(IsLaterToday(CurrentMinuteOfDay(), nChosen) ? IDS_UNTIL_TODAY
                                                                : IDS_UNTIL_TOMORROW);
    return std::string(text);
}

// A time halfway to midnight and one halfway from it: today's and
// tomorrow's, far from the minute the clock may turn during the test.
TEST(UntilTimeDlg, ShowsTheGivenTimeTellsItsDayAndReturnsTheChosenOne) {
    const int nNow = CurrentMinuteOfDay();
    if (nNow > 23 * 60 + 50) {
        GTEST_SKIP() << "too close to midnight for a time later today";
    }
    const int nAhead = nNow + (24 * 60 - nNow) / 2, nAgo = nNow / 2;
    ASSERT_NE(DayText(nAhead), DayText(nAgo));
    const struct {
        const char* name;
        int shown, chosen;
        bool bEnter; // Enter, the default button; else Esc
    } cases[] = {{"an earlier time chosen", nAhead, nAgo, true},
                 {"a later time chosen, then Esc", nAgo, nAhead, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CUntilTimeDlg dlg;
        dlg.m_nMinute = c.shown;
        const INT_PTR result =
            D::Run([&] { return dlg.DoModal(); },
                   [&](D& d) {
                       HWND hDlg = d.WaitForDialog();
                       ASSERT_NE(nullptr, hDlg);
                       EXPECT_EQ(c.shown, D::PickerMinute(hDlg, IDC_UNTIL_TIME));
                       EXPECT_EQ(DayText(c.shown), D::Text(hDlg, IDC_UNTIL_DAY));
                       HWND hPicker = GetDlgItem(hDlg, IDC_UNTIL_TIME);
                       EXPECT_EQ(hPicker, d.Focus());
                       D::ChoosePickerMinute(hDlg, IDC_UNTIL_TIME, c.chosen);
                       EXPECT_EQ(DayText(c.chosen), D::Text(hDlg, IDC_UNTIL_DAY));
                       d.PressKey(c.bEnter ? VK_RETURN : VK_ESCAPE);
                       EXPECT_TRUE(d.WaitForClose());
                   });
        EXPECT_EQ(c.bEnter ? IDOK : IDCANCEL, result);
        EXPECT_EQ(c.bEnter ? c.chosen : c.shown, dlg.m_nMinute);
    }
}

} // namespace

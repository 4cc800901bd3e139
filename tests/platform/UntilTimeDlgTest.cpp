#include "CString.h"
#include "CUntilTimeDlg.h"
#include "DialogDriver.h"
#include "UntilTime.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using D = DialogDriver;

TEST(UntilTime, TodayWhileAheadTomorrowOnceComeOrPassedNextFullHourWraps) {
    const struct {
        int now, chosen;
        bool today;
    } cases[] = {
        {600, 601, true}, {600, 600, false}, {600, 599, false}, {0, 1439, true}, {1439, 0, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.today, IsLaterToday(c.now, c.chosen)) << c.now << " " << c.chosen;
    }
    EXPECT_EQ(60, NextFullHour(0));
    EXPECT_EQ(18 * 60, NextFullHour(17 * 60 + 30));
    EXPECT_EQ(0, NextFullHour(23 * 60));
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
    SetCursorPos(1010, 750);
    const int nNow = CurrentMinuteOfDay();
    if (nNow > 23 * 60 + 50) {
        GTEST_SKIP() << "too close to midnight for a time later today";
    }
    const int nAhead = nNow + (24 * 60 - nNow) / 2, nAgo = nNow / 2;
    ASSERT_NE(DayText(nAhead), DayText(nAgo));
    const struct {
        int shown, chosen;
        UINT key; // Enter takes the default button, OK
    } cases[] = {{nAhead, nAgo, VK_RETURN}, {nAgo, nAhead, VK_ESCAPE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        CUntilTimeDlg dlg;
        dlg.m_nMinute = c.shown;
        const INT_PTR result =
            D::Run([&] { return dlg.DoModal(); },
                   [&](D& d) {
                       HWND hDlg = d.WaitForDialog();
                       ASSERT_NE(nullptr, hDlg);
                       EXPECT_EQ(c.shown, D::PickerMinute(hDlg, IDC_UNTIL_TIME));
                       EXPECT_EQ(DayText(c.shown), D::Text(hDlg, IDC_UNTIL_DAY));
                       D::ChoosePickerMinute(hDlg, IDC_UNTIL_TIME, c.chosen);
                       EXPECT_EQ(DayText(c.chosen), D::Text(hDlg, IDC_UNTIL_DAY));
                       d.PressKey(c.key);
                       EXPECT_TRUE(d.WaitForClose());
                   });
        EXPECT_EQ(c.key == VK_RETURN ? IDOK : IDCANCEL, result);
        EXPECT_EQ(c.key == VK_RETURN ? c.chosen : c.shown, dlg.m_nMinute);
    }
}

} // namespace

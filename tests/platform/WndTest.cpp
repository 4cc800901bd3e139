#include "CListCtrl.h"
#include "CWnd.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

// Counts what reaches it; can be told to throw.
class CRecorder : public CWnd {
public:
    int m_nSeen = 0;
    bool m_bThrow = false;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) {
            ++m_nSeen;
            if (m_bThrow) {
                throw std::runtime_error("handler failed");
            }
            return 42;
        }
        return DefWindowProc(message, wParam, lParam);
    }
};

HWND CreateLabel() {
    return CreateWindowA("Static", "label", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

TEST(Wnd, SubclassingRoutesMessagesAndIsUndoneWhenTheObjectGoesFirst) {
    HWND hWnd = CreateLabel();
    ASSERT_NE(nullptr, hWnd);
    const LONG_PTR original = GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    {
        CRecorder recorder;
        ASSERT_TRUE(recorder.SubclassWindow(hWnd));
        EXPECT_EQ(&recorder, CWnd::FromHandle(hWnd));
        // A window has one owner.
        CRecorder second;
        EXPECT_FALSE(second.SubclassWindow(hWnd));
        EXPECT_EQ(42, SendMessageA(hWnd, WM_APP, 0, 0));
        EXPECT_EQ(1, recorder.m_nSeen);

        // No exception crosses into the system: the message just fails.
        recorder.m_bThrow = true;
        EXPECT_EQ(0, SendMessageA(hWnd, WM_APP, 0, 0));
        EXPECT_EQ(2, recorder.m_nSeen);
    }
    // The window outlives its object and works on with its own procedure.
    EXPECT_EQ(original, GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, CWnd::FromHandle(hWnd));
    EXPECT_EQ(0, SendMessageA(hWnd, WM_APP, 0, 0));
    DestroyWindow(hWnd);
}

TEST(Wnd, ObjectLetsGoOfItsWindowWhenTheWindowGoesFirst) {
    CRecorder recorder;
    HWND hWnd = CreateLabel();
    ASSERT_TRUE(recorder.SubclassWindow(hWnd));
    DestroyWindow(hWnd);
    EXPECT_EQ(nullptr, recorder.GetSafeHwnd());
    // A new window can be bound.
    HWND hNext = CreateLabel();
    EXPECT_TRUE(recorder.SubclassWindow(hNext));
    DestroyWindow(hNext);
}

// The list's texts come back whole, also paths longer than MAX_PATH.
TEST(ListCtrl, ItemTextsOfAnyLengthComeBackWhole) {
    HWND hList = CreateWindowA(WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 200, 100, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, hList);
    CListCtrl list;
    ASSERT_TRUE(list.SubclassWindow(hList));
    list.InsertColumn(0, "a", LVCFMT_LEFT, 50);
    list.InsertColumn(1, "b", LVCFMT_LEFT, 50);
    for (size_t length : {0u, 511u, 512u, 2000u, 40000u}) {
        const std::string text = "C:\\" + std::string(length, 'x');
        list.InsertItem(LVIF_TEXT, 0, "row", 0);
        list.SetItemText(0, 1, text.c_str());
        EXPECT_EQ(text, std::string(list.GetItemText(0, 1))) << length;
        list.DeleteItem(0);
    }
    DestroyWindow(hList);
}

} // namespace

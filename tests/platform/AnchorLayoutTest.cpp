#include "CControlsTestDlg.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Str(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

RECT ChildRect(HWND hChild) {
    RECT r;
    GetWindowRect(hChild, &r);
    MapWindowPoints(nullptr, GetParent(hChild), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Place(HWND hChild, int l, int t, int r, int b) {
    MoveWindow(hChild, l, t, r - l, b - t, TRUE);
}

// Gives the dialog a client area of the size asked for; the dialog's WM_SIZE
// runs its layout.
void SetClientSize(HWND hDlg, int cx, int cy) {
    RECT window, client;
    GetWindowRect(hDlg, &window);
    GetClientRect(hDlg, &client);
    const int frameX = (window.right - window.left) - client.right;
    const int frameY = (window.bottom - window.top) - client.bottom;
    SetWindowPos(hDlg, nullptr, 0, 0, cx + frameX, cy + frameY, SWP_NOMOVE | SWP_NOZORDER);
}

TEST(AnchorLayout, MovesRealControlsWhenTheDialogIsResized) {
    CControlsTestDlg dlg;
    dlg.Run([](CControlsTestDlg& d) {
        HWND hDlg = d.GetSafeHwnd();
        SetClientSize(hDlg, 384, 200);
        RECT client;
        GetClientRect(hDlg, &client);
        ASSERT_EQ(384, client.right);
        ASSERT_EQ(200, client.bottom);

        HWND hList = d.GetDlgItem(1000);
        HWND hAdd = d.m_btnAdd.GetSafeHwnd();
        HWND hFollower = d.m_btnDelete.GetSafeHwnd();
        HWND hEarly = d.m_btnHide.GetSafeHwnd();
        HWND hLateRef = d.m_btnProperties.GetSafeHwnd();
        Place(hList, 0, 20, 380, 170);
        Place(hAdd, 280, 170, 370, 194);
        Place(hFollower, 10, 100, 60, 120);
        Place(hEarly, 10, 130, 60, 150);
        Place(hLateRef, 200, 170, 260, 194);

        CAnchorLayout& layout = d.m_layout;
        layout.SetParentWnd(hDlg);
        // Registered before the control it follows: it sees where that one was.
        layout.AddControl(hEarly, hLateRef, 1, 2, 1, 2);
        layout.AddControl(hList, nullptr, 0, 0, 3, 4);
        // A control that was not found is kept and skipped.
        layout.AddControl(nullptr, nullptr, 3, 4, 3, 4);
        layout.AddControl(hAdd, nullptr, 3, 4, 3, 4);
        // Follows the add button's top-left corner, registered after it.
        layout.AddControl(hFollower, hAdd, 1, 2, 1, 2);
        layout.AddControl(hLateRef, nullptr, 3, 4, 3, 4);

        SetClientSize(hDlg, 500, 300);
        GetClientRect(hDlg, &client);
        ASSERT_EQ(500, client.right);
        ASSERT_EQ(300, client.bottom);
        EXPECT_EQ("(0, 20, 496, 270)", Str(ChildRect(hList)));
        EXPECT_EQ("(396, 270, 486, 294)", Str(ChildRect(hAdd)));
        EXPECT_EQ("(126, 200, 176, 220)", Str(ChildRect(hFollower)));
        EXPECT_EQ("(316, 270, 376, 294)", Str(ChildRect(hLateRef)));
        EXPECT_EQ("(10, 130, 60, 150)", Str(ChildRect(hEarly)));

        // The next layout catches up with the reference's new place.
        layout.ApplyLayout(500, 300);
        EXPECT_EQ("(126, 230, 176, 250)", Str(ChildRect(hEarly)));

        // Back to the first size: everything returns.
        SetClientSize(hDlg, 384, 200);
        layout.ApplyLayout(384, 200);
        EXPECT_EQ("(0, 20, 380, 170)", Str(ChildRect(hList)));
        EXPECT_EQ("(280, 170, 370, 194)", Str(ChildRect(hAdd)));
        EXPECT_EQ("(10, 100, 60, 120)", Str(ChildRect(hFollower)));
        EXPECT_EQ("(10, 130, 60, 150)", Str(ChildRect(hEarly)));
    });
}

} // namespace

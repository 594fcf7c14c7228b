// The framework's window objects: the owner rule of GetSafeOwner and the
// objects that stand for window handles.
#include <gtest/gtest.h>

#include "dialog_test_app.h"
#include "ui/resource.h"
#include "winsim/user.h"
#include "winsim/window_manager.h"

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

HWND OpenModelessDialog(HWND owner) {
    winsim::ExpectDialog(IDD_RESTART);
    HWND dialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_RESTART), owner, PlainDialogProc, 0);
    ShowWindow(dialog, SW_SHOW);
    return dialog;
}

TEST(GetSafeOwnerTest, ParentOrItsTopLevelWindowOrTheMainWindowsLastPopup) {
    DialogTestApp test;
    HWND topLevel = winsim::CreateTestWindow("Top");
    HWND dialog = OpenModelessDialog(topLevel);
    HWND child = GetDlgItem(dialog, IDOK);

    // A given parent, or the first ancestor of a child that is no child.
    EXPECT_EQ(CWnd::GetSafeOwner(CWnd::FromHandle(topLevel))->m_hWnd, topLevel);
    EXPECT_EQ(CWnd::GetSafeOwner(CWnd::FromHandle(dialog))->m_hWnd, dialog);
    EXPECT_EQ(CWnd::GetSafeOwner(CWnd::FromHandle(child))->m_hWnd, dialog);

    // No parent: the main window of the run has no window, so no owner.
    EXPECT_EQ(CWnd::GetSafeOwner(NULL), nullptr);

    // No parent and a main window with a window: its last active popup.
    CWnd* placeholder = test.app().m_pMainWnd;
    CWnd mainWindow;
    mainWindow.Attach(topLevel);
    test.app().m_pMainWnd = &mainWindow;
    EXPECT_EQ(CWnd::GetSafeOwner(NULL)->m_hWnd, dialog);
    DestroyWindow(dialog);
    EXPECT_EQ(CWnd::GetSafeOwner(NULL)->m_hWnd, topLevel);
    // No main window at all: no owner.
    test.app().m_pMainWnd = nullptr;
    EXPECT_EQ(CWnd::GetSafeOwner(NULL), nullptr);
    test.app().m_pMainWnd = placeholder;
}

TEST(CWndTest, AHandleHasOneObject) {
    DialogTestApp test;
    HWND window = winsim::CreateTestWindow("Window");
    CWnd* temporary = CWnd::FromHandle(window);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(CWnd::FromHandle(window), temporary) << "the same temporary object each time";
    EXPECT_EQ(CWnd::FromHandlePermanent(window), nullptr);
    CWnd attached;
    attached.Attach(window);
    EXPECT_EQ(CWnd::FromHandle(window), &attached);
    EXPECT_EQ(attached.Detach(), window);
    EXPECT_EQ(CWnd::FromHandle(NULL), nullptr);
}

TEST(CDialogTest, AMissingTemplateGivesMinusOneAndNoWindow) {
    DialogTestApp test;
    CDialog dialog(4711);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(winsim::LiveWindowCount(), 0);
    EXPECT_FALSE(dialog.Create(4711));
}

TEST(CWinAppTest, IconsComeFromTheResourcesOnce) {
    DialogTestApp test(0x0410);
    HICON icon = test.app().LoadIcon(IDR_MAINFRAME);
    EXPECT_NE(icon, nullptr) << "the French icon group serves every language";
    EXPECT_EQ(test.app().LoadIcon(IDR_MAINFRAME), icon);
    EXPECT_EQ(test.app().LoadIcon(4711), nullptr);
}

}  // namespace

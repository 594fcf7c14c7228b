// Where the framework's dialogs open: after OnInitDialog a dialog whose
// template is hidden, that is still hidden and where the dialog manager put
// it, and that is unowned or has a disabled owner, is centred over its
// owner or the screen; every other dialog keeps its place.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "dialog_test_app.h"
#include "ui/resource.h"
#include "winsim/machine.h"
#include "winsim/transcript.h"
#include "winsim/user.h"
#include "winsim/window_manager.h"

namespace {

// A plain dialog whose OnInitDialog may do one more thing.
class HookedDialog : public CDialog {
public:
    HookedDialog(UINT nIDTemplate, CWnd* pParent, std::function<void(HWND)> init)
        : CDialog(nIDTemplate, pParent), init_(std::move(init)) {}

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (init_) init_(m_hWnd);
        return TRUE;
    }

private:
    std::function<void(HWND)> init_;
};

// The rectangle of the dialog's opening line: "left,top,right,bottom".
std::string OpenedAt(WORD templateId) {
    std::vector<std::string> lines = winsim::TranscriptLines("dialog open id=" + std::to_string(templateId) + " ");
    if (lines.size() != 1) return "opened " + std::to_string(lines.size()) + " times";
    return lines[0].substr(lines[0].find(" rect=") + 6);
}

enum class Owner { None, Shown, Hidden, Minimized };

TEST(CDialogPlaceTest, OnlyAHiddenUnmovedDialogWithoutAnActiveOwnerIsCentred) {
    // The restart dialog is 298 x 178 pixels, the file types dialog 606 x
    // 151, the destination dialog 357 x 250. The owner, where there is one,
    // is a 640 x 480 window at (100, 50).
    struct Case {
        const char* name;
        UINT templateId;
        int screenWidth, screenHeight;
        Owner owner;
        bool modal;
        std::function<void(HWND)> init;
        const char* rect;
    } cases[] = {
        {"unowned, on the screen", IDD_RESTART, 800, 600, Owner::None, true, nullptr, "251,211,549,389"},
        {"unowned, a smaller screen", IDD_RESTART, 640, 480, Owner::None, true, nullptr, "171,151,469,329"},
        {"modal: over its disabled owner", IDD_RESTART, 800, 600, Owner::Shown, true, nullptr, "271,201,569,379"},
        {"over the screen when the owner is hidden", IDD_RESTART, 800, 600, Owner::Hidden, true, nullptr,
         "251,211,549,389"},
        {"over the screen when the owner is minimized", IDD_RESTART, 800, 600, Owner::Minimized, true, nullptr,
         "251,211,549,389"},
        // Its owner still takes input: the template's place, from the owner.
        {"modeless with an enabled owner", IDD_RESTART, 800, 600, Owner::Shown, false, nullptr, "100,50,398,228"},
        {"a template with WS_VISIBLE, hidden all the same during WM_INITDIALOG", IDD_DESTINATION, 800, 600,
         Owner::None, true, nullptr, "222,175,579,425"},
        {"moved by OnInitDialog", IDD_RESTART, 800, 600, Owner::None, true,
         [](HWND dialog) { SetWindowPos(dialog, NULL, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER); },
         "10,20,308,198"},
        {"shown by OnInitDialog", IDD_RESTART, 800, 600, Owner::None, true,
         [](HWND dialog) { ShowWindow(dialog, SW_SHOW); }, "0,0,298,178"},
        // Wider than the screen: its left edge stays on it.
        {"wider than the screen", IDD_FILETYPES, 320, 200, Owner::None, true, nullptr, "0,25,606,176"},
    };
    for (const auto& c : cases) {
        DialogTestApp test;
        winsim::settings().screenWidth = c.screenWidth;
        winsim::settings().screenHeight = c.screenHeight;
        CWnd* owner = nullptr;
        if (c.owner != Owner::None) {
            HWND window = winsim::CreateTestWindow("Owner");
            SetWindowPos(window, NULL, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            if (c.owner == Owner::Hidden) ShowWindow(window, SW_HIDE);
            if (c.owner == Owner::Minimized) winsim::MinimizeWindow(window, 640, 480);
            owner = CWnd::FromHandle(window);
        }
        HookedDialog dialog(c.templateId, owner, c.init);
        if (c.modal) {
            winsim::ExpectDialog(static_cast<WORD>(c.templateId)).Escape();
            EXPECT_EQ(dialog.DoModal(), IDCANCEL) << c.name;
        } else {
            winsim::ExpectDialog(static_cast<WORD>(c.templateId));
            ASSERT_TRUE(dialog.Create(c.templateId, owner)) << c.name;
            dialog.DestroyWindow();
        }
        EXPECT_EQ(OpenedAt(static_cast<WORD>(c.templateId)), c.rect) << c.name;
    }
}

TEST(CWndPlaceTest, AChildIsCentredInItsParentsClientArea) {
    DialogTestApp test;
    winsim::ExpectDialog(IDD_RESTART);
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_RESTART));
    // OK, 75 x 22 pixels, in the 298 x 178 client area of the dialog,
    // which the framework centred on the 800 x 600 screen.
    CWnd* ok = dialog.GetDlgItem(IDOK);
    ok->CenterWindow();
    RECT rect;
    ok->GetWindowRect(&rect);
    EXPECT_EQ(rect.left, 251 + 111);
    EXPECT_EQ(rect.top, 211 + 78);
    EXPECT_EQ(rect.right - rect.left, 75);
    EXPECT_EQ(rect.bottom - rect.top, 22);
    EXPECT_EQ(winsim::TranscriptLines("place "), std::vector<std::string>{"place dialog=259 id=1 rect=362,289,437,311"});
    dialog.DestroyWindow();
}

}  // namespace

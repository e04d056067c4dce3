#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "app/form1_layout.h"
#include "platform/platform_error.h"
#include "platform/win32/port_handles.h"
#include "platform/win32/win32_form.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_ui.h"
#include "processes.h"
#include "recording_events.h"

namespace calvorin {
namespace {

using testkit::RecordingEvents;

std::string menuText(HMENU menu, int position) {
  char text[128] = {};
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = sizeof text;
  GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
  return (info.fType & MFT_SEPARATOR) ? "-" : text;
}

std::vector<std::string> menuTexts(HMENU menu) {
  std::vector<std::string> texts;
  for (int i = 0; i < GetMenuItemCount(menu); ++i)
    texts.push_back(menuText(menu, i));
  return texts;
}

HWND childWithClass(HWND parent, const char* className, int index) {
  HWND child = nullptr;
  for (int i = 0; i <= index; ++i) {
    child = FindWindowExA(parent, child, className, nullptr);
  }
  return child;
}

using testkit::pumpMessages;

// Stands in for a WMI call on Windows: it leaves the process, and COM waits
// for the reply in a modal loop that dispatches sent and posted messages.
void wmiCallPumpingLikeCom() {
  testkit::waitUntil([] { return false; }, 300, testkit::Pump::Messages);
}

bool quitPosted() {
  MSG message;
  return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

// Refuses to make STATIC windows, so that a form's labels cannot be built.
LRESULT CALLBACK refuseLabels(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const char* className = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass;
    if (HIWORD(reinterpret_cast<std::uintptr_t>(className)) != 0 &&
        lstrcmpiA(className, "STATIC") == 0)
      return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK countForm(HWND window, LPARAM count) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  *reinterpret_cast<int*>(count) += lstrcmpA(name, win32::Win32Form::kClassName) == 0;
  return TRUE;
}

int formsOfThisThread() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &countForm, reinterpret_cast<LPARAM>(&count));
  return count;
}

class Form1WindowTest : public ::testing::Test {
 protected:
  Form1WindowTest() : form(ui.createForm(app::form1Layout(), events)) {
    form->setMouseMoveListener(&events);
  }

  HWND hwnd() { return win32::fromPortHandle<HWND>(form->handle()); }

  COLORREF clientPixel(HWND window, int x, int y) {
    const win32::WindowDc dc(window);
    return GetPixel(dc.get(), x, y);
  }

  win32::Win32HelpEngine helpEngine;
  win32::Win32Ui ui{helpEngine};
  RecordingEvents events;
  std::unique_ptr<platform::Form> form;
};

TEST_F(Form1WindowTest, HasTheCaptionClientSizeAndMenuTree) {
  char caption[64] = {};
  GetWindowTextA(hwnd(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Calvorin 1.0");

  RECT client{};
  GetClientRect(hwnd(), &client);
  EXPECT_EQ(client.right, 345);
  EXPECT_EQ(client.bottom, 143);

  const HMENU bar = GetMenu(hwnd());
  EXPECT_EQ(menuTexts(bar), (std::vector<std::string>{"Messenger Service", "Refresh", "Help"}));
  EXPECT_EQ(GetSubMenu(bar, 1), nullptr) << "Refresh is a command on the bar itself";
  EXPECT_EQ(menuTexts(GetSubMenu(bar, 0)),
            (std::vector<std::string>{"&Start", "-", "&Stop", "-", "&Enable Auto StartUp", "-",
                                      "&Disable Auto StartUp", "-", "&E&xit"}));
  EXPECT_EQ(menuTexts(GetSubMenu(bar, 2)), (std::vector<std::string>{"Messenger Help", "About"}));
  EXPECT_FALSE(IsWindowVisible(hwnd()));
}

TEST_F(Form1WindowTest, ControlsSitWhereTheLayoutPutsThem) {
  const HWND label = childWithClass(hwnd(), "STATIC", 0);
  ASSERT_NE(label, nullptr);
  RECT bounds{};
  GetWindowRect(label, &bounds);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&bounds), 2);
  EXPECT_EQ(bounds.left, 0);
  EXPECT_EQ(bounds.top, 128);
  EXPECT_EQ(bounds.right - bounds.left, 345);
  EXPECT_EQ(bounds.bottom - bounds.top, 17);

  // Image4 (STOP) then Image3 (START), visible; the two tray pictures hidden.
  const HWND stop = childWithClass(hwnd(), "CalvorinPicture", 0);
  const HWND start = childWithClass(hwnd(), "CalvorinPicture", 1);
  GetWindowRect(stop, &bounds);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&bounds), 2);
  EXPECT_EQ(bounds.left, 216);
  EXPECT_EQ(bounds.top, 24);
  EXPECT_EQ(bounds.right - bounds.left, 59);
  GetWindowRect(start, &bounds);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&bounds), 2);
  EXPECT_EQ(bounds.left, 72);
  EXPECT_FALSE(IsWindowVisible(childWithClass(hwnd(), "CalvorinPicture", 2)));
  EXPECT_FALSE(IsWindowVisible(childWithClass(hwnd(), "CalvorinPicture", 3)));
}

TEST_F(Form1WindowTest, PaintsTheBackgroundAndTheStatusLineInTheirColours) {
  auto& label = form->label(app::Label1);
  label.setText("Your System is vulnerable to Messenger Spam.");
  label.setTextColor(0x00C000);
  form->show();
  UpdateWindow(hwnd());
  pumpMessages();

  EXPECT_EQ(clientPixel(hwnd(), 3, 3), RGB(224, 224, 224));
  const HWND labelWindow = childWithClass(hwnd(), "STATIC", 0);
  EXPECT_EQ(clientPixel(labelWindow, 343, 8), RGB(192, 192, 192));
  int green = 0;
  for (int x = 0; x < 300; ++x) {
    for (int y = 0; y < 17; ++y) {
      if (clientPixel(labelWindow, x, y) == RGB(0, 192, 0))
        ++green;
    }
  }
  EXPECT_GT(green, 50) << "the status text is drawn in green";
  EXPECT_EQ(label.text(), "Your System is vulnerable to Messenger Spam.");
  EXPECT_EQ(label.textColor(), 0x00C000u);
}

TEST_F(Form1WindowTest, MenuEntriesAndPicturesSwitchTheirEnabledState) {
  auto& stop = form->menuItem(app::mnuStop);
  stop.setEnabled(false);
  EXPECT_FALSE(stop.enabled());
  EXPECT_TRUE(GetMenuState(GetSubMenu(GetMenu(hwnd()), 0), 2, MF_BYPOSITION) & MF_GRAYED);
  stop.setEnabled(true);
  EXPECT_TRUE(stop.enabled());

  auto& image3 = form->picture(app::Image3);
  image3.setEnabled(false);
  EXPECT_FALSE(image3.enabled());
  EXPECT_FALSE(IsWindowEnabled(childWithClass(hwnd(), "CalvorinPicture", 1)));
  EXPECT_THROW(form->menuItem(999), platform::PlatformError);
}

TEST_F(Form1WindowTest, TrayPicturesHoldIconHandles) {
  for (app::Form1Control picture : {app::Image1, app::Image2}) {
    const auto handle = form->picture(picture).picture()->handle();
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(win32::fromPortHandle<HICON>(handle), &info)) << picture;
    const win32::UniqueBitmap colour(info.hbmColor);
    const win32::UniqueBitmap mask(info.hbmMask);
  }
}

TEST_F(Form1WindowTest, ATrayNotificationArrivesAsAMouseMoveInTwips) {
  SendMessageA(hwnd(), WM_MOUSEMOVE, 1, MAKELPARAM(517, 0));

  ASSERT_EQ(events.mouseMoves.size(), 1u);
  EXPECT_FLOAT_EQ(events.mouseMoves[0], 517 * ui.twipsPerPixelX());
}

TEST_F(Form1WindowTest, MenuCommandsAndPictureClicksReachTheirHandlers) {
  const HMENU service = GetSubMenu(GetMenu(hwnd()), 0);
  SendMessageA(hwnd(), WM_COMMAND, GetMenuItemID(service, 2), 0);
  const HWND start = childWithClass(hwnd(), "CalvorinPicture", 1);
  SendMessageA(start, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(start, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));

  EXPECT_EQ(events.events, (std::vector<std::string>{"menu:" + std::to_string(app::mnuStop),
                                                     "click:" + std::to_string(app::Image3)}));
}

TEST_F(Form1WindowTest, APictureClicksOnAPressAndAReleaseOverItOnly) {
  const HWND start = childWithClass(hwnd(), "CalvorinPicture", 1);
  const auto inside = MAKELPARAM(5, 5);
  // A double-click: one click, then the double-click's own press.
  SendMessageA(start, WM_LBUTTONDOWN, MK_LBUTTON, inside);
  SendMessageA(start, WM_LBUTTONUP, 0, inside);
  SendMessageA(start, WM_LBUTTONDBLCLK, MK_LBUTTON, inside);
  SendMessageA(start, WM_LBUTTONUP, 0, inside);
  EXPECT_EQ(events.events, std::vector<std::string>{"click:" + std::to_string(app::Image3)});

  // Pressed elsewhere and released over it; pressed on it and released elsewhere.
  SendMessageA(start, WM_LBUTTONUP, 0, inside);
  SendMessageA(start, WM_LBUTTONDOWN, MK_LBUTTON, inside);
  SendMessageA(start, WM_LBUTTONUP, 0, MAKELPARAM(-20, 5));
  EXPECT_EQ(events.events.size(), 1u);
}

TEST_F(Form1WindowTest, EventsArrivingInsideAHandlersWmiCallRunAfterItInOrder) {
  const HMENU service = GetSubMenu(GetMenu(hwnd()), 0);
  const auto command = [&](int position) {
    return static_cast<WPARAM>(GetMenuItemID(service, position));
  };
  bool running = false;
  bool nested = false;
  events.onEvent = [&](const std::string& event) {
    nested = nested || running;
    if (event != "menu:" + std::to_string(app::mnustart))
      return;
    // The handler's own close request is its own doing, and runs at once.
    form->requestClose();
    running = true;
    std::thread outside([&] {
      Sleep(50);
      SendMessageA(hwnd(), WM_CLOSE, 0, 0);
      SendMessageA(hwnd(), WM_COMMAND, command(2), 0);
      SendMessageA(hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(517, 0));
    });
    wmiCallPumpingLikeCom();
    outside.join();
    running = false;
  };
  SendMessageA(hwnd(), WM_COMMAND, command(0), 0);
  EXPECT_EQ(events.events.size(), 2u) << "nothing else ran inside the handler";
  pumpMessages();

  EXPECT_FALSE(nested);
  EXPECT_EQ(events.events,
            (std::vector<std::string>{"menu:" + std::to_string(app::mnustart), "closeRequested",
                                      "closeRequested", "menu:" + std::to_string(app::mnuStop),
                                      "mouseMove"}));
}

TEST_F(Form1WindowTest, AWindowThatFailsToBuildLeavesNothingBehind) {
  const int before = formsOfThisThread();
  RecordingEvents second;
  {
    const win32::UniqueHook hook(
        SetWindowsHookExA(WH_CBT, &refuseLabels, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    EXPECT_THROW(ui.createForm(app::form1Layout(), second), platform::PlatformError);
  }
  EXPECT_EQ(formsOfThisThread(), before);
  EXPECT_TRUE(second.events.empty());

  // The failed window no longer counts: closing the one left ends the loop.
  events.allowClose = true;
  form->requestClose();
  EXPECT_TRUE(quitPosted());
}

TEST_F(Form1WindowTest, AFailingHandlerEndsThereAndTheWindowGoesOn) {
  events.onEvent = [](const std::string&) { throw platform::PlatformError("WMI went away"); };
  const HMENU service = GetSubMenu(GetMenu(hwnd()), 0);
  SendMessageA(hwnd(), WM_COMMAND, GetMenuItemID(service, 0), 0);

  EXPECT_EQ(events.failures, std::vector<std::string>{"WMI went away"});
  EXPECT_TRUE(IsWindow(hwnd()));
}

// Any process may send the window a WM_NCCREATE; it must not be taken for
// the window's creation, whose data it would then trust.
TEST_F(Form1WindowTest, AWmNcCreateSentLaterIsNotTakenForTheCreation) {
  CREATESTRUCTA create{};
  create.lpCreateParams = reinterpret_cast<void*>(0x1234);
  SendMessageA(hwnd(), WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create));

  const HMENU service = GetSubMenu(GetMenu(hwnd()), 0);
  SendMessageA(hwnd(), WM_COMMAND, GetMenuItemID(service, 0), 0);
  EXPECT_EQ(events.events.size(), 1u);
}

TEST_F(Form1WindowTest, ARefusedCloseKeepsTheWindowAndAnAllowedOneDestroysIt) {
  form->requestClose();
  EXPECT_TRUE(IsWindow(hwnd()));

  const HWND window = hwnd();
  events.allowClose = true;
  form->requestClose();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(events.events,
            (std::vector<std::string>{"closeRequested", "closeRequested", "closed"}));
  pumpMessages();
}

TEST_F(Form1WindowTest, MinimisingReportsAResizeAndTheMinimisedState) {
  form->show();
  const int before = events.resizes;
  form->setWindowState(platform::WindowState::Minimized);
  EXPECT_GT(events.resizes, before);
  EXPECT_EQ(form->windowState(), platform::WindowState::Minimized);

  form->setWindowState(platform::WindowState::Normal);
  EXPECT_EQ(form->windowState(), platform::WindowState::Normal);
}

}  // namespace
}  // namespace calvorin

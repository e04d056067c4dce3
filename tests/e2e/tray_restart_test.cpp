#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "calvorin_test.h"

namespace calvorin::testkit {
namespace {

// A notification area of the test's own, standing in for a restarted
// Explorer: Wine's explorer cannot be started again once ended. It takes
// Shell_NotifyIcon's requests as Wine 8 sends them, WM_COPYDATA with the
// request code in dwData and the owner window, id, flags, callback message
// and the tip (WCHAR[128] at offset 16) in the data.
class StandInTray {
 public:
  struct Request {
    DWORD code;
    HWND owner;
    std::wstring tip;
  };

  StandInTray() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &StandInTray::receive;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Shell_TrayWnd";
    RegisterClassA(&windowClass);
    window_.reset(CreateWindowA("Shell_TrayWnd", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr));
  }

  bool created() const { return static_cast<bool>(window_); }
  static std::vector<Request>& requests() {
    static std::vector<Request> received;
    return received;
  }

 private:
  static LRESULT CALLBACK receive(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (data->cbData >= 16 + 128 * sizeof(WCHAR)) {
        const auto* bytes = static_cast<const BYTE*>(data->lpData);
        LONG owner = 0;
        std::memcpy(&owner, bytes, sizeof owner);
        std::wstring tip(reinterpret_cast<const WCHAR*>(bytes + 16), 128);
        tip.resize(tip.find(L'\0'));
        requests().push_back({static_cast<DWORD>(data->dwData),
                              reinterpret_cast<HWND>(static_cast<LONG_PTR>(owner)), tip});
      }
      return TRUE;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }

  win32::UniqueWindow window_;
};

void endExplorer() {
  const HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  ASSERT_NE(tray, nullptr);
  DWORD explorer = 0;
  GetWindowThreadProcessId(tray, &explorer);
  const win32::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, explorer));
  ASSERT_TRUE(process);
  TerminateProcess(process.get(), 0);
  WaitForSingleObject(process.get(), 10000);
  ASSERT_TRUE(waitUntil([] { return FindWindowA("Shell_TrayWnd", nullptr) == nullptr; }, 10000));
}

class TrayRestartTest : public CalvorinTest {};

TEST_F(TrayRestartTest, TheIconComesBackWhenTheTrayIsMadeAnew) {
  install();
  startService();
  const HWND window = startedHidden(L"Service is Running");

  endExplorer();
  StandInTray tray;
  ASSERT_TRUE(tray.created());
  SendNotifyMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);

  bool readded = false;
  waitUntil(
      [&] {
        for (const auto& request : StandInTray::requests()) {
          if (request.code == NIM_ADD && request.owner == window &&
              request.tip == L"Service is Running") {
            readded = true;
          }
        }
        return readded;
      },
      10000, Pump::Messages);
  EXPECT_TRUE(readded);
}

}  // namespace
}  // namespace calvorin::testkit

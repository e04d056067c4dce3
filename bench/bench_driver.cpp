// Measures Calvorin from outside, for bench/run:
//   startup RUNS   start-up to ready of Calvorin and of the WMI probe,
//                  alternately, in milliseconds ("calvorin 812", "probe 640");
//   idle           starts the WMI probe (staying) and Calvorin and returns
//                  once both are idle, leaving them running to be measured;
//   stop           one Stop from the menu, until its message box is answered.
#include <cstdio>
#include <cstring>
#include <string>

#include <windows.h>

#include "calvorin_process.h"
#include "menu_reader.h"
#include "message_boxes.h"
#include "tray_reader.h"

namespace {

using calvorin::testkit::builtProgram;
using calvorin::testkit::CalvorinProcess;
using calvorin::testkit::Process;
using calvorin::testkit::shippedFile;
using calvorin::testkit::start;
using calvorin::testkit::waitUntil;
using calvorin::win32::UniqueHandle;

double milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER now() {
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return count;
}

// Ready: the tray shows the program's icon, the window is hidden again and
// the program waits for input in its message loop.
bool ready(const CalvorinProcess& calvorin, HANDLE process) {
  const HWND window = calvorin.findOwnWindow("CalvorinForm", "Calvorin 1.0");
  if (!window || IsWindowVisible(window))
    return false;
  if (WaitForInputIdle(process, 0) != 0)
    return false;
  for (const auto& icon : calvorin::testkit::readTrayIcons()) {
    if (icon.owner == window)
      return true;
  }
  return false;
}

void startup(int runs) {
  for (int run = 0; run < runs; ++run) {
    {
      const LARGE_INTEGER begin = now();
      const Process probe("\"" + builtProgram("wmi-probe.exe") + "\"");
      if (probe.started()) {
        probe.exitCode(60000);
        std::printf("probe %.0f\n", milliseconds(begin, now()));
      }
    }
    {
      const LARGE_INTEGER begin = now();
      CalvorinProcess calvorin;
      const UniqueHandle process(
          OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, calvorin.id()));
      waitUntil([&] { return ready(calvorin, process.get()); }, 60000);
      std::printf("calvorin %.0f\n", milliseconds(begin, now()));
    }
    std::fflush(stdout);
    Sleep(500);
  }
}

void idle() {
  // Both run on to be measured.
  const auto probe = start("\"" + builtProgram("wmi-probe.exe") + "\" --stay");
  const auto calvorin = start("\"" + shippedFile("Calvorin.exe") + "\"");
  WaitForInputIdle(calvorin.process.get(), 60000);
  // The probe has fetched the service well within this.
  Sleep(6000);
}

void stop() {
  const HWND window = FindWindowA("CalvorinForm", "Calvorin 1.0");
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  calvorin::testkit::MenuReader menus;
  PostMessageA(window, WM_COMMAND, menus.read(window)["&Stop"].id, 0);
  const auto box = calvorin::testkit::waitForMessageBox(processId, 30000);
  std::printf("stop %s\n", box.text.c_str());
  calvorin::testkit::answer(box);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "startup") == 0) {
    startup(std::atoi(argv[2]));
  } else if (argc == 2 && std::strcmp(argv[1], "idle") == 0) {
    idle();
  } else if (argc == 2 && std::strcmp(argv[1], "stop") == 0) {
    stop();
  } else {
    std::fprintf(stderr, "usage: bench-driver startup RUNS | idle | stop\n");
    return 2;
  }
  return 0;
}

// Measures Calvorin from outside, for bench/run:
//   startup RUNS   start-up to ready of the WMI probe, the least program and
//                  Calvorin, in turn, in milliseconds ("probe 640",
//                  "least 700", "calvorin 812");
//   idle           starts the WMI probe (staying), the least program and
//                  Calvorin and returns once they are idle, leaving them
//                  running to be measured;
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

// The least program's hidden window (bench/least_program.c).
constexpr char kLeastClass[] = "LeastProgram";
constexpr char kLeastCaption[] = "Least program";

// Ready: the tray shows the program's icon, its window is hidden and the
// program waits for input in its message loop.
bool ready(const CalvorinProcess& program, HANDLE process, const char* windowClass,
           const char* caption) {
  const HWND window = program.findOwnWindow(windowClass, caption);
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

// Milliseconds from the start of a program to its being ready; it is ended
// afterwards.
double timeToReady(const std::string& path, const char* windowClass, const char* caption) {
  const LARGE_INTEGER begin = now();
  CalvorinProcess program(path);
  const UniqueHandle process(
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, program.id()));
  waitUntil([&] { return ready(program, process.get(), windowClass, caption); }, 60000);
  return milliseconds(begin, now());
}

void startup(int runs) {
  // Else the tray's last icon goes with each program, and the next one's
  // icon waits while Wine hides the tray.
  const calvorin::testkit::KeepAliveIcon keepAlive;
  for (int run = 0; run < runs; ++run) {
    {
      const LARGE_INTEGER begin = now();
      const Process probe("\"" + builtProgram("wmi-probe.exe") + "\"");
      if (probe.started()) {
        probe.exitCode(60000);
        std::printf("probe %.0f\n", milliseconds(begin, now()));
      }
    }
    std::printf("least %.0f\n",
                timeToReady(builtProgram("least-program.exe"), kLeastClass, kLeastCaption));
    std::printf("calvorin %.0f\n",
                timeToReady(shippedFile("Calvorin.exe"), calvorin::identity::kFormClass,
                            calvorin::texts::kAppTitle));
    std::fflush(stdout);
    Sleep(500);
  }
}

void idle() {
  // All run on to be measured.
  const auto probe = start("\"" + builtProgram("wmi-probe.exe") + "\" --stay");
  const auto least = start("\"" + builtProgram("least-program.exe") + "\"");
  const auto calvorin = start("\"" + shippedFile("Calvorin.exe") + "\"");
  WaitForInputIdle(least.process.get(), 60000);
  WaitForInputIdle(calvorin.process.get(), 60000);
  // The probe has fetched the service well within this.
  Sleep(6000);
}

void stop() {
  const HWND window = FindWindowA(calvorin::identity::kFormClass, calvorin::texts::kAppTitle);
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

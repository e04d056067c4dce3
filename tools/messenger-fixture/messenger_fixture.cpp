// A stand-in for the Windows "Messenger" service, so that tests can drive a real service through
// the service manager and WMI. Its behaviour comes from its own command line (the service's
// binPath):
//   (no arguments)         starts and stops at once;
//   --start-pending N      stays START_PENDING for N seconds before it reports RUNNING;
//   --ignore-stop          does not accept STOP, so a stop request fails and it stays RUNNING.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/win32/handles.h"

namespace {

const char kServiceName[] = "Messenger";
const char kUsage[] =
    "usage: messenger-fixture.exe [--start-pending SECONDS] [--ignore-stop]\n"
    "Runs only as the \"Messenger\" service, started by the service manager.\n";

struct Options {
  int startPendingSeconds = 0;
  bool ignoreStop = false;
};

using calvorin::win32::UniqueHandle;

Options gOptions;
SERVICE_STATUS_HANDLE gStatusHandle = nullptr;  // Owned by the service manager; never closed.
UniqueHandle gStopEvent;
std::mutex gStatusMutex;
SERVICE_STATUS gStatus = {};

bool parseArgs(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--ignore-stop") == 0) {
      options.ignoreStop = true;
    } else if (std::strcmp(argv[i], "--start-pending") == 0 && i + 1 < argc) {
      char* end = nullptr;
      long seconds = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || end == argv[i] || seconds < 0 || seconds > 3600) {
        return false;
      }
      options.startPendingSeconds = static_cast<int>(seconds);
    } else {
      return false;
    }
  }
  return true;
}

// The control handler runs on the dispatcher thread while ServiceMain runs on its own, so every
// status change goes through one lock.
void reportStatus(DWORD state, DWORD controlsAccepted, DWORD waitHintMs) {
  std::lock_guard<std::mutex> lock(gStatusMutex);
  gStatus.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  gStatus.dwCurrentState = state;
  gStatus.dwControlsAccepted = controlsAccepted;
  gStatus.dwWin32ExitCode = NO_ERROR;
  gStatus.dwWaitHint = waitHintMs;
  bool pending = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING;
  gStatus.dwCheckPoint = pending ? gStatus.dwCheckPoint + 1 : 0;
  SetServiceStatus(gStatusHandle, &gStatus);
}

DWORD WINAPI controlHandler(DWORD control, DWORD, void*, void*) {
  switch (control) {
    case SERVICE_CONTROL_STOP:
      // Not reached with --ignore-stop: the manager refuses a control the service does not accept.
      reportStatus(SERVICE_STOP_PENDING, 0, 1000);
      SetEvent(gStopEvent.get());
      return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
      return NO_ERROR;
    default:
      return ERROR_CALL_NOT_IMPLEMENTED;
  }
}

void WINAPI serviceMain(DWORD, char**) {
  gStatusHandle = RegisterServiceCtrlHandlerExA(kServiceName, controlHandler, nullptr);
  if (gStatusHandle == nullptr) {
    return;
  }

  const DWORD stepMs = 250;
  ULONGLONG runningAt = GetTickCount64() + gOptions.startPendingSeconds * 1000ULL;
  while (GetTickCount64() < runningAt) {
    reportStatus(SERVICE_START_PENDING, 0, 4 * stepMs);
    Sleep(stepMs);
  }

  // Without SERVICE_ACCEPT_STOP the manager answers every stop with ERROR_INVALID_SERVICE_CONTROL
  // (WMI's StopService returns 4) at once, and the state stays RUNNING. Accepting the stop and
  // doing nothing would not do: Wine 8's services.exe kills the process at the second request and
  // then reports RUNNING for a service that is gone.
  reportStatus(SERVICE_RUNNING, gOptions.ignoreStop ? 0 : SERVICE_ACCEPT_STOP, 0);
  WaitForSingleObject(gStopEvent.get(), INFINITE);
  reportStatus(SERVICE_STOPPED, 0, 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (!parseArgs(argc, argv, gOptions)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  gStopEvent.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!gStopEvent) {
    std::fprintf(stderr, "messenger-fixture: CreateEvent failed: error %lu\n", GetLastError());
    return 1;
  }

  char name[sizeof kServiceName];
  std::memcpy(name, kServiceName, sizeof kServiceName);
  SERVICE_TABLE_ENTRYA table[] = {{name, serviceMain}, {nullptr, nullptr}};
  if (!StartServiceCtrlDispatcherA(table)) {
    DWORD error = GetLastError();
    if (error == ERROR_FAILED_SERVICE_CONTROLLER_CONNECT) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    std::fprintf(stderr, "messenger-fixture: StartServiceCtrlDispatcher failed: error %lu\n",
                 error);
    return 1;
  }
  return 0;
}

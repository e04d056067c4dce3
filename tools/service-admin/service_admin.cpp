#include "service_admin.h"

#include <windows.h>

#include <stdexcept>

#include "platform/win32/handles.h"
#include "platform/win32/hresult_text.h"

namespace fixture {
namespace {

const char kServiceName[] = "Messenger";

using calvorin::win32::UniqueHandle;
using ScHandle = calvorin::win32::UniqueServiceHandle;

[[noreturn]] void throwError(const std::string& what, DWORD error) {
  throw std::runtime_error(calvorin::win32::win32FailureMessage(what + " failed", error));
}

ScHandle openManager(DWORD access) {
  ScHandle manager(OpenSCManagerA(nullptr, nullptr, access));
  if (!manager) {
    throwError("OpenSCManager", GetLastError());
  }
  return manager;
}

// An empty handle if the service does not exist.
ScHandle tryOpenMessenger(SC_HANDLE manager, DWORD access) {
  ScHandle service(OpenServiceA(manager, kServiceName, access));
  if (!service && GetLastError() != ERROR_SERVICE_DOES_NOT_EXIST) {
    throwError("OpenService Messenger", GetLastError());
  }
  return service;
}

ScHandle openMessenger(DWORD access) {
  ScHandle manager = openManager(SC_MANAGER_CONNECT);
  ScHandle service(OpenServiceA(manager.get(), kServiceName, access));
  if (!service) {
    throwError("OpenService Messenger", GetLastError());
  }
  return service;
}

SERVICE_STATUS_PROCESS queryStatus(SC_HANDLE service) {
  SERVICE_STATUS_PROCESS status = {};
  DWORD needed = 0;
  if (!QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                            sizeof status, &needed)) {
    throwError("QueryServiceStatusEx Messenger", GetLastError());
  }
  return status;
}

void killProcess(DWORD processId) {
  UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
  if (process && TerminateProcess(process.get(), 1)) {
    WaitForSingleObject(process.get(), 5000);
  }
}

// Best effort and bounded: a service that is still starting gets a few seconds to reach RUNNING
// and accept the stop; one that refuses the stop, or does not stop in time, has its process killed,
// so that it can be deleted and installed again at once. (Wine 8's service manager never notices
// that process's death and goes on reporting RUNNING, so there is nothing to wait for after the
// kill.)
void stopBounded(SC_HANDLE service) {
  const ULONGLONG deadline = GetTickCount64() + 3000;
  SERVICE_STATUS_PROCESS status = queryStatus(service);
  while (status.dwCurrentState != SERVICE_STOPPED && GetTickCount64() < deadline) {
    if (status.dwCurrentState == SERVICE_RUNNING) {
      SERVICE_STATUS ignored;
      if (!ControlService(service, SERVICE_CONTROL_STOP, &ignored)) {
        break;
      }
    }
    Sleep(50);
    status = queryStatus(service);
  }
  if (status.dwCurrentState != SERVICE_STOPPED && status.dwProcessId != 0) {
    killProcess(status.dwProcessId);
  }
}

}  // namespace

void installMessenger(const std::string& binaryPathWithArgs) {
  removeMessenger();
  ScHandle manager = openManager(SC_MANAGER_CREATE_SERVICE | SC_MANAGER_CONNECT);
  // A deleted service lingers while anyone still holds a handle to it (a WMI client, say).
  const ULONGLONG deadline = GetTickCount64() + 5000;
  for (;;) {
    ScHandle service(CreateServiceA(manager.get(), kServiceName, kServiceName, SERVICE_ALL_ACCESS,
                                    SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                    SERVICE_ERROR_IGNORE, binaryPathWithArgs.c_str(), nullptr,
                                    nullptr, nullptr, nullptr, nullptr));
    if (service) {
      return;
    }
    DWORD error = GetLastError();
    if (error != ERROR_SERVICE_MARKED_FOR_DELETE || GetTickCount64() >= deadline) {
      throwError("CreateService Messenger", error);
    }
    Sleep(100);
  }
}

void removeMessenger() {
  ScHandle manager = openManager(SC_MANAGER_CONNECT);
  ScHandle service = tryOpenMessenger(manager.get(), SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
  if (!service) {
    return;
  }
  stopBounded(service.get());
  if (!DeleteService(service.get()) && GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE) {
    throwError("DeleteService Messenger", GetLastError());
  }
}

void setStartType(StartType startType) {
  DWORD type = startType == StartType::Automatic  ? SERVICE_AUTO_START
               : startType == StartType::Disabled ? SERVICE_DISABLED
                                                  : SERVICE_DEMAND_START;
  ScHandle service = openMessenger(SERVICE_CHANGE_CONFIG);
  if (!ChangeServiceConfigA(service.get(), SERVICE_NO_CHANGE, type, SERVICE_NO_CHANGE, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr)) {
    throwError("ChangeServiceConfig Messenger", GetLastError());
  }
}

void startMessenger() {
  ScHandle service = openMessenger(SERVICE_START);
  if (!StartServiceA(service.get(), 0, nullptr)) {
    throwError("StartService Messenger", GetLastError());
  }
}

void stopMessenger() {
  ScHandle service = openMessenger(SERVICE_STOP);
  SERVICE_STATUS status;
  if (!ControlService(service.get(), SERVICE_CONTROL_STOP, &status)) {
    throwError("ControlService(STOP) Messenger", GetLastError());
  }
}

unsigned long queryState() {
  ScHandle service = openMessenger(SERVICE_QUERY_STATUS);
  return queryStatus(service.get()).dwCurrentState;
}

bool waitForState(unsigned long state, int timeoutMs) {
  ScHandle service = openMessenger(SERVICE_QUERY_STATUS);
  const ULONGLONG deadline = GetTickCount64() + (timeoutMs > 0 ? timeoutMs : 0);
  for (;;) {
    if (queryStatus(service.get()).dwCurrentState == state) {
      return true;
    }
    if (GetTickCount64() >= deadline) {
      return false;
    }
    Sleep(50);
  }
}

std::string quotedBinaryPath(const std::string& exePath, const std::string& args) {
  std::string path = "\"" + exePath + "\"";
  return args.empty() ? path : path + " " + args;
}

}  // namespace fixture

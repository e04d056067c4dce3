// Command-line front end to service_admin.h, for scripts that prepare the Windows-side tests.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "service_admin.h"

namespace {

const char kUsage[] =
    "usage: service-admin install <exe-path> [fixture-args...]\n"
    "       service-admin remove\n"
    "       service-admin start-type manual|auto|disabled\n"
    "       service-admin start | stop | state\n"
    "       service-admin wait running|stopped <seconds>\n";

int usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

const char* stateName(unsigned long state) {
  switch (state) {
    case SERVICE_STOPPED:
      return "Stopped";
    case SERVICE_START_PENDING:
      return "StartPending";
    case SERVICE_STOP_PENDING:
      return "StopPending";
    case SERVICE_RUNNING:
      return "Running";
    case SERVICE_CONTINUE_PENDING:
      return "ContinuePending";
    case SERVICE_PAUSE_PENDING:
      return "PausePending";
    case SERVICE_PAUSED:
      return "Paused";
    default:
      return "Unknown";
  }
}

// The service manager starts the binary from its own working directory, so a relative path
// would not be found there.
std::string fullPath(const std::string& path) {
  char buffer[MAX_PATH];
  DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return length != 0 && length < sizeof buffer ? std::string(buffer, length) : path;
}

int run(const std::vector<std::string>& args) {
  if (args.empty()) {
    return usage();
  }
  const std::string& command = args[0];
  if (command == "install" && args.size() >= 2) {
    std::string fixtureArgs;
    for (size_t i = 2; i < args.size(); ++i) {
      fixtureArgs += (i > 2 ? " " : "") + args[i];
    }
    fixture::installMessenger(fixture::quotedBinaryPath(fullPath(args[1]), fixtureArgs));
  } else if (command == "remove" && args.size() == 1) {
    fixture::removeMessenger();
  } else if (command == "start-type" && args.size() == 2) {
    if (args[1] == "manual") {
      fixture::setStartType(fixture::StartType::Manual);
    } else if (args[1] == "auto") {
      fixture::setStartType(fixture::StartType::Automatic);
    } else if (args[1] == "disabled") {
      fixture::setStartType(fixture::StartType::Disabled);
    } else {
      return usage();
    }
  } else if (command == "start" && args.size() == 1) {
    fixture::startMessenger();
  } else if (command == "stop" && args.size() == 1) {
    fixture::stopMessenger();
  } else if (command == "state" && args.size() == 1) {
    std::printf("%s\n", stateName(fixture::queryState()));
  } else if (command == "wait" && args.size() == 3) {
    unsigned long state;
    if (args[1] == "running") {
      state = SERVICE_RUNNING;
    } else if (args[1] == "stopped") {
      state = SERVICE_STOPPED;
    } else {
      return usage();
    }
    char* end = nullptr;
    double seconds = std::strtod(args[2].c_str(), &end);
    if (end == args[2].c_str() || *end != '\0' || !(seconds >= 0) || seconds > 3600) {
      return usage();
    }
    return fixture::waitForState(state, static_cast<int>(seconds * 1000)) ? 0 : 1;
  } else {
    return usage();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "service-admin: %s\n", e.what());
    return 1;
  }
}

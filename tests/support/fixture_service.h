#pragma once

#include <cstdlib>
#include <string>

#include "processes.h"
#include "service_admin.h"

namespace calvorin::testkit {

// The fixture service's binary as the service manager must name it: a Windows
// path, which under Wine is the Unix path on drive Z:.
inline std::string fixtureBinary() {
  const char* path = std::getenv("CALVORIN_FIXTURE_EXE");
  return windowsPath(path ? path : "messenger-fixture.exe");
}

// Installs "Messenger" for one test and removes it afterwards.
class InstalledMessenger {
 public:
  explicit InstalledMessenger(const std::string& behaviour = "") {
    fixture::installMessenger(fixture::quotedBinaryPath(fixtureBinary(), behaviour));
  }
  // Starts it and waits until it runs; false if it does not within 10 s.
  bool startAndWait() {
    fixture::startMessenger();
    return fixture::waitForState(SERVICE_RUNNING, 10000);
  }

  InstalledMessenger(const InstalledMessenger&) = delete;
  InstalledMessenger& operator=(const InstalledMessenger&) = delete;
  ~InstalledMessenger() {
    try {
      fixture::removeMessenger();
    } catch (...) {
      // A test that already failed must not abort in its clean-up.
    }
  }
};

}  // namespace calvorin::testkit

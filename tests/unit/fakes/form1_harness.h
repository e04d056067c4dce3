#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "autostart/autostart_commands.h"
#include "fakes/fake_platform.h"

namespace calvorin::fakes {

// The main window on fakes of every port: the fixture the unit tests of
// Form1 build on.
class Form1Harness : public ::testing::Test {
 protected:
  FakeForm& window() { return platform.window(); }
  std::uint32_t pictureHandle(app::Form1Control picture) {
    return window().picture(picture).picture()->handle();
  }

  // Text under a key of HKEY_LOCAL_MACHINE, as REG_SZ with its NUL.
  void putText(const std::string& key, const std::string& name, const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    platform.registry.put(key, name, 1, data);
  }
  // The auto-start entry's data, its NUL included, or "(none)".
  std::string registered() {
    const auto* value = platform.registry.find(autostart::kRunKey, autostart::kRunValue);
    if (!value)
      return "(none)";
    return std::string(value->data.begin(), value->data.end());
  }

  FakePlatform platform;
  app::Form1 form{platform.ports()};
};

}  // namespace calvorin::fakes

#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <windows.h>

#include "fixture_service.h"
#include "platform/platform_error.h"
#include "platform/win32/com_wmi.h"
#include "service/messenger_service.h"
#include "service/service_values.h"

namespace calvorin {
namespace {

using platform::PlatformError;
using service::MessengerService;
using testkit::InstalledMessenger;

class WmiAdapterTest : public ::testing::Test {
 protected:
  WmiAdapterTest() : service(wmi) { service.OpenConnection(); }

  std::string state() { return service.fetchService()->property("State").value_or("(null)"); }
  std::string startMode() {
    return service.fetchService()->property("StartMode").value_or("(null)");
  }

  // WMI reports what the service manager knows; a start or stop reaches it
  // a little later.
  bool stateBecomes(const std::string& wanted) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      if (state() == wanted)
        return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

  win32::ComWmi wmi;
  MessengerService service;
};

TEST_F(WmiAdapterTest, ReadsStateAndStartModeOfTheRealService) {
  InstalledMessenger messenger;

  EXPECT_EQ(state(), "Stopped");
  EXPECT_EQ(startMode(), "Manual");

  fixture::setStartType(fixture::StartType::Disabled);
  EXPECT_EQ(startMode(), "Disabled");

  fixture::setStartType(fixture::StartType::Automatic);
  EXPECT_EQ(startMode(), "Auto");

  fixture::setStartType(fixture::StartType::Manual);
  ASSERT_TRUE(messenger.startAndWait());
  EXPECT_EQ(state(), "Running");
}

TEST_F(WmiAdapterTest, ControlRequestsStartAndStopTheService) {
  InstalledMessenger messenger;

  EXPECT_EQ(service.ServiceControl(service::ServiceOpStart), 0u);
  EXPECT_TRUE(fixture::waitForState(SERVICE_RUNNING, 10000));
  EXPECT_TRUE(stateBecomes("Running"));

  service.ServiceControl(service::ServiceOpStop);
  EXPECT_FALSE(service.ServiceRunning);
  EXPECT_TRUE(fixture::waitForState(SERVICE_STOPPED, 10000));
  EXPECT_TRUE(stateBecomes("Stopped"));
}

TEST_F(WmiAdapterTest, AStartThatIsStillPendingLeavesServiceRunningFalse) {
  InstalledMessenger messenger("--start-pending 3");

  service.ServiceControl(service::ServiceOpStart);

  EXPECT_FALSE(service.ServiceRunning);
  EXPECT_TRUE(stateBecomes("Running"));
}

TEST_F(WmiAdapterTest, AServiceThatIgnoresStopKeepsRunningButServiceRunningIsFalse) {
  InstalledMessenger messenger("--ignore-stop");
  ASSERT_TRUE(messenger.startAndWait());

  EXPECT_EQ(service.ServiceControl(service::ServiceOpStop), 4u);

  EXPECT_FALSE(service.ServiceRunning);
  EXPECT_EQ(state(), "Running");
}

TEST_F(WmiAdapterTest, AMissingServiceRaisesAReadablePlatformError) {
  try {
    service.fetchService();
    FAIL() << "expected a PlatformError";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.code(), 0x80041002u);
    EXPECT_STREQ(error.what(), "The Messenger service was not found on this computer.");
  }
}

TEST_F(WmiAdapterTest, AFailedFetchNamesThePathTheReasonAndTheCode) {
  auto services = wmi.createLocator()->connectServer(platform::ConnectServerArgs{});
  try {
    services->get("Win32_Service.Name='NoSuchService'");
    FAIL() << "expected a PlatformError";
  } catch (const PlatformError& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find("Win32_Service.Name='NoSuchService'"), std::string::npos) << message;
    EXPECT_NE(message.find("not found"), std::string::npos) << message;
    EXPECT_NE(message.find("0x80041002"), std::string::npos) << message;
  }
}

TEST_F(WmiAdapterTest, AnUnknownPropertyOrMethodIsAPlatformError) {
  InstalledMessenger messenger;
  auto object = service.fetchService();

  EXPECT_THROW(object->property("NoSuchProperty"), PlatformError);
  EXPECT_THROW(object->callMethod("NoSuchMethod"), PlatformError);
}

TEST_F(WmiAdapterTest, AnUnknownNamespaceIsAPlatformError) {
  auto locator = wmi.createLocator();
  platform::ConnectServerArgs args;
  args.nameSpace = "root\\nosuchnamespace";

  EXPECT_THROW(locator->connectServer(args), PlatformError);
}

}  // namespace
}  // namespace calvorin

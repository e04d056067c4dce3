#include "service/messenger_service.h"

#include <gtest/gtest.h>

#include "fakes/fake_wmi.h"
#include "platform/platform_error.h"
#include "service/service_values.h"

namespace calvorin::service {
namespace {

using fakes::FakeServiceManager;
using fakes::FakeWmi;
using platform::PlatformError;

class MessengerServiceTest : public ::testing::Test {
 protected:
  MessengerServiceTest() : wmi(manager), service(wmi) {}

  void connected() { service.OpenConnection(); }

  FakeServiceManager manager;
  FakeWmi wmi;
  MessengerService service;
};

TEST_F(MessengerServiceTest, ConnectsToTheLocalMachineWithTheCallersCredentials) {
  connected();

  ASSERT_EQ(manager.connections.size(), 1u);
  const auto& args = manager.connections[0];
  EXPECT_EQ(args.server, ".");
  EXPECT_EQ(args.nameSpace, "");
  EXPECT_EQ(args.user, "");
  EXPECT_EQ(args.password, "");
  EXPECT_EQ(args.locale, "");
  EXPECT_EQ(args.authority, "");
  EXPECT_EQ(args.securityFlags, 0);
}

TEST_F(MessengerServiceTest, EveryOpenConnectionMakesANewLocatorAndConnection) {
  connected();
  connected();

  EXPECT_EQ(manager.locatorsCreated, 2);
  EXPECT_EQ(manager.connections.size(), 2u);
}

TEST_F(MessengerServiceTest, AFailedReconnectKeepsThePreviousConnection) {
  connected();
  manager.connectFails = true;

  EXPECT_THROW(service.OpenConnection(), PlatformError);
  EXPECT_NO_THROW(service.fetchService());
}

TEST_F(MessengerServiceTest, FetchingWithoutAConnectionIsAPlatformError) {
  EXPECT_THROW(service.fetchService(), PlatformError);
}

TEST_F(MessengerServiceTest, FetchesTheMessengerServiceByItsObjectPath) {
  connected();
  service.fetchService();

  ASSERT_EQ(manager.fetchedPaths.size(), 1u);
  EXPECT_EQ(manager.fetchedPaths[0], "Win32_Service.Name='Messenger'");
}

TEST_F(MessengerServiceTest, AMissingServiceIsAPlatformErrorWithWmisCode) {
  connected();
  manager.serviceExists = false;

  try {
    service.fetchService();
    FAIL() << "expected a PlatformError";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.code(), 0x80041002u);
    EXPECT_STREQ(error.what(), "The Messenger service was not found on this computer.");
  }
}

// The object a method is called on is a snapshot from before the request, so
// reading State from it would always see the old state.
TEST_F(MessengerServiceTest, StartJudgesTheStateFromAFreshFetch) {
  connected();
  manager.state = "Stopped";

  service.ServiceControl(ServiceOpStart);

  EXPECT_EQ(manager.methodCalls, std::vector<std::string>{"StartService"});
  EXPECT_EQ(manager.fetchedPaths.size(), 2u);
  EXPECT_TRUE(service.ServiceRunning);
}

TEST_F(MessengerServiceTest, StartLeavesServiceRunningFalseUnlessStateReadsExactlyRunning) {
  connected();
  for (const std::optional<std::string>& after :
       {std::optional<std::string>("Start Pending"), std::optional<std::string>("running"),
        std::optional<std::string>("RUNNING"), std::optional<std::string>("Running "),
        std::optional<std::string>(), std::optional<std::string>("Stopped")}) {
    manager.state = "Stopped";
    manager.stateAfterStart = after;
    service.ServiceRunning = true;

    service.ServiceControl(ServiceOpStart);

    EXPECT_FALSE(service.ServiceRunning) << "State after start: " << after.value_or("(null)");
  }
}

TEST_F(MessengerServiceTest, StopAlwaysLeavesServiceRunningFalse) {
  connected();
  for (const char* after : {"Running", "Stop Pending", "Stopped"}) {
    manager.state = "Running";
    manager.stateAfterStop = after;
    service.ServiceRunning = true;

    service.ServiceControl(ServiceOpStop);

    EXPECT_FALSE(service.ServiceRunning) << "State after stop: " << after;
  }
  EXPECT_EQ(manager.methodCalls.size(), 3u);
  EXPECT_EQ(manager.methodCalls.back(), "StopService");
}

TEST_F(MessengerServiceTest, AnUnknownOperationCallsNoMethod) {
  connected();
  manager.state = "Running";
  for (std::uint8_t code : {0, 1, 2, 5, 255}) {
    service.ServiceRunning = true;

    service.ServiceControl(code);

    EXPECT_FALSE(service.ServiceRunning) << "code " << int(code);
  }
  EXPECT_TRUE(manager.methodCalls.empty());
}

TEST_F(MessengerServiceTest, AFailingFetchEndsTheRequestAndLeavesServiceRunningAlone) {
  connected();
  manager.serviceExists = false;
  service.ServiceRunning = true;

  EXPECT_THROW(service.ServiceControl(ServiceOpStop), PlatformError);
  EXPECT_TRUE(manager.methodCalls.empty());
  EXPECT_TRUE(service.ServiceRunning);
}

TEST(ServiceValuesTest, ComparisonsAreWholeExactAndCaseSensitive) {
  EXPECT_TRUE(readsExactly(std::string("Stopped"), kStateStopped));
  EXPECT_FALSE(readsExactly(std::string("stopped"), kStateStopped));
  EXPECT_FALSE(readsExactly(std::string("Stopped "), kStateStopped));
  EXPECT_FALSE(readsExactly(std::string("Stop"), kStateStopped));
  EXPECT_FALSE(readsExactly(std::nullopt, kStateStopped));
  EXPECT_FALSE(readsExactly(std::string(""), kStartModeDisabled));
}

}  // namespace
}  // namespace calvorin::service

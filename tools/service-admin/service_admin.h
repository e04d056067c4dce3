// Installs and drives the "Messenger" test service through the service control manager.
// Every function throws std::runtime_error, naming the call and its Win32 error, on failure.
#pragma once

#include <string>

namespace fixture {

enum class StartType { Manual, Automatic, Disabled };

// Creates "Messenger" (own process, demand start) running binaryPathWithArgs, replacing any
// existing service of that name.
void installMessenger(const std::string& binaryPathWithArgs);

// Stops the service if it runs (killing its process if it will not stop within a few seconds),
// then deletes it. Does nothing if there is no such service.
void removeMessenger();

void setStartType(StartType startType);

// Ask the service manager and return without waiting for the service to reach the new state.
void startMessenger();
void stopMessenger();

// SERVICE_STOPPED, SERVICE_RUNNING, ...
unsigned long queryState();

// Polls until the service is in `state`; false if it is not within timeoutMs.
bool waitForState(unsigned long state, int timeoutMs);

// "\"exePath\" args": quoting keeps a path with spaces from being split by the service manager.
std::string quotedBinaryPath(const std::string& exePath, const std::string& args);

}  // namespace fixture

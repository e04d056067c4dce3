#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/wmi.h"

namespace calvorin::service {

inline constexpr char kMessengerObjectPath[] = "Win32_Service.Name='Messenger'";

inline constexpr char kStateProperty[] = "State";
inline constexpr char kStartModeProperty[] = "StartMode";

inline constexpr std::string_view kStateRunning = "Running";
inline constexpr std::string_view kStateStopped = "Stopped";
inline constexpr std::string_view kStartModeDisabled = "Disabled";

// What Win32_Service's StartService and StopService return when the caller
// lacks the rights to control the service.
inline constexpr std::uint32_t kReturnAccessDenied = 2;

// Operation codes of ServiceControl.
inline constexpr std::uint8_t ServiceOpStop = 3;
inline constexpr std::uint8_t ServiceOpStart = 4;

// Values are compared whole, exactly and case-sensitively; a null value
// equals nothing.
inline bool readsExactly(const std::optional<std::string>& value, std::string_view text) {
  return value.has_value() && *value == text;
}

inline bool stateReads(platform::WmiObject& service, std::string_view state) {
  return readsExactly(service.property(kStateProperty), state);
}

inline bool startModeReads(platform::WmiObject& service, std::string_view startMode) {
  return readsExactly(service.property(kStartModeProperty), startMode);
}

}  // namespace calvorin::service

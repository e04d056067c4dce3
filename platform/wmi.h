#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// The part of WMI scripting the program uses: a locator, a connection and
// objects whose properties and methods are reached by name at run time.
// Every call either succeeds or throws PlatformError. Texts are in the
// system's ANSI code page.
namespace calvorin::platform {

// An instance fetched from a connection: a snapshot of its properties as of
// the fetch.
class WmiObject {
 public:
  virtual ~WmiObject() = default;

  // The property's value as text; nullopt when the value is null.
  // Throws when the object has no such property.
  virtual std::optional<std::string> property(const std::string& name) = 0;

  // Calls a method with no arguments and returns its ReturnValue, nullopt
  // when the method gives none.
  virtual std::optional<std::uint32_t> callMethod(const std::string& name) = 0;
};

class WmiServices {
 public:
  virtual ~WmiServices() = default;

  // Fetches the current instance named by an object path. Each call returns a
  // fresh object.
  virtual std::unique_ptr<WmiObject> get(const std::string& objectPath) = 0;
};

struct ConnectServerArgs {
  std::string server = ".";
  std::string nameSpace;  // empty: the default namespace, root\cimv2
  std::string user;
  std::string password;
  std::string locale;
  std::string authority;
  long securityFlags = 0;
};

class WmiLocator {
 public:
  virtual ~WmiLocator() = default;
  virtual std::unique_ptr<WmiServices> connectServer(const ConnectServerArgs& args) = 0;
};

// Creates locators; what `new SWbemLocator` is to a script.
class Wmi {
 public:
  virtual ~Wmi() = default;
  virtual std::unique_ptr<WmiLocator> createLocator() = 0;
};

}  // namespace calvorin::platform

#include "platform/win32/com_wmi.h"

#include <windows.h>
#include <objbase.h>
#include <wbemcli.h>

#include "platform/platform_error.h"
#include "platform/win32/ansi_text.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/com_values.h"
#include "platform/win32/hresult_text.h"

namespace calvorin::win32 {

namespace {

using platform::PlatformError;

void check(HRESULT hr, const std::string& what) {
  if (FAILED(hr))
    throw PlatformError(failureMessage(what, hr), static_cast<std::uint32_t>(hr));
}

class ComObject final : public platform::WmiObject {
 public:
  ComObject(ComPtr<IWbemServices> services, ComPtr<IWbemClassObject> object)
      : services_(std::move(services)), object_(std::move(object)) {}

  std::optional<std::string> property(const std::string& name) override {
    Variant value;
    check(object_->Get(Bstr(name).get(), 0, value.put(), nullptr, nullptr),
          "Could not read the WMI property " + name);
    if (value.get()->vt == VT_NULL || value.get()->vt == VT_EMPTY)
      return std::nullopt;
    if (value.get()->vt != VT_BSTR) {
      check(VariantChangeType(value.get(), value.get(), 0, VT_BSTR),
            "The WMI property " + name + " is not text");
    }
    const BSTR text = value.get()->bstrVal;
    return toAnsi(text, static_cast<int>(SysStringLen(text)));
  }

  std::optional<std::uint32_t> callMethod(const std::string& name) override {
    Variant path;
    check(object_->Get(L"__PATH", 0, path.put(), nullptr, nullptr),
          "Could not read the path of a WMI object");
    if (path.get()->vt != VT_BSTR) {
      throw PlatformError("The WMI object has no path to call " + name + " on.");
    }
    ComPtr<IWbemClassObject> outParams;
    const Bstr method(name);
    check(services_->ExecMethod(path.get()->bstrVal, method.get(), 0, nullptr, nullptr,
                                outParams.put(), nullptr),
          "Could not call the WMI method " + name);
    Variant result;
    if (!outParams || FAILED(outParams->Get(L"ReturnValue", 0, result.put(), nullptr, nullptr)) ||
        FAILED(VariantChangeType(result.get(), result.get(), 0, VT_UI4))) {
      return std::nullopt;
    }
    return result.get()->ulVal;
  }

 private:
  ComPtr<IWbemServices> services_;
  ComPtr<IWbemClassObject> object_;
};

class ComServices final : public platform::WmiServices {
 public:
  explicit ComServices(ComPtr<IWbemServices> services) : services_(std::move(services)) {}

  std::unique_ptr<platform::WmiObject> get(const std::string& objectPath) override {
    ComPtr<IWbemClassObject> object;
    const Bstr path(objectPath);
    const HRESULT hr = services_->GetObject(path.get(), 0, nullptr, object.put(), nullptr);
    check(hr, "Could not get the WMI object " + objectPath);
    return std::make_unique<ComObject>(services_, std::move(object));
  }

 private:
  ComPtr<IWbemServices> services_;
};

// "\\server\namespace", as the scripting locator builds it; an empty
// namespace is the default one.
std::string networkResource(const platform::ConnectServerArgs& args) {
  const std::string server = args.server.empty() ? "." : args.server;
  const std::string nameSpace = args.nameSpace.empty() ? "root\\cimv2" : args.nameSpace;
  return "\\\\" + server + "\\" + nameSpace;
}

class ComLocator final : public platform::WmiLocator {
 public:
  explicit ComLocator(ComPtr<IWbemLocator> locator) : locator_(std::move(locator)) {}

  std::unique_ptr<platform::WmiServices> connectServer(
      const platform::ConnectServerArgs& args) override {
    const std::string resourceText = networkResource(args);
    const Bstr resource(resourceText);
    const Bstr user(args.user);
    const Bstr password(args.password);
    const Bstr locale(args.locale);
    const Bstr authority(args.authority);
    ComPtr<IWbemServices> services;
    check(locator_->ConnectServer(resource.get(), user.get(), password.get(), locale.get(),
                                  args.securityFlags, authority.get(), nullptr, services.put()),
          "Could not connect to WMI at " + resourceText);
    // The service manager acts for the caller only when WMI may impersonate
    // it. The process-wide default may have been set before ComWmi's, by a
    // DLL loaded into the process, so the connection sets its own.
    check(
        CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                          RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE),
        "Could not set the security of the WMI connection to " + resourceText);
    return std::make_unique<ComServices>(std::move(services));
  }

 private:
  ComPtr<IWbemLocator> locator_;
};

}  // namespace

ComWmi::ComWmi() {
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // S_FALSE: already joined; it still needs its matching CoUninitialize.
  uninitialize_ = SUCCEEDED(hr);
  // WMI calls on the service manager need impersonation. RPC_E_TOO_LATE means
  // the process has already chosen its security, which is then kept.
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                       RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
}

ComWmi::~ComWmi() {
  if (uninitialize_)
    CoUninitialize();
}

std::unique_ptr<platform::WmiLocator> ComWmi::createLocator() {
  ComPtr<IWbemLocator> locator;
  check(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                         locator.putVoid()),
        "Could not create the WMI locator");
  return std::make_unique<ComLocator>(std::move(locator));
}

}  // namespace calvorin::win32

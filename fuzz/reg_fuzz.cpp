// Registry reading against a registry that answers anything: any type, any
// result, any length (also one beyond the buffer), any bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "autostart/reg.h"

namespace {

class ArbitraryRegistry final : public calvorin::platform::Registry {
 public:
  explicit ArbitraryRegistry(FuzzedDataProvider& data) : data_(data) {}

  long openKey(calvorin::platform::RegistryKey, const std::string&,
               calvorin::platform::RegistryKey& key) override {
    key = data_.ConsumeIntegral<std::uint32_t>();
    return data_.ConsumeBool() ? 0 : data_.ConsumeIntegral<long>();
  }
  long queryValue(calvorin::platform::RegistryKey, const std::string&, std::uint32_t& type,
                  std::uint8_t* buffer, std::uint32_t& length) override {
    type = data_.ConsumeIntegral<std::uint32_t>();
    const long result = data_.ConsumeBool() ? 0 : data_.ConsumeIntegral<long>();
    const std::vector<std::uint8_t> bytes =
        data_.ConsumeBytes<std::uint8_t>(data_.ConsumeIntegralInRange<std::size_t>(0, length));
    if (!bytes.empty())
      std::memcpy(buffer, bytes.data(), bytes.size());
    // A reported length need not match what was written, nor fit the buffer.
    length = data_.ConsumeBool() ? static_cast<std::uint32_t>(bytes.size())
                                 : data_.ConsumeIntegral<std::uint32_t>();
    return result;
  }
  long closeKey(calvorin::platform::RegistryKey) override { return 0; }
  long createKey(calvorin::platform::RegistryKey, const std::string&,
                 calvorin::platform::RegistryKey& key) override {
    key = data_.ConsumeIntegral<std::uint32_t>();
    return data_.ConsumeIntegral<long>();
  }
  long setValue(calvorin::platform::RegistryKey, const std::string&, std::uint32_t,
                const std::uint8_t*, std::uint32_t) override {
    return data_.ConsumeIntegral<long>();
  }
  long flushKey(calvorin::platform::RegistryKey) override { return 0; }
  long deleteValue(calvorin::platform::RegistryKey, const std::string&) override {
    return data_.ConsumeIntegral<long>();
  }

 private:
  FuzzedDataProvider& data_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  ArbitraryRegistry registry(data);
  calvorin::autostart::Reg reg(registry);

  const std::string text = reg.GetRegValue(0x80000002, "SOFTWARE\\Test", "Calvorin");
  // Text of a 2048-byte buffer is at most 2047 bytes, hex at most 4096, a
  // number at most ten digits; anything longer read past the data.
  if (text.size() > 4096)
    std::abort();

  const std::string value = data.ConsumeRandomLengthString(300);
  reg.SetRegValue(0x80000002, "SOFTWARE\\Test", "Calvorin", 1, value);
  reg.DeleteRegValue(0x80000002, "SOFTWARE\\Test", "Calvorin");
  return 0;
}

// Must fail the load check on every version: it imports GetTickCount64,
// which KERNEL32 exports from Vista on. Declared here because the headers of
// the version the product is built for rightly do not.
extern "C" __declspec(dllimport) unsigned long long __stdcall GetTickCount64();

int main() {
  return GetTickCount64() == 0;
}

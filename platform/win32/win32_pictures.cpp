#include "platform/win32/win32_pictures.h"

#include <cstring>

#include <ocidl.h>
#include <olectl.h>

#include "platform/platform_error.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/handles.h"
#include "platform/win32/hresult_text.h"
#include "platform/win32/port_handles.h"
#include "platform/win32/win32_error.h"

namespace calvorin::win32 {

namespace {

constexpr int kIconSize = 32;

class IconPicture final : public Win32Picture {
 public:
  explicit IconPicture(UniqueIcon icon) : icon_(std::move(icon)) {}

  std::uint32_t handle() const override { return toPortHandle(icon_.get()); }
  SIZE sizeInPixels() const override { return {kIconSize, kIconSize}; }
  void draw(HDC dc, int x, int y) const override {
    DrawIconEx(dc, x, y, icon_.get(), kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
  }

 private:
  UniqueIcon icon_;
};

class OlePicture final : public Win32Picture {
 public:
  explicit OlePicture(ComPtr<IPicture> picture) : picture_(std::move(picture)) {
    picture_->get_Width(&widthHimetric_);
    picture_->get_Height(&heightHimetric_);
  }

  std::uint32_t handle() const override {
    OLE_HANDLE handle = 0;
    picture_->get_Handle(&handle);
    return static_cast<std::uint32_t>(handle);
  }
  SIZE sizeInPixels() const override {
    return {MulDiv(widthHimetric_, screenDpi(LOGPIXELSX), 2540),
            MulDiv(heightHimetric_, screenDpi(LOGPIXELSY), 2540)};
  }
  void draw(HDC dc, int x, int y) const override {
    const SIZE size = sizeInPixels();
    // Source rectangle in HIMETRIC runs bottom-up.
    picture_->Render(dc, x, y, size.cx, size.cy, 0, heightHimetric_, widthHimetric_,
                     -heightHimetric_, nullptr);
  }

 private:
  ComPtr<IPicture> picture_;
  OLE_XSIZE_HIMETRIC widthHimetric_ = 0;
  OLE_YSIZE_HIMETRIC heightHimetric_ = 0;
};

std::shared_ptr<const Win32Picture> loadOlePicture(HRSRC resource, const std::string& name) {
  const HMODULE module = GetModuleHandleA(nullptr);
  const DWORD size = SizeofResource(module, resource);
  const HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0)
    throwLastError("Could not load the picture " + name);

  // The stream takes the copy and frees it when released.
  UniqueGlobalMemory copy(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!copy)
    throwLastError("Could not load the picture " + name);
  void* const target = GlobalLock(copy.get());
  if (!target)
    throwLastError("Could not load the picture " + name);
  std::memcpy(target, bytes, size);
  GlobalUnlock(copy.get());
  ComPtr<IStream> stream;
  const HRESULT streamResult = CreateStreamOnHGlobal(copy.get(), TRUE, stream.put());
  if (SUCCEEDED(streamResult))
    copy.release();  // the stream owns it now
  if (FAILED(streamResult)) {
    throw platform::PlatformError(
        failureMessage("Could not read the picture " + name, streamResult),
        static_cast<std::uint32_t>(streamResult));
  }
  ComPtr<IPicture> picture;
  const HRESULT hr =
      OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture, picture.putVoid());
  if (FAILED(hr)) {
    throw platform::PlatformError(failureMessage("Could not decode the picture " + name, hr),
                                  static_cast<std::uint32_t>(hr));
  }
  return std::make_shared<OlePicture>(std::move(picture));
}

}  // namespace

std::shared_ptr<const Win32Picture> loadPicture(const std::string& resourceName) {
  const HMODULE module = GetModuleHandleA(nullptr);
  if (FindResourceA(module, resourceName.c_str(), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */)) {
    UniqueIcon icon(static_cast<HICON>(
        LoadImageA(module, resourceName.c_str(), IMAGE_ICON, kIconSize, kIconSize, 0)));
    if (!icon)
      throwLastError("Could not load the icon " + resourceName);
    return std::make_shared<IconPicture>(std::move(icon));
  }
  if (HRSRC gif = FindResourceA(module, resourceName.c_str(), "GIF")) {
    return loadOlePicture(gif, resourceName);
  }
  throw platform::PlatformError("The program has no picture named " + resourceName + ".");
}

}  // namespace calvorin::win32

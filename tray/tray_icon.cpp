#include "tray/tray_icon.h"

#include <cfenv>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/platform_error.h"

namespace calvorin::tray {

namespace {

// The values of NOTIFYICONDATAA's fields; cbSize comes first in every layout.
constexpr std::size_t kCbSize = 0;
constexpr std::uint32_t kIconId = 1;
constexpr std::uint32_t kNifMessageIconTip = 7;
constexpr std::uint32_t kWmMouseMove = 0x200;

constexpr std::int32_t kLeftDoubleClick = 515;
constexpr std::int32_t kRightButtonUp = 517;
constexpr std::int32_t kRightDoubleClick = 518;

// Clears Busy however the handling ends, so one failed action cannot leave
// the icon deaf to every later notification.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyScope() { busy_ = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& busy_;
};

}  // namespace

std::int32_t decodeTrayCode(float x, float twipsPerPixelX) {
  const double code = static_cast<double>(x) / static_cast<double>(twipsPerPixelX);
  if (!std::isfinite(code) || code > std::numeric_limits<std::int32_t>::max() ||
      code < std::numeric_limits<std::int32_t>::min()) {
    return 0;
  }
  // nearbyint rounds in the current mode; pin it to nearest, halves to even.
  const int previousMode = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double rounded = std::nearbyint(code);
  std::fesetround(previousMode);
  return static_cast<std::int32_t>(rounded);
}

TrayIcon::~TrayIcon() {
  if (ownerForm_ && ownerForm_->mouseMoveListener() == this) {
    ownerForm_->setMouseMoveListener(nullptr);
  }
}

void TrayIcon::setOwnerForm(platform::Window* window) {
  if (ownerForm_ && ownerForm_->mouseMoveListener() == this) {
    ownerForm_->setMouseMoveListener(nullptr);
  }
  ownerForm_ = window;
  if (ownerForm_)
    ownerForm_->setMouseMoveListener(this);
}

std::string TrayIcon::tooltip() const {
  if (!tooltip_)
    throw platform::PlatformError("The tray icon's tooltip has not been set.");
  return tooltip_->substr(0, tooltip_->size() - 1);
}

void TrayIcon::putUint32(std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    NotifyData[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

// Windows keeps window and icon handles 32-bit significant in 64-bit
// programs too: a wider field holds the handle sign-extended.
void TrayIcon::putHandle(std::size_t offset, std::uint32_t handle) {
  putUint32(offset, handle);
  const std::uint8_t extension = (handle & 0x80000000u) != 0 ? 0xFF : 0x00;
  for (std::size_t i = 4; i < layout_.handleWidth; ++i) {
    NotifyData[offset + i] = extension;
  }
}

void TrayIcon::send(std::uint32_t request, std::int16_t stateAfter) {
  putUint32(kCbSize, static_cast<std::uint32_t>(layout_.size));
  if (!icon_)
    throw platform::PlatformError("The tray icon has no picture.");
  putHandle(layout_.hIcon, icon_->handle());
  if (!ownerForm_)
    throw platform::PlatformError("The tray icon has no owner window.");
  putHandle(layout_.hWnd, ownerForm_->handle());

  // The stored tooltip ends in its NUL (a tooltip never set is an empty
  // text); a text too long for the field is cut so that the NUL always stays
  // inside it.
  constexpr std::size_t width = platform::kNotifyIconTipWidth;
  std::string tip = tooltip_.value_or(std::string(1, '\0'));
  if (tip.size() > width)
    tip = tip.substr(0, width - 1) + '\0';
  tip.resize(width, ' ');
  std::memcpy(NotifyData.data() + layout_.szTip, tip.data(), width);

  putUint32(layout_.uCallbackMessage, kWmMouseMove);
  putUint32(layout_.uFlags, kNifMessageIconTip);
  putUint32(layout_.uID, kIconId);

  deliver(request);
  state_ = stateAfter;
}

bool TrayIcon::deliver(std::uint32_t request) {
  const bool accepted = area_.notifyIcon(request, NotifyData);
  refused_ = !accepted;
  inShell_ = inShell_ || accepted;
  return accepted;
}

void TrayIcon::retryRefused() {
  if (!refused_)
    return;
  const std::uint32_t expected = inShell_ ? platform::kNimModify : platform::kNimAdd;
  if (!deliver(expected))
    deliver(expected == platform::kNimAdd ? platform::kNimModify : platform::kNimAdd);
}

void TrayIcon::Remove() {
  area_.notifyIcon(platform::kNimDelete, NotifyData);
  inShell_ = false;
  refused_ = false;
  state_ = 0;
}

void TrayIcon::OwnerMouseMove(short, short, float x, float) {
  const std::int32_t code = decodeTrayCode(x, host_.twipsPerPixelX());
  if (Busy)
    return;
  // A command chosen from the menu may release the owner's reference.
  const auto keepAlive = weak_from_this().lock();
  BusyScope busy(Busy);
  switch (code) {
    case kLeftDoubleClick:
    case kRightDoubleClick:
      if (MouseDblClick)
        MouseDblClick(1);
      break;
    case kRightButtonUp:
      host_.popUpTrayMenu();
      break;
    default:
      break;
  }
}

}  // namespace calvorin::tray

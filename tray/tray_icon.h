#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/mouse.h"
#include "platform/notification_area.h"
#include "platform/picture.h"
#include "platform/window.h"

namespace calvorin::tray {

// What the tray icon needs from the program around it.
class TrayHost {
 public:
  virtual ~TrayHost() = default;
  // Pops up the main window's "Messenger Service" menu at the pointer and
  // returns once it has closed.
  virtual void popUpTrayMenu() = 0;
  // 1440 divided by the screen's horizontal dots per inch.
  virtual float twipsPerPixelX() const = 0;
};

// One icon with a tooltip in the notification area, on behalf of an owner
// window, and the decoding of the mouse notifications the area sends back.
// Create it with std::make_shared: a notification keeps the instance alive
// until it is handled, even if a menu command releases the owner's reference.
// The record it sends has this build's layout unless told another.
class TrayIcon final : public platform::MouseMoveListener,
                       public std::enable_shared_from_this<TrayIcon> {
 public:
  TrayIcon(platform::NotificationArea& area, TrayHost& host,
           const platform::NotifyIconLayout& layout = platform::kNotifyIconLayout)
      : area_(area), host_(host), layout_(layout), NotifyData(layout.size) {}
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  // Releasing does not remove the icon: the owner calls Remove first.
  ~TrayIcon() override;

  // OwnerForm: the window whose mouse moves carry the notifications. Moves
  // the subscription to the new window.
  void setOwnerForm(platform::Window* window);

  // Icon: the picture shown.
  void setIcon(std::shared_ptr<const platform::Picture> picture) { icon_ = std::move(picture); }

  // The text last set. Reading it before any set is an error.
  std::string tooltip() const;
  void setTooltip(const std::string& text) { tooltip_ = text + '\0'; }

  // 0 after Remove (or none yet), 1 after Add, 2 after Modify: the operation
  // called last, not whether the shell accepted it.
  std::int16_t State() const { return state_; }

  void Add() { send(platform::kNimAdd, 1); }
  void Modify() { send(platform::kNimModify, 2); }
  void Remove();

  // Sends a refused Add or Modify again: a shell still starting or busy at
  // logon refuses the icon, and one already running announces no restart that
  // would bring it back. A shell that timed out may have taken the icon all
  // the same, so the other request follows a refused one. Does nothing once
  // the shell has taken the last request.
  void retryRefused();

  // Raised on a double-click of either button, always with button 1.
  std::function<void(std::int16_t button)> MouseDblClick;

  void OwnerMouseMove(short button, short shift, float x, float y) override;

 private:
  void send(std::uint32_t request, std::int16_t stateAfter);
  // Sends the record as it stands, notes the shell's answer and returns it.
  bool deliver(std::uint32_t request);
  void putUint32(std::size_t offset, std::uint32_t value);
  // A 32-bit handle in a field as wide as the layout's handles.
  void putHandle(std::size_t offset, std::uint32_t handle);

  platform::NotificationArea& area_;
  TrayHost& host_;
  const platform::NotifyIconLayout layout_;

  // The record sent with every request; Remove sends it as it stands.
  platform::NotifyIconRecord NotifyData;
  std::optional<std::string> tooltip_;
  std::shared_ptr<const platform::Picture> icon_;
  std::int16_t state_ = 0;
  // Whether the shell holds the icon: an add or modify it took, and no
  // remove since.
  bool inShell_ = false;
  // Whether the shell refused the last add or modify.
  bool refused_ = false;
  platform::Window* ownerForm_ = nullptr;
  // Set while a notification is handled: one arriving meanwhile, from the
  // menu's own loop, is ignored.
  bool Busy = false;
};

// The tray's mouse code carried by a mouse-move report's X position:
// X / twipsPerPixelX, rounded to the nearest integer, halves to even.
// Positions that fit no 32-bit code decode to 0, which nothing acts on.
std::int32_t decodeTrayCode(float x, float twipsPerPixelX);

}  // namespace calvorin::tray

#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include <windows.h>

#include "platform/form.h"
#include "platform/win32/handles.h"
#include "resources/identity.h"

// A real top-level window built from a form description. One class, split
// by concern: win32_form.cpp builds the window and answers the Form calls,
// win32_form_menus.cpp builds and pops up its menus, win32_form_messages.cpp
// turns its messages into events.
namespace calvorin::win32 {

class Win32Ui;
class Win32Label;
class Win32PictureBox;
class Win32MenuItem;

class Win32Form final : public platform::Form {
 public:
  Win32Form(const platform::FormDescription& description, platform::FormEvents& events,
            Win32Ui& ui);
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;
  ~Win32Form() override;

  // The window class of every form.
  static constexpr const char* kClassName = identity::kFormClass;
  // What a second start of the program posts to the first one's main window.
  static UINT activationMessage();

  std::uint32_t handle() const override;
  void show() override;
  void hide() override;
  bool visible() const override;
  platform::WindowState windowState() const override;
  void setWindowState(platform::WindowState state) override;
  void bringToFront() override;
  void setMouseMoveListener(platform::MouseMoveListener* listener) override {
    listener_ = listener;
  }
  platform::MouseMoveListener* mouseMoveListener() const override { return listener_; }

  platform::Label& label(platform::ControlId label) override;
  platform::PictureBox& picture(platform::ControlId picture) override;
  platform::MenuItem& menuItem(platform::MenuId item) override;
  void popUpMenu(platform::MenuId menu) override;
  void requestClose() override;

  HWND hwnd() const { return hwnd_; }
  HBRUSH backBrush() const { return backBrush_.get(); }

 private:
  // The form whose window CreateWindowEx is making, until its WM_NCCREATE
  // arrives. Only that message attaches a window to a form: one sent later,
  // as any process can, would name a pointer of the sender's choosing.
  static inline Win32Form* creating_ = nullptr;

  static void registerClasses();
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept;
  static LRESULT CALLBACK pictureProc(HWND hwnd, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept;

  // Building.
  void createWindow(const platform::FormDescription& description);
  void keepClientHeight(int clientHeightTwips);
  void setIcon(const std::string& resource);
  void createLabels(const platform::FormDescription& description);
  void createPictures(const platform::FormDescription& description);
  void startTimers(const platform::FormDescription& description);
  void buildMenu(HMENU parent, const platform::MenuDescription& menu);
  int toPixelsX(int twips) const;
  int toPixelsY(int twips) const;

  // Runs an event handler; a failure ends it and is handed to the events'
  // owner, never to the caller, which is the window procedure.
  template <class Handler>
  void dispatch(Handler&& handler) noexcept;

  // One handler per message.
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onEraseBackground(HDC dc);
  LRESULT onCtlColorStatic(HDC dc, HWND control);
  LRESULT onCommand(WPARAM wParam, LPARAM lParam);
  LRESULT onMouseMove(WPARAM keys, LPARAM position);
  LRESULT onTimer(WPARAM timer);
  LRESULT onSize();
  LRESULT onClose();
  LRESULT onHelp();
  LRESULT onEndSession(bool ending);
  LRESULT onDestroy();
  LRESULT onTaskbarCreated();
  LRESULT onActivationRequested();
  void onPictureMouse(Win32PictureBox& box, UINT message, LPARAM position);

  // Set once the window is built: its owner hears of nothing before.
  platform::FormEvents* events_ = nullptr;
  Win32Ui& ui_;
  HWND hwnd_ = nullptr;
  UniqueBrush backBrush_;
  UniqueIcon icon_;
  int helpContextId_ = 0;
  platform::MouseMoveListener* listener_ = nullptr;
  std::map<platform::ControlId, std::unique_ptr<Win32Label>> labels_;
  std::map<HWND, Win32Label*> labelsByWindow_;
  std::map<platform::ControlId, std::unique_ptr<Win32PictureBox>> pictures_;
  std::map<platform::MenuId, std::unique_ptr<Win32MenuItem>> menuItems_;
  std::map<platform::MenuId, HMENU> subMenus_;
  std::set<platform::TimerId> timers_;
  // Owns the window from WM_NCCREATE until WM_NCDESTROY. Declared last, so
  // that a construction that fails destroys the window first, while the
  // members its messages reach still stand.
  UniqueWindow window_;
};

}  // namespace calvorin::win32

#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "platform/form.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/win32_pictures.h"

namespace calvorin::win32 {

class Win32Ui;
class Win32Label;
class Win32PictureBox;
class Win32MenuItem;

// A real top-level window built from a form description.
class Win32Form final : public platform::Form {
 public:
  Win32Form(const platform::FormDescription& description, platform::FormEvents& events,
            Win32Ui& ui);
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;
  ~Win32Form() override;

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

  platform::Label& label(const std::string& name) override;
  platform::PictureBox& picture(const std::string& name) override;
  platform::MenuItem& menuItem(const std::string& name) override;
  void popUpMenu(const std::string& menuName) override;
  void requestClose() override;

  HWND hwnd() const { return hwnd_; }
  // The window class of every form.
  static constexpr char kClassName[] = "CalvorinForm";
  // What a second start of the program posts to the first one's main window.
  static UINT activationMessage();
  HBRUSH backBrush() const { return backBrush_.get(); }

  // Runs an event handler; a failure ends it and is handed to the events'
  // owner, never to the caller, which is the window procedure.
  template <class Handler>
  void dispatch(Handler&& handler) noexcept;

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept;
  static LRESULT CALLBACK pictureProc(HWND hwnd, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept;
  static void registerClasses();

  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void buildMenu(HMENU parent, const platform::MenuDescription& menu);
  int toPixelsX(int twips) const;
  int toPixelsY(int twips) const;

  platform::FormEvents* events_;
  Win32Ui& ui_;
  HWND hwnd_ = nullptr;
  UniqueBrush backBrush_;
  UniqueIcon icon_;
  platform::MouseMoveListener* listener_ = nullptr;
  std::map<std::string, std::unique_ptr<Win32Label>> labels_;
  std::map<HWND, Win32Label*> labelsByWindow_;
  std::map<std::string, std::unique_ptr<Win32PictureBox>> pictures_;
  std::map<std::string, std::unique_ptr<Win32MenuItem>> menuItems_;
  std::map<std::string, HMENU> subMenus_;
  std::map<UINT, std::string> commandNames_;
  std::map<UINT_PTR, std::string> timerNames_;
  UINT nextCommandId_ = 100;
  int helpContextId_ = 0;
};

}  // namespace calvorin::win32

#include "platform/win32/win32_form.h"

#include <cmath>

#include "platform/platform_error.h"
#include "platform/win32/port_handles.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_ui.h"

namespace calvorin::win32 {

namespace {

constexpr char kPictureClass[] = "CalvorinPicture";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

HINSTANCE instance() {
  return GetModuleHandleA(nullptr);
}

template <class Map>
auto& find(Map& map, int id, const char* what) {
  const auto found = map.find(id);
  if (found == map.end())
    throw platform::PlatformError("The window has no " + std::string(what) + " " +
                                  std::to_string(id));
  return *found->second;
}

}  // namespace

void Win32Form::registerClasses() {
  static const bool registered = [] {
    WNDCLASSEXA form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = &Win32Form::windowProc;
    form.hInstance = instance();
    form.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
    form.lpszClassName = kClassName;
    WNDCLASSEXA picture = form;
    picture.lpfnWndProc = &Win32Form::pictureProc;
    picture.lpszClassName = kPictureClass;
    // The second press of a double-click comes as WM_LBUTTONDBLCLK, which is
    // no click: a double-click on a picture runs its command once.
    picture.style = CS_DBLCLKS;
    return RegisterClassExA(&form) != 0 && RegisterClassExA(&picture) != 0;
  }();
  if (!registered)
    throwLastError("Could not register the window classes");
}

Win32Form::Win32Form(const platform::FormDescription& description, platform::FormEvents& events,
                     Win32Ui& ui)
    : ui_(ui), helpContextId_(description.helpContextId) {
  registerClasses();
  // Building resizes the window; the running handler caused that.
  const HandlerGate::OwnCall building(ui_.gate());
  backBrush_ = solidBrush(description.backColor ? toColorref(*description.backColor)
                                                : GetSysColor(COLOR_BTNFACE));
  createWindow(description);
  keepClientHeight(description.clientHeight);
  setIcon(description.iconResource);
  createLabels(description);
  startTimers(description);
  createPictures(description);
  events_ = &events;
}

Win32Form::~Win32Form() {
  // The owner is going away: nothing may be reported to it any more.
  events_ = nullptr;
  window_.reset();
}

void Win32Form::createWindow(const platform::FormDescription& description) {
  UniqueMenu menuBar;
  if (!description.menus.empty()) {
    menuBar.reset(CreateMenu());
    if (!menuBar)
      throwLastError("Could not create the menu bar");
    for (const auto& menu : description.menus)
      buildMenu(menuBar.get(), menu);
  }
  const DWORD style = kFormStyle & (description.minimizeBox ? ~0ul : ~DWORD{WS_MINIMIZEBOX});
  RECT frame{toPixelsX(description.left), toPixelsY(description.top),
             toPixelsX(description.left + description.clientWidth),
             toPixelsY(description.top + description.clientHeight)};
  AdjustWindowRectEx(&frame, style, static_cast<bool>(menuBar), 0);
  creating_ = this;
  hwnd_ = CreateWindowExA(0, kClassName, description.caption.c_str(), style, frame.left, frame.top,
                          frame.right - frame.left, frame.bottom - frame.top, nullptr,
                          menuBar.get(), instance(), nullptr);
  creating_ = nullptr;
  if (!hwnd_)
    throwLastError("Could not create the window " + description.caption);
  menuBar.release();  // the window owns it now
}

void Win32Form::keepClientHeight(int clientHeightTwips) {
  // A long menu bar may wrap; the client area keeps its described height.
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int missing = toPixelsY(clientHeightTwips) - (client.bottom - client.top);
  if (missing == 0)
    return;
  RECT outer{};
  GetWindowRect(hwnd_, &outer);
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + missing,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::setIcon(const std::string& resource) {
  if (resource.empty())
    return;
  icon_.reset(static_cast<HICON>(LoadImageA(instance(), resource.c_str(), IMAGE_ICON, 0, 0, 0)));
  if (!icon_)
    throwLastError("Could not load the icon " + resource);
  SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
}

void Win32Form::createLabels(const platform::FormDescription& description) {
  for (const auto& label : description.labels) {
    const HWND control = CreateWindowExA(
        0, "STATIC", "",
        WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | (label.clickable ? SS_NOTIFY : 0),
        toPixelsX(label.bounds.left), toPixelsY(label.bounds.top), toPixelsX(label.bounds.width),
        toPixelsY(label.bounds.height), hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(label.id)), instance(), nullptr);
    if (!control)
      throwLastError("Could not create the label " + std::to_string(label.id));
    auto created = std::make_unique<Win32Label>(control, label);
    labelsByWindow_[control] = created.get();
    labels_[label.id] = std::move(created);
  }
}

void Win32Form::createPictures(const platform::FormDescription& description) {
  for (const auto& picture : description.pictures) {
    const HWND control =
        CreateWindowExA(0, kPictureClass, "", WS_CHILD | (picture.visible ? WS_VISIBLE : 0),
                        toPixelsX(picture.bounds.left), toPixelsY(picture.bounds.top),
                        toPixelsX(picture.bounds.width), toPixelsY(picture.bounds.height), hwnd_,
                        nullptr, instance(), nullptr);
    if (!control)
      throwLastError("Could not create the picture " + std::to_string(picture.id));
    auto box = std::make_unique<Win32PictureBox>(*this, control, picture);
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box.get()));
    pictures_[picture.id] = std::move(box);
  }
}

void Win32Form::startTimers(const platform::FormDescription& description) {
  for (const auto& timer : description.timers) {
    timers_.insert(timer.id);
    if (timer.enabled &&
        !SetTimer(hwnd_, static_cast<UINT_PTR>(timer.id), timer.intervalMs, nullptr))
      throwLastError("Could not start the timer " + std::to_string(timer.id));
  }
}

int Win32Form::toPixelsX(int twips) const {
  return static_cast<int>(std::lround(twips / ui_.twipsPerPixelX()));
}

int Win32Form::toPixelsY(int twips) const {
  return static_cast<int>(std::lround(twips / ui_.twipsPerPixelY()));
}

std::uint32_t Win32Form::handle() const {
  return toPortHandle(hwnd_);
}

void Win32Form::show() {
  const HandlerGate::OwnCall own(ui_.gate());
  ShowWindow(hwnd_, SW_SHOW);
}

void Win32Form::hide() {
  const HandlerGate::OwnCall own(ui_.gate());
  ShowWindow(hwnd_, SW_HIDE);
}

bool Win32Form::visible() const {
  return hwnd_ && IsWindowVisible(hwnd_);
}

platform::WindowState Win32Form::windowState() const {
  if (IsIconic(hwnd_))
    return platform::WindowState::Minimized;
  if (IsZoomed(hwnd_))
    return platform::WindowState::Maximized;
  return platform::WindowState::Normal;
}

void Win32Form::setWindowState(platform::WindowState state) {
  const HandlerGate::OwnCall own(ui_.gate());
  if (state == windowState())
    return;
  switch (state) {
    case platform::WindowState::Normal:
      ShowWindow(hwnd_, SW_RESTORE);
      break;
    case platform::WindowState::Minimized:
      ShowWindow(hwnd_, SW_MINIMIZE);
      break;
    case platform::WindowState::Maximized:
      ShowWindow(hwnd_, SW_MAXIMIZE);
      break;
  }
}

void Win32Form::bringToFront() {
  SetForegroundWindow(hwnd_);
}

UINT Win32Form::activationMessage() {
  static const UINT message = RegisterWindowMessageA(identity::kActivationMessage);
  return message;
}

platform::Label& Win32Form::label(platform::ControlId label) {
  return find(labels_, label, "label");
}

platform::PictureBox& Win32Form::picture(platform::ControlId picture) {
  return find(pictures_, picture, "picture");
}

platform::MenuItem& Win32Form::menuItem(platform::MenuId item) {
  return find(menuItems_, item, "menu entry");
}

void Win32Form::requestClose() {
  const HandlerGate::OwnCall own(ui_.gate());
  SendMessageA(hwnd_, WM_CLOSE, 0, 0);
}

}  // namespace calvorin::win32

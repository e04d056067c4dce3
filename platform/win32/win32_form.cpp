#include "platform/win32/win32_form.h"

#include <cmath>

#include "platform/platform_error.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_ui.h"

namespace calvorin::win32 {

namespace {

constexpr char kPictureClass[] = "CalvorinPicture";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

HINSTANCE instance() {
  return GetModuleHandleA(nullptr);
}

// Explorer broadcasts it when it has made the notification area anew.
bool isTaskbarCreated(UINT message) {
  static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  return taskbarCreated != 0 && message == taskbarCreated;
}

// The messages a form turns into events for its owner; the session's end,
// painting and the window's own upkeep are not among them.
bool carriesEvent(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_MOUSEMOVE:
    case WM_TIMER:
    case WM_SIZE:
    case WM_CLOSE:
    case WM_HELP:
      return true;
    default:
      return isTaskbarCreated(message) ||
             (message != 0 && message == Win32Form::activationMessage());
  }
}

}  // namespace

class Win32Label final : public platform::Label {
 public:
  Win32Label(HWND label, const platform::LabelDescription& description)
      : hwnd_(label),
        name_(description.name),
        textColor_(description.textColor),
        backColor_(description.backColor) {
    const int height =
        -static_cast<int>(std::lround(description.font.points * screenDpiY() / 72.0));
    font_.reset(CreateFontA(
        height, 0, 0, 0, description.font.bold ? FW_BOLD : FW_NORMAL, description.font.italic,
        description.font.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
        DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, description.font.face.c_str()));
    if (backColor_)
      backBrush_.reset(CreateSolidBrush(toColorref(*backColor_)));
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    setText(description.caption);
  }

  void setText(const std::string& text) override {
    text_ = text;
    SetWindowTextA(hwnd_, text.c_str());
  }
  std::string text() const override { return text_; }
  void setTextColor(platform::Color color) override {
    textColor_ = color;
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
  platform::Color textColor() const override {
    return textColor_.value_or(static_cast<platform::Color>(GetSysColor(COLOR_WINDOWTEXT)));
  }
  void repaint() override {
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }

  const std::string& name() const { return name_; }

  // WM_CTLCOLORSTATIC: the label's colours, or the form's background.
  HBRUSH paintColors(HDC dc, HBRUSH formBrush) const {
    SetTextColor(dc, textColor_ ? toColorref(*textColor_) : GetSysColor(COLOR_WINDOWTEXT));
    if (backBrush_) {
      SetBkColor(dc, toColorref(*backColor_));
      return backBrush_.get();
    }
    SetBkMode(dc, TRANSPARENT);
    return formBrush;
  }

 private:
  HWND hwnd_;
  std::string name_;
  std::string text_;
  std::optional<platform::Color> textColor_;
  std::optional<platform::Color> backColor_;
  UniqueFont font_;
  UniqueBrush backBrush_;
};

class Win32PictureBox final : public platform::PictureBox {
 public:
  Win32PictureBox(Win32Form& form, HWND box, std::string name, std::string resource, bool clickable)
      : form_(form),
        hwnd_(box),
        name_(std::move(name)),
        resource_(std::move(resource)),
        clickable_(clickable) {}

  std::shared_ptr<const platform::Picture> picture() const override {
    image();
    return picture_;
  }
  void setEnabled(bool enabled) override { EnableWindow(hwnd_, enabled); }
  bool enabled() const override { return IsWindowEnabled(hwnd_) != FALSE; }

  Win32Form& form() const { return form_; }
  const std::string& name() const { return name_; }
  bool clickable() const { return clickable_; }
  // Loaded on first use: decoding the GIFs would cost start-up time for a
  // window that is seldom shown.
  const Win32Picture& image() const {
    if (!picture_)
      picture_ = loadPicture(resource_);
    return *picture_;
  }

 private:
  Win32Form& form_;
  HWND hwnd_;
  std::string name_;
  std::string resource_;
  mutable std::shared_ptr<const Win32Picture> picture_;
  bool clickable_;
};

class Win32MenuItem final : public platform::MenuItem {
 public:
  Win32MenuItem(HMENU menu, UINT id) : menu_(menu), id_(id) {}

  void setEnabled(bool enabled) override {
    EnableMenuItem(menu_, id_, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  }
  bool enabled() const override {
    const UINT state = GetMenuState(menu_, id_, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
  }

 private:
  HMENU menu_;
  UINT id_;
};

template <class Handler>
void Win32Form::dispatch(Handler&& handler) noexcept {
  if (!events_)
    return;
  platform::FormEvents& events = *events_;
  try {
    try {
      handler();
    } catch (const platform::PlatformError&) {
      throw;
    } catch (const std::exception& error) {
      throw platform::PlatformError(error.what());
    }
  } catch (const platform::PlatformError& error) {
    try {
      events.handlerFailed(error);
    } catch (...) {
      // Presenting the failure failed too; nothing is left to tell it with.
    }
  } catch (...) {
    // Unknown exceptions must not cross the window procedure.
  }
}

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
    return RegisterClassExA(&form) != 0 && RegisterClassExA(&picture) != 0;
  }();
  if (!registered)
    throwLastError("Could not register the window classes");
}

Win32Form::Win32Form(const platform::FormDescription& description, platform::FormEvents& events,
                     Win32Ui& ui)
    : events_(&events), ui_(ui), helpContextId_(description.helpContextId) {
  registerClasses();
  backBrush_.reset(CreateSolidBrush(description.backColor ? toColorref(*description.backColor)
                                                          : GetSysColor(COLOR_BTNFACE)));

  UniqueMenu menuBar;
  if (!description.menus.empty()) {
    menuBar.reset(CreateMenu());
    for (const auto& menu : description.menus)
      buildMenu(menuBar.get(), menu);
  }

  const DWORD style = kFormStyle & (description.minimizeBox ? ~0ul : ~DWORD{WS_MINIMIZEBOX});
  RECT frame{toPixelsX(description.left), toPixelsY(description.top),
             toPixelsX(description.left + description.clientWidth),
             toPixelsY(description.top + description.clientHeight)};
  AdjustWindowRectEx(&frame, style, menuBar != nullptr, 0);
  hwnd_ = CreateWindowExA(0, kClassName, description.caption.c_str(), style, frame.left, frame.top,
                          frame.right - frame.left, frame.bottom - frame.top, nullptr,
                          menuBar.get(), instance(), this);
  if (!hwnd_)
    throwLastError("Could not create the window " + description.caption);
  menuBar.release();  // the window owns it now
  ui_.formOpened();

  // A long menu bar may wrap; keep the client area as described.
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int missing = toPixelsY(description.clientHeight) - (client.bottom - client.top);
  if (missing != 0) {
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + missing,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  if (!description.iconResource.empty()) {
    icon_.reset(static_cast<HICON>(
        LoadImageA(instance(), description.iconResource.c_str(), IMAGE_ICON, 0, 0, 0)));
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
  }

  for (const auto& label : description.labels) {
    const HWND control = CreateWindowExA(
        0, "STATIC", "",
        WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | (label.clickable ? SS_NOTIFY : 0),
        toPixelsX(label.bounds.left), toPixelsY(label.bounds.top), toPixelsX(label.bounds.width),
        toPixelsY(label.bounds.height), hwnd_, nullptr, instance(), nullptr);
    if (!control)
      throwLastError("Could not create the label " + label.name);
    auto created = std::make_unique<Win32Label>(control, label);
    labelsByWindow_[control] = created.get();
    labels_[label.name] = std::move(created);
  }

  UINT_PTR timerId = 1;
  for (const auto& timer : description.timers) {
    timerNames_[timerId] = timer.name;
    if (timer.enabled)
      SetTimer(hwnd_, timerId, timer.intervalMs, nullptr);
    ++timerId;
  }

  for (const auto& picture : description.pictures) {
    const HWND control =
        CreateWindowExA(0, kPictureClass, "", WS_CHILD | (picture.visible ? WS_VISIBLE : 0),
                        toPixelsX(picture.bounds.left), toPixelsY(picture.bounds.top),
                        toPixelsX(picture.bounds.width), toPixelsY(picture.bounds.height), hwnd_,
                        nullptr, instance(), nullptr);
    if (!control)
      throwLastError("Could not create the picture " + picture.name);
    auto box = std::make_unique<Win32PictureBox>(*this, control, picture.name, picture.resource,
                                                 picture.clickable);
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box.get()));
    pictures_[picture.name] = std::move(box);
  }
}

Win32Form::~Win32Form() {
  // The owner is going away: nothing may be reported to it any more.
  events_ = nullptr;
  if (hwnd_)
    DestroyWindow(hwnd_);
}

void Win32Form::buildMenu(HMENU parent, const platform::MenuDescription& menu) {
  const UINT id = nextCommandId_++;
  commandNames_[id] = menu.name;
  if (menu.caption == "-") {
    AppendMenuA(parent, MF_SEPARATOR, id, nullptr);
    return;
  }
  if (menu.items.empty()) {
    AppendMenuA(parent, MF_STRING, id, menu.caption.c_str());
    menuItems_[menu.name] = std::make_unique<Win32MenuItem>(parent, id);
    return;
  }
  const HMENU sub = CreatePopupMenu();
  for (const auto& item : menu.items)
    buildMenu(sub, item);
  AppendMenuA(parent, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), menu.caption.c_str());
  subMenus_[menu.name] = sub;
}

int Win32Form::toPixelsX(int twips) const {
  return static_cast<int>(std::lround(twips / ui_.twipsPerPixelX()));
}

int Win32Form::toPixelsY(int twips) const {
  return static_cast<int>(std::lround(twips / ui_.twipsPerPixelY()));
}

std::uint32_t Win32Form::handle() const {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(hwnd_));
}

void Win32Form::show() {
  ShowWindow(hwnd_, SW_SHOW);
}

void Win32Form::hide() {
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

platform::Label& Win32Form::label(const std::string& name) {
  const auto found = labels_.find(name);
  if (found == labels_.end())
    throw platform::PlatformError("The window has no label " + name);
  return *found->second;
}

platform::PictureBox& Win32Form::picture(const std::string& name) {
  const auto found = pictures_.find(name);
  if (found == pictures_.end())
    throw platform::PlatformError("The window has no picture " + name);
  return *found->second;
}

platform::MenuItem& Win32Form::menuItem(const std::string& name) {
  const auto found = menuItems_.find(name);
  if (found == menuItems_.end())
    throw platform::PlatformError("The window has no menu " + name);
  return *found->second;
}

void Win32Form::popUpMenu(const std::string& menuName) {
  const auto found = subMenus_.find(menuName);
  if (found == subMenus_.end())
    throw platform::PlatformError("The window has no menu " + menuName);
  POINT pointer{};
  GetCursorPos(&pointer);
  // Without the foreground the menu would not close when the user clicks
  // elsewhere.
  SetForegroundWindow(hwnd_);
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(found->second, TPM_RETURNCMD, pointer.x, pointer.y, 0, hwnd_, nullptr));
  PostMessageA(hwnd_, WM_NULL, 0, 0);
  if (command == 0 || !events_)
    return;
  // The chosen command runs before the pop-up returns.
  const auto name = commandNames_.find(command);
  if (name != commandNames_.end())
    events_->menuClicked(name->second);
}

void Win32Form::bringToFront() {
  SetForegroundWindow(hwnd_);
}

UINT Win32Form::activationMessage() {
  static const UINT message = RegisterWindowMessageA("Calvorin.ActivationRequested");
  return message;
}

void Win32Form::requestClose() {
  SendMessageA(hwnd_, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK Win32Form::windowProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* form = static_cast<Win32Form*>(create->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!form)
    return DefWindowProcA(hwnd, message, wParam, lParam);
  if (form->ui_.holdingEvents() && carriesEvent(message)) {
    // Kept, in order, for the message loop after the wait.
    PostMessageA(hwnd, message, wParam, lParam);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    form->hwnd_ = nullptr;
    form->ui_.formClosed();
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return form->handleMessage(message, wParam, lParam);
}

LRESULT Win32Form::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (isTaskbarCreated(message)) {
    dispatch([&] { events_->notificationAreaCreated(); });
    return 0;
  }
  if (message == activationMessage() && message != 0) {
    dispatch([&] { events_->activationRequested(); });
    return 0;
  }
  switch (message) {
    case WM_ENTERMENULOOP:
      ui_.modalLoopEntered();
      break;
    case WM_EXITMENULOOP:
      ui_.modalLoopLeft();
      break;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(hwnd_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, backBrush_.get());
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      const auto found = labelsByWindow_.find(reinterpret_cast<HWND>(lParam));
      if (found != labelsByWindow_.end()) {
        return reinterpret_cast<LRESULT>(
            found->second->paintColors(reinterpret_cast<HDC>(wParam), backBrush_.get()));
      }
      break;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == STN_CLICKED && lParam != 0) {
        const auto label = labelsByWindow_.find(reinterpret_cast<HWND>(lParam));
        if (label != labelsByWindow_.end()) {
          const std::string name = label->second->name();
          dispatch([&] { events_->controlClicked(name); });
          return 0;
        }
      }
      if (lParam == 0 && HIWORD(wParam) == 0) {
        const auto name = commandNames_.find(LOWORD(wParam));
        if (name != commandNames_.end()) {
          dispatch([&] { events_->menuClicked(name->second); });
        }
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (listener_) {
        // Each tray notification arrives as a mouse move whose X is its code.
        const float x = static_cast<short>(LOWORD(lParam)) * ui_.twipsPerPixelX();
        const float y = static_cast<short>(HIWORD(lParam)) * ui_.twipsPerPixelY();
        short button = 0;
        if (wParam & MK_LBUTTON)
          button |= 1;
        if (wParam & MK_RBUTTON)
          button |= 2;
        if (wParam & MK_MBUTTON)
          button |= 4;
        short shift = 0;
        if (wParam & MK_SHIFT)
          shift |= 1;
        if (wParam & MK_CONTROL)
          shift |= 2;
        if (GetKeyState(VK_MENU) < 0)
          shift |= 4;
        dispatch([&] { listener_->OwnerMouseMove(button, shift, x, y); });
      }
      return 0;
    case WM_TIMER: {
      const auto timer = timerNames_.find(static_cast<UINT_PTR>(wParam));
      if (timer != timerNames_.end()) {
        const std::string name = timer->second;
        dispatch([&] { events_->timerElapsed(name); });
      }
      return 0;
    }
    case WM_SIZE:
      dispatch([&] { events_->resized(); });
      return 0;
    case WM_QUERYENDSESSION:
      // Agreed at once and without a question: nothing here is worth keeping
      // a log-off waiting.
      return TRUE;
    case WM_ENDSESSION:
      if (wParam)
        dispatch([&] { events_->sessionEnded(); });
      return 0;
    case WM_CLOSE: {
      bool allow = false;
      dispatch([&] { allow = events_->closeRequested(); });
      if (allow)
        DestroyWindow(hwnd_);
      return 0;
    }
    case WM_HELP:
      // F1: the help file at this form's topic.
      if (helpContextId_ != 0 && !ui_.helpFile().empty()) {
        WinHelpA(hwnd_, ui_.helpFile().c_str(), HELP_CONTEXT,
                 static_cast<ULONG_PTR>(helpContextId_));
      }
      return TRUE;
    case WM_DESTROY:
      dispatch([&] { events_->closed(); });
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Win32Form::pictureProc(HWND hwnd, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
  auto* box = reinterpret_cast<Win32PictureBox*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!box)
    return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(hwnd, &paint);
      RECT client{};
      GetClientRect(hwnd, &client);
      FillRect(dc, &client, box->form().backBrush());
      try {
        box->image().draw(dc, 0, 0);
      } catch (const platform::PlatformError&) {
        // A picture that cannot be loaded leaves its place empty.
      }
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_LBUTTONUP:
      // A disabled window gets no mouse input, so this is an enabled button.
      if (box->clickable()) {
        Win32Form& form = box->form();
        const std::string name = box->name();
        form.dispatch([&] { form.events_->controlClicked(name); });
      }
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace calvorin::win32

#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_tray.h"
#include "platform/form.h"
#include "platform/platform_error.h"

namespace calvorin::fakes {

class FakeLabel final : public platform::Label {
 public:
  void setText(const std::string& text) override {
    text_ = text;
    history.push_back("text:" + text);
    if (onText)
      onText(text);
  }
  std::string text() const override { return text_; }
  void setTextColor(platform::Color color) override {
    color_ = color;
    history.push_back("color:" + std::to_string(color));
  }
  platform::Color textColor() const override { return color_; }
  void repaint() override { history.push_back("repaint"); }

  std::vector<std::string> history;
  std::function<void(const std::string&)> onText;

 private:
  std::string text_;
  platform::Color color_ = 0;
};

class FakePictureBox final : public platform::PictureBox {
 public:
  explicit FakePictureBox(std::uint32_t handle) : picture_(std::make_shared<FakePicture>(handle)) {}
  std::shared_ptr<const platform::Picture> picture() const override { return picture_; }
  void setEnabled(bool enabled) override { enabled_ = enabled; }
  bool enabled() const override { return enabled_; }

 private:
  std::shared_ptr<const platform::Picture> picture_;
  bool enabled_ = true;
};

class FakeMenuItem final : public platform::MenuItem {
 public:
  void setEnabled(bool enabled) override { enabled_ = enabled; }
  bool enabled() const override { return enabled_; }

 private:
  bool enabled_ = true;
};

// A form built from its description: every named control exists, in its
// initial state; pictures get distinct handles.
class FakeForm final : public platform::Form {
 public:
  FakeForm(const platform::FormDescription& description, platform::FormEvents& events,
           int& modalLoops)
      : description(description), events(events), modalLoops_(modalLoops) {
    std::uint32_t handle = 0x5000;
    for (const auto& label : description.labels)
      labels_[label.name].setText(label.caption);
    for (const auto& picture : description.pictures) {
      pictures_.emplace(picture.name, FakePictureBox(handle++));
    }
    for (const auto& menu : description.menus)
      addMenu(menu);
    for (auto& [name, label] : labels_)
      label.history.clear();
  }

  std::uint32_t handle() const override { return 0x00010042; }
  void show() override {
    visible_ = true;
    history.push_back("show");
  }
  void hide() override {
    visible_ = false;
    history.push_back("hide");
  }
  bool visible() const override { return visible_; }
  platform::WindowState windowState() const override { return state_; }
  void setWindowState(platform::WindowState state) override {
    state_ = state;
    events.resized();
  }
  void bringToFront() override { history.push_back("bringToFront"); }
  void setMouseMoveListener(platform::MouseMoveListener* listener) override {
    listener_ = listener;
  }
  platform::MouseMoveListener* mouseMoveListener() const override { return listener_; }

  FakeLabel& label(const std::string& name) override { return find(labels_, name); }
  FakePictureBox& picture(const std::string& name) override { return find(pictures_, name); }
  FakeMenuItem& menuItem(const std::string& name) override { return find(menuItems_, name); }
  void popUpMenu(const std::string& menuName) override {
    popups.push_back(menuName);
    ++modalLoops_;
    if (whileMenuIsOpen)
      whileMenuIsOpen();
    --modalLoops_;
    if (chooseFromPopup) {
      const std::string choice = std::exchange(chooseFromPopup, {}).value();
      events.menuClicked(choice);
    }
  }
  // As a real window: the close goes ahead only when the owner allows it.
  void requestClose() override {
    history.push_back("requestClose");
    if (events.closeRequested()) {
      closed_ = true;
      events.closed();
    }
  }
  bool closed() const { return closed_; }

  void deliverTrayCode(int code) {
    if (listener_)
      listener_->OwnerMouseMove(0, 0, code * 15.0f, 0.0f);
  }

  const platform::FormDescription description;
  platform::FormEvents& events;
  std::vector<std::string> history;
  std::vector<std::string> popups;
  std::optional<std::string> chooseFromPopup;
  std::function<void()> whileMenuIsOpen;

 private:
  template <class Map>
  static typename Map::mapped_type& find(Map& map, const std::string& name) {
    const auto found = map.find(name);
    if (found == map.end())
      throw platform::PlatformError("no control " + name);
    return found->second;
  }

  void addMenu(const platform::MenuDescription& menu) {
    if (menu.caption != "-")
      menuItems_[menu.name];
    for (const auto& item : menu.items)
      addMenu(item);
  }

  int& modalLoops_;
  bool visible_ = false;
  bool closed_ = false;
  platform::WindowState state_ = platform::WindowState::Normal;
  platform::MouseMoveListener* listener_ = nullptr;
  std::map<std::string, FakeLabel> labels_;
  std::map<std::string, FakePictureBox> pictures_;
  std::map<std::string, FakeMenuItem> menuItems_;
};

class FakeUi final : public platform::Ui {
 public:
  struct Message {
    std::string text;
    std::string title;
    platform::MessageIcon icon;
  };

  std::unique_ptr<platform::Form> createForm(const platform::FormDescription& description,
                                             platform::FormEvents& events) override {
    auto form = std::make_unique<FakeForm>(description, events, modalLoops);
    forms.push_back(form.get());
    return form;
  }
  void messageBox(const std::string& text, const std::string& title,
                  platform::MessageIcon icon) override {
    messages.push_back({text, title, icon});
    ++modalLoops;
    if (whileMessageIsShown)
      whileMessageIsShown();
    --modalLoops;
  }
  float twipsPerPixelX() const override { return 15.0f; }
  void setHelpFile(const std::string& path) override { helpFile_ = path; }
  std::string helpFile() const override { return helpFile_; }
  bool inModalLoop() const override { return modalLoops > 0; }
  void letSessionEndIn() override {
    if (whileWaiting)
      whileWaiting();
  }
  void quit() override { quitRequested = true; }

  std::vector<FakeForm*> forms;
  std::vector<Message> messages;
  std::function<void()> whileMessageIsShown;
  // Called on every pass of a start or stop wait.
  std::function<void()> whileWaiting;
  bool quitRequested = false;
  int modalLoops = 0;

 private:
  std::string helpFile_;
};

}  // namespace calvorin::fakes

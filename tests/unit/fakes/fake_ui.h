#pragma once

#include <functional>
#include <optional>
#include <utility>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_tray.h"
#include "fakes/fake_window.h"
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

// A form built from its description: every control and menu entry exists,
// in its initial state; pictures get distinct handles.
class FakeForm final : public FakeWindowOf<platform::Form> {
 public:
  FakeForm(const platform::FormDescription& description, platform::FormEvents& events,
           int& modalLoops)
      : FakeWindowOf(0x00010042),
        description(description),
        events(events),
        modalLoops_(modalLoops) {
    std::uint32_t handle = 0x5000;
    for (const auto& label : description.labels)
      labels_[label.id].setText(label.caption);
    for (const auto& picture : description.pictures)
      pictures_.emplace(picture.id, FakePictureBox(handle++));
    for (const auto& menu : description.menus)
      addMenu(menu);
    for (auto& [id, label] : labels_)
      label.history.clear();
  }

  // As a real window: a change of state is reported.
  void setWindowState(platform::WindowState state) override {
    FakeWindowOf::setWindowState(state);
    events.resized();
  }

  FakeLabel& label(platform::ControlId label) override { return find(labels_, label); }
  FakePictureBox& picture(platform::ControlId picture) override { return find(pictures_, picture); }
  FakeMenuItem& menuItem(platform::MenuId item) override { return find(menuItems_, item); }
  void popUpMenu(platform::MenuId menu) override {
    popups.push_back(menu);
    ++modalLoops_;
    if (whileMenuIsOpen)
      whileMenuIsOpen();
    --modalLoops_;
    if (chooseFromPopup)
      events.menuClicked(*std::exchange(chooseFromPopup, std::nullopt));
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

  const platform::FormDescription description;
  platform::FormEvents& events;
  std::vector<platform::MenuId> popups;
  std::optional<platform::MenuId> chooseFromPopup;
  std::function<void()> whileMenuIsOpen;

 private:
  template <class Map>
  static typename Map::mapped_type& find(Map& map, int id) {
    const auto found = map.find(id);
    if (found == map.end())
      throw platform::PlatformError("no control " + std::to_string(id));
    return found->second;
  }

  void addMenu(const platform::MenuDescription& menu) {
    if (menu.caption != "-")
      menuItems_[menu.id];
    for (const auto& item : menu.items)
      addMenu(item);
  }

  int& modalLoops_;
  bool closed_ = false;
  std::map<platform::ControlId, FakeLabel> labels_;
  std::map<platform::ControlId, FakePictureBox> pictures_;
  std::map<platform::MenuId, FakeMenuItem> menuItems_;
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

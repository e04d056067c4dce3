#pragma once

#include <memory>
#include <string>

#include "platform/form.h"
#include "platform/process.h"

namespace calvorin::help {

// The About window's labels: the product and version, and the link.
enum Form2Control : platform::ControlId { Label1 = 1, Label2 };

// The About window: product name, version and a link to the web site.
platform::FormDescription form2Layout();

// The browser at its fixed place, on the web site. The path holds a blank, so
// it is quoted: unquoted, Windows would first try to run "C:\Program.exe".
std::string browserCommandLine();

// The About window. It lives on its own: closing the main window leaves it
// open, and closing it unloads it.
class Form2 final : public platform::FormEvents {
 public:
  Form2(platform::Ui& ui, platform::ProgramLauncher& launcher);

  void Show();
  void Label2_Click();
  bool unloaded() const { return unloaded_; }

  // platform::FormEvents
  void menuClicked(platform::MenuId) override {}
  void controlClicked(platform::ControlId control) override;
  void resized() override {}
  bool closeRequested() override { return true; }
  void closed() override { unloaded_ = true; }
  void handlerFailed(const platform::PlatformError& error) override;

 private:
  platform::Ui& ui_;
  platform::ProgramLauncher& launcher_;
  std::unique_ptr<platform::Form> form_;
  bool unloaded_ = false;
};

}  // namespace calvorin::help

#pragma once

#include <memory>
#include <string>

#include "autostart/reg.h"
#include "platform/form.h"
#include "platform/process.h"

namespace calvorin::help {

// The About window's labels: the product and version, and the link.
enum Form2Control : platform::ControlId { Label1 = 1, Label2 };

// The About window: product name, version and a link to the web site.
platform::FormDescription form2Layout();

// The browser on the web site, given the browser Windows has registered (as
// GetRegValue reads it). The fixed place is started only when it is the
// registered browser: where Program Files has another name, that path may
// hold a program any user put there. Otherwise the registered one is started;
// with none, nothing is. The path is quoted: unquoted, Windows would first try
// to run "C:\Program.exe".
std::string browserCommandLine(const std::string& registeredBrowser);

// The About window. It lives on its own: closing the main window leaves it
// open, and closing it unloads it.
class Form2 final : public platform::FormEvents {
 public:
  Form2(platform::Ui& ui, platform::ProgramLauncher& launcher, autostart::Reg& reg);

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
  autostart::Reg& reg_;
  std::unique_ptr<platform::Form> form_;
  bool unloaded_ = false;
};

}  // namespace calvorin::help

#pragma once

#include "platform/form.h"
#include "platform/help_engine.h"

namespace calvorin::win32 {

// Windows, message boxes and the message loop of the user-interface thread.
class Win32Ui final : public platform::Ui {
 public:
  // F1 goes to the help engine, at the active form's context number.
  explicit Win32Ui(platform::HelpEngine& helpEngine);
  std::unique_ptr<platform::Form> createForm(const platform::FormDescription& description,
                                             platform::FormEvents& events) override;
  void messageBox(const std::string& text, const std::string& title,
                  platform::MessageIcon icon) override;
  float twipsPerPixelX() const override { return twipsPerPixelX_; }
  float twipsPerPixelY() const { return twipsPerPixelY_; }
  void setHelpFile(const std::string& path) override { helpFile_ = path; }
  platform::HelpEngine& helpEngine() const { return helpEngine_; }
  std::string helpFile() const override { return helpFile_; }
  bool inModalLoop() const override { return modalLoops_ > 0; }
  void letSessionEndIn() override;
  void quit() override;
  // True while letSessionEndIn takes sent messages: a form then keeps back
  // every event but the session's end.
  bool holdingEvents() const { return holdingEvents_; }
  void modalLoopEntered() { ++modalLoops_; }
  void modalLoopLeft() { --modalLoops_; }

  // Runs the message loop until no form of the program is open.
  int run();

  void formOpened() { ++openForms_; }
  void formClosed();

 private:
  platform::HelpEngine& helpEngine_;
  // Read once: a process that declares no DPI awareness keeps its DPI, and
  // every tray notification asks for the scale.
  float twipsPerPixelX_;
  float twipsPerPixelY_;
  int openForms_ = 0;
  int modalLoops_ = 0;
  bool holdingEvents_ = false;
  unsigned long lastSessionCheck_ = 0;
  std::string helpFile_;
};

}  // namespace calvorin::win32

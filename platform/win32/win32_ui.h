#pragma once

#include "platform/form.h"
#include "platform/help_engine.h"
#include "platform/win32/handler_gate.h"

namespace calvorin::win32 {

// A message box of the program's own kind, owned by owner (or by none).
void showMessageBox(HWND owner, const std::string& text, const std::string& title,
                    platform::MessageIcon icon);

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
  bool inModalLoop() const override { return gate_.inModalLoop(); }
  void letSessionEndIn() override;
  void quit() override;
  HandlerGate& gate() { return gate_; }

  // Runs the message loop until no form of the program is open.
  int run();

  // The first form opened is the main window, which owns the message boxes
  // while it is shown.
  void formOpened(HWND window);
  void formClosed(HWND window);

 private:
  platform::HelpEngine& helpEngine_;
  // Read once: a process that declares no DPI awareness keeps its DPI, and
  // every tray notification asks for the scale.
  float twipsPerPixelX_;
  float twipsPerPixelY_;
  int openForms_ = 0;
  HWND mainWindow_ = nullptr;
  HandlerGate gate_;
  unsigned long lastSessionCheck_ = 0;
  std::string helpFile_;
};

}  // namespace calvorin::win32

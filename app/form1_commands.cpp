#include "app/form1.h"

#include "app/form1_layout.h"
#include "autostart/autostart_commands.h"
#include "resources/texts.h"

namespace calvorin::app {

namespace {

// Marks a command as running for as long as it runs.
class CommandScope {
 public:
  explicit CommandScope(bool& running) : running_(running), outer_(running) { running_ = true; }
  ~CommandScope() { running_ = outer_; }
  CommandScope(const CommandScope&) = delete;
  CommandScope& operator=(const CommandScope&) = delete;

 private:
  bool& running_;
  bool outer_;
};

}  // namespace

void Form1::menuClicked(platform::MenuId menu) {
  const CommandScope scope(commandRunning_);
  switch (static_cast<Form1Menu>(menu)) {
    case mnustart:
      StartMessenger();
      break;
    case mnuStop:
      StopMessenger();
      break;
    case mnuAst:
      mnuAst_Click();
      break;
    case mnuAdis:
      mnuAdis_Click();
      break;
    case mnuExit:
      mnuExit_Click();
      break;
    case mnuRefresh:
      mnuRefresh_Click();
      break;
    case menuMsgHelp:
      menuMsgHelp_Click();
      break;
    case mnuAbout:
      mnuAbout_Click();
      break;
    // Sub-menus and separators: no commands.
    case mnuFile:
    case mnuspace1:
    case mnuspace2:
    case mnuspace3:
    case mnuspace4:
    case mnuHelp:
      break;
  }
}

void Form1::controlClicked(platform::ControlId control) {
  const CommandScope scope(commandRunning_);
  switch (static_cast<Form1Control>(control)) {
    case Image3:
      StartMessenger();
      break;
    case Image4:
      StopMessenger();
      break;
    // Neither the status line nor the tray pictures react to clicks.
    case Label1:
    case Image1:
    case Image2:
      break;
  }
}

void Form1::StartMessenger() {
  procedures_.run(service::kStartCommand);
}

void Form1::StopMessenger() {
  procedures_.run(service::kStopCommand);
}

void Form1::showStartSucceeded() {
  RemoveTrayIcon();
  ShowRunning();
}

void Form1::setPictureButtonsEnabled(bool enabled) {
  form_->picture(Image3).setEnabled(enabled);
  form_->picture(Image4).setEnabled(enabled);
}

void Form1::setStatus(const std::string& text, platform::Color color) {
  auto& label = form_->label(Label1);
  label.setText(text);
  label.setTextColor(color);
}

void Form1::repaintStatus() {
  form_->label(Label1).repaint();
}

void Form1::message(const std::string& text, const std::string& title, platform::MessageIcon icon) {
  platform_.ui.messageBox(text, title, icon);
}

bool Form1::sessionOver() {
  platform_.ui.letSessionEndIn();
  return sessionEnded_;
}

void Form1::mnuAst_Click() {
  const long result = reg_.SetRegValue(
      platform::kHkeyLocalMachine, autostart::kRunKey, autostart::kRunValue, platform::kRegSz,
      autostart::autoStartPath(platform_.environment.applicationPath()));
  if (result != 0) {
    message(autostart::autoStartFailureText(result), texts::kAppTitle,
            platform::MessageIcon::Critical);
    return;
  }
  showAutoStart(true);
}

void Form1::mnuAdis_Click() {
  const long result =
      reg_.DeleteRegValue(platform::kHkeyLocalMachine, autostart::kRunKey, autostart::kRunValue);
  if (result != 0) {
    message(autostart::autoStartFailureText(result), texts::kAppTitle,
            platform::MessageIcon::Critical);
    return;
  }
  showAutoStart(false);
}

void Form1::showAutoStart(bool registered) {
  const bool running = service_.ServiceRunning;
  tray().setIcon(form_->picture(running ? Image1 : Image2).picture());
  tray().setTooltip(running ? texts::kTooltipRunning : texts::kTooltipStopped);
  tray().Modify();
  showRegistration(registered);
}

void Form1::mnuExit_Click() {
  form_->requestClose();
}

void Form1::menuMsgHelp_Click() {
  platform_.launcher.launch(help::messengerHelpCommandLine(
      platform_.environment.variable("windir"), platform_.environment.applicationPath()));
}

void Form1::mnuAbout_Click() {
  if (!about_ || about_->unloaded()) {
    about_ = std::make_unique<help::Form2>(platform_.ui, platform_.launcher, reg_);
  }
  about_->Show();
}

}  // namespace calvorin::app

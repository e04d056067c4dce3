#include "app/form1.h"

#include "app/form1_layout.h"
#include "autostart/autostart_commands.h"
#include "resources/texts.h"
#include "service/service_values.h"

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

Form1::Form1(Platform platform)
    : platform_(platform),
      service_(platform.wmi),
      procedures_(service_, platform.clock, *this),
      reg_(platform.registry),
      contextIds_(platform.helpEngine, platform.environment, platform.ui),
      form_(platform.ui.createForm(form1Layout(), *this)) {}

Form1::~Form1() {
  // The icon unsubscribes from the window it listens to, so it goes first;
  // the windows go while the connection and the ports they use still stand.
  t.reset();
  about_.reset();
  form_.reset();
}

bool Form1::load() {
  try {
    Form_Load();
    return true;
  } catch (const platform::PlatformError& error) {
    handlerFailed(error);
    takeDownTrayIcon();
    return false;
  }
}

void Form1::Form_Load() {
  contextIds_.InitHelp(form_->handle());
  service_.OpenConnection();
  const auto messenger = service_.fetchService();
  showServiceAndRegistration(*messenger);
  form_->hide();
}

void Form1::mnuRefresh_Click() {
  service_.OpenConnection();
  const auto messenger = service_.fetchService();
  // Without a tray icon (a refresh that failed half-way) there is nothing
  // to take down, and this refresh puts a new one up.
  takeDownTrayIcon();
  showServiceAndRegistration(*messenger);
}

void Form1::takeDownTrayIcon() {
  // The icon leaves the tray before its component goes: releasing does not
  // remove it.
  if (t) {
    t->Remove();
    t.reset();
  }
}

void Form1::newTrayIcon(Form1Control picture, const std::string& tooltip) {
  t = std::make_shared<tray::TrayIcon>(platform_.notificationArea, *this);
  t->setOwnerForm(form_.get());
  t->MouseDblClick = [this](std::int16_t button) { t_MouseDblClick(button); };
  t->setIcon(form_->picture(picture).picture());
  t->setTooltip(tooltip);
}

void Form1::showServiceAndRegistration(platform::WmiObject& messenger) {
  if (service::stateReads(messenger, service::kStateStopped)) {
    service_.ServiceRunning = false;
    newTrayIcon(Image2, texts::kTooltipStopped);
    t->Add();
    ShowStopped();
  } else {
    service_.ServiceRunning = true;
    newTrayIcon(Image1, texts::kTooltipRunning);
    ShowRunning();
  }
  form_->show();
  showStartMode(service::startModeReads(messenger, service::kStartModeDisabled));
  showRegistration(autostart::isRegistered(reg_));
}

void Form1::showStartMode(bool disabled) {
  setPictureButtonsEnabled(!disabled);
  if (disabled)
    setStatus(texts::kStatusDisabled, texts::kColorStopped);
}

void Form1::showRegistration(bool registered) {
  form_->menuItem(mnuAst).setEnabled(!registered);
  form_->menuItem(mnuAdis).setEnabled(registered);
}

void Form1::Timer1_Timer() {
  // Modal loops hand timer messages out too; a command's box or a menu must
  // not have the display change under it.
  if (!t || commandRunning_ || platform_.ui.inModalLoop())
    return;
  try {
    const auto messenger = service_.fetchService();
    const bool running = !service::stateReads(*messenger, service::kStateStopped);
    const bool disabled = service::startModeReads(*messenger, service::kStartModeDisabled);
    const bool registered = autostart::isRegistered(reg_);

    const bool ownStart = service_.takeOwnStartRequest();

    const bool startedOutside = running && !service_.ServiceRunning && !ownStart;
    const bool viewChanges = running != service_.ServiceRunning;
    const bool startModeChanges = disabled == form_->picture(Image3).enabled();
    if (viewChanges) {
      service_.ServiceRunning = running;
      if (running) {
        RemoveTrayIcon();
        ShowRunning();
      } else {
        ShowStopped();
      }
    } else if (startModeChanges && !disabled) {
      // The Disabled mark goes: the view's own line comes back, as Refresh
      // would show it.
      showViewStatus();
    }
    // A view rewrites the status line, so the Disabled mark goes on again.
    if (viewChanges || startModeChanges)
      showStartMode(disabled);
    if (registered != form_->menuItem(mnuAdis).enabled())
      showRegistration(registered);
    if (startedOutside) {
      platform_.notificationArea.showWarningBalloon(form_->handle(), 1, texts::kAppTitle,
                                                    texts::kStartedOutsideWarning);
    }
  } catch (const platform::PlatformError&) {
    // Nothing is shown: the next tick tries again, without a storm of boxes.
  }
}

void Form1::timerElapsed(platform::TimerId timer) {
  switch (static_cast<Form1Timer>(timer)) {
    case Timer1:
      Timer1_Timer();
      break;
  }
}

void Form1::notificationAreaCreated() {
  // The icon is put back only if the program shows one.
  if (t && t->State() != 0)
    t->Add();
}

void Form1::sessionEnded() {
  contextIds_.QuitHelp();
  takeDownTrayIcon();
  sessionEnded_ = true;
  platform_.ui.quit();
}

bool Form1::sessionOver() {
  platform_.ui.letSessionEndIn();
  return sessionEnded_;
}

void Form1::activationRequested() {
  form_->show();
  form_->setWindowState(platform::WindowState::Normal);
  form_->bringToFront();
}

void Form1::StartMessenger() {
  procedures_.run(service::kStartCommand);
}

void Form1::StopMessenger() {
  procedures_.run(service::kStopCommand);
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
    about_ = std::make_unique<help::Form2>(platform_.ui, platform_.launcher);
  }
  about_->Show();
}

void Form1::t_MouseDblClick(std::int16_t) {
  form_->show();
  form_->setWindowState(platform::WindowState::Normal);
}

tray::TrayIcon& Form1::tray() {
  if (!t)
    throw platform::PlatformError("The tray icon is missing.");
  return *t;
}

void Form1::ShowRunning() {
  tray().setIcon(form_->picture(Image1).picture());
  tray().setTooltip(texts::kTooltipRunning);
  tray().Add();
  form_->menuItem(mnustart).setEnabled(false);
  form_->menuItem(mnuStop).setEnabled(true);
  setStatus(texts::kStatusVulnerable, texts::kColorRunning);
}

void Form1::ShowStopped() {
  tray().setIcon(form_->picture(Image2).picture());
  tray().setTooltip(texts::kTooltipStopped);
  tray().Modify();
  form_->menuItem(mnustart).setEnabled(true);
  form_->menuItem(mnuStop).setEnabled(false);
  setStatus(texts::kStatusProtected, texts::kColorStopped);
}

void Form1::showViewStatus() {
  if (service_.ServiceRunning) {
    setStatus(texts::kStatusVulnerable, texts::kColorRunning);
  } else {
    setStatus(texts::kStatusProtected, texts::kColorStopped);
  }
}

void Form1::RemoveTrayIcon() {
  tray().Remove();
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

void Form1::resized() {
  if (form_->windowState() == platform::WindowState::Minimized)
    form_->hide();
}

bool Form1::closeRequested() {
  contextIds_.QuitHelp();
  if (!CloseRequested) {
    // The first close only hides the window; the program stays in the tray.
    CloseRequested = true;
    form_->hide();
    return false;
  }
  takeDownTrayIcon();
  return true;
}

void Form1::handlerFailed(const platform::PlatformError& error) {
  message(error.what(), texts::kAppTitle, platform::MessageIcon::Critical);
}

void Form1::popUpTrayMenu() {
  form_->popUpMenu(mnuFile);
}

float Form1::twipsPerPixelX() const {
  return platform_.ui.twipsPerPixelX();
}

}  // namespace calvorin::app

#include "app/form1.h"

#include "app/form1_layout.h"
#include "autostart/autostart_commands.h"
#include "resources/texts.h"
#include "service/service_values.h"

namespace calvorin::app {

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

void Form1::sessionEnded() {
  contextIds_.QuitHelp();
  takeDownTrayIcon();
  sessionEnded_ = true;
  platform_.ui.quit();
}

void Form1::activationRequested() {
  form_->show();
  form_->setWindowState(platform::WindowState::Normal);
  form_->bringToFront();
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
  // A command that failed may have lost the connection: the next tick makes
  // a new one before it reads.
  reconnectOnNextTick_ = true;
  message(error.what(), texts::kAppTitle, platform::MessageIcon::Critical);
}

void Form1::popUpTrayMenu() {
  form_->popUpMenu(mnuFile);
}

float Form1::twipsPerPixelX() const {
  return platform_.ui.twipsPerPixelX();
}

}  // namespace calvorin::app

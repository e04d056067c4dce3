#include "app/form1.h"

#include <algorithm>
#include <cctype>

#include "app/form1_layout.h"
#include "app/texts.h"
#include "service/service_values.h"

namespace calvorin::app {

namespace {

constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValue[] = "Calvorin";

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

Form1::Form1(Platform platform)
    : platform_(platform),
      service_(platform.wmi),
      reg_(platform.registry),
      contextIds_(platform.helpEngine, platform.environment, platform.ui),
      form_(platform.ui.createForm(form1Layout(), *this)) {}

Form1::~Form1() = default;

bool Form1::load() {
  try {
    Form_Load();
    return true;
  } catch (const platform::PlatformError& error) {
    handlerFailed(error);
    if (t) {
      t->Remove();
      t.reset();
    }
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
  if (t) {
    t->Remove();
    t.reset();
  }
  showServiceAndRegistration(*messenger);
}

void Form1::newTrayIcon(const std::string& picture, const std::string& tooltip) {
  t = std::make_shared<tray::TrayIcon>(platform_.notificationArea, *this);
  t->setOwnerForm(form_.get());
  t->setIcon(form_->picture(picture).picture());
  t->settooltip(tooltip);
}

void Form1::showServiceAndRegistration(platform::WmiObject& messenger) {
  if (service::stateReads(messenger, service::kStateStopped)) {
    service_.ServiceRunning = false;
    newTrayIcon("Image2", kTooltipStopped);
    t->Add();
    ShowStopped();
  } else {
    service_.ServiceRunning = true;
    newTrayIcon("Image1", kTooltipRunning);
    ShowRunning();
  }
  form_->show();

  if (service::startModeReads(messenger, service::kStartModeDisabled)) {
    setPictureButtonsEnabled(false);
    setStatus(kStatusDisabled, kColorStopped);
  } else {
    setPictureButtonsEnabled(true);
  }

  const bool registered = !equalsIgnoringCase(
      reg_.GetRegValue(platform::kHkeyLocalMachine, kRunKey, kRunValue), autostart::kNotFound);
  form_->menuItem("mnuAst").setEnabled(!registered);
  form_->menuItem("mnuAdis").setEnabled(registered);
}

void Form1::menuMsgHelp_Click() {
  platform_.launcher.launch(help::messengerHelpCommandLine(
      platform_.environment.variable("windir"), platform_.environment.applicationPath()));
}

tray::TrayIcon& Form1::tray() {
  if (!t)
    throw platform::PlatformError("The tray icon is missing.");
  return *t;
}

void Form1::setPictureButtonsEnabled(bool enabled) {
  form_->picture("Image3").setEnabled(enabled);
  form_->picture("Image4").setEnabled(enabled);
}

void Form1::ShowRunning() {
  tray().setIcon(form_->picture("Image1").picture());
  tray().settooltip(kTooltipRunning);
  tray().Add();
  form_->menuItem("mnustart").setEnabled(false);
  form_->menuItem("mnuStop").setEnabled(true);
  setStatus(kStatusVulnerable, kColorRunning);
}

void Form1::ShowStopped() {
  tray().setIcon(form_->picture("Image2").picture());
  tray().settooltip(kTooltipStopped);
  tray().Modify();
  form_->menuItem("mnustart").setEnabled(true);
  form_->menuItem("mnuStop").setEnabled(false);
  setStatus(kStatusProtected, kColorStopped);
}

void Form1::RemoveTrayIcon() {
  tray().Remove();
}

void Form1::setStatus(const std::string& text, platform::Color color) {
  auto& label = form_->label("Label1");
  label.setText(text);
  label.setTextColor(color);
}

void Form1::menuClicked(const std::string& menuName) {
  if (menuName == "mnuRefresh")
    mnuRefresh_Click();
  if (menuName == "menuMsgHelp")
    menuMsgHelp_Click();
}

void Form1::controlClicked(const std::string&) {}

void Form1::resized() {}

bool Form1::closeRequested() {
  if (t) {
    t->Remove();
    t.reset();
  }
  return true;
}

void Form1::closed() {}

void Form1::handlerFailed(const platform::PlatformError& error) {
  platform_.ui.messageBox(error.what(), kAppTitle, platform::MessageIcon::Critical);
}

void Form1::popUpTrayMenu() {
  form_->popUpMenu("mnuFile");
}

float Form1::twipsPerPixelX() const {
  return platform_.ui.twipsPerPixelX();
}

}  // namespace calvorin::app

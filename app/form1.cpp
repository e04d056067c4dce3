#include "app/form1.h"

#include "app/form1_layout.h"
#include "app/texts.h"
#include "service/service_values.h"

namespace calvorin::app {

Form1::Form1(Platform platform)
    : platform_(platform),
      service_(platform.wmi),
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
  service_.OpenConnection();
  auto messenger = service_.fetchService();
  t = newTrayIcon();
  if (service::stateReads(*messenger, service::kStateStopped)) {
    service_.ServiceRunning = false;
    t->setIcon(form_->picture("Image2").picture());
    t->settooltip(kTooltipStopped);
    t->Add();
    ShowStopped();
  } else {
    service_.ServiceRunning = true;
    t->setIcon(form_->picture("Image1").picture());
    t->settooltip(kTooltipRunning);
    ShowRunning();
  }
  form_->show();
}

std::shared_ptr<tray::TrayIcon> Form1::newTrayIcon() {
  auto icon = std::make_shared<tray::TrayIcon>(platform_.notificationArea, *this);
  icon->setOwnerForm(form_.get());
  return icon;
}

void Form1::ShowRunning() {
  t->setIcon(form_->picture("Image1").picture());
  t->settooltip(kTooltipRunning);
  t->Add();
  form_->menuItem("mnustart").setEnabled(false);
  form_->menuItem("mnuStop").setEnabled(true);
  setStatus(kStatusVulnerable, kColorRunning);
}

void Form1::ShowStopped() {
  t->setIcon(form_->picture("Image2").picture());
  t->settooltip(kTooltipStopped);
  t->Modify();
  form_->menuItem("mnustart").setEnabled(true);
  form_->menuItem("mnuStop").setEnabled(false);
  setStatus(kStatusProtected, kColorStopped);
}

void Form1::RemoveTrayIcon() {
  t->Remove();
}

void Form1::setStatus(const std::string& text, platform::Color color) {
  auto& label = form_->label("Label1");
  label.setText(text);
  label.setTextColor(color);
}

void Form1::menuClicked(const std::string&) {}

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

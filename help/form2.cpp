#include "help/form2.h"

#include "help/help_contexts.h"
#include "platform/platform_error.h"
#include "resources/texts.h"

namespace calvorin::help {

namespace {

constexpr char kBrowser[] = "c:\\Program Files\\Internet Explorer\\iexplore.exe";
// Where Windows registers the browser's own path.
constexpr char kBrowserAppPath[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";

// A path as the registry may hold it, in quotes or not.
std::string unquoted(const std::string& path) {
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
    return path.substr(1, path.size() - 2);
  return path;
}

}  // namespace

platform::FormDescription form2Layout() {
  platform::FormDescription form;
  form.caption = std::string(texts::kAboutCaptionPrefix) + texts::kAppTitle;
  form.iconResource = "CALVORIN";
  form.left = 5040;
  form.top = 4065;
  form.clientWidth = 4125;
  form.clientHeight = 1395;
  form.helpContextId = kAboutWindowContext;
  form.minimizeBox = false;

  platform::LabelDescription title;
  title.id = Label1;
  title.bounds = {360, 360, 3375, 375};
  title.caption = texts::kAppTitle;
  title.font = {"MS Sans Serif", 12.0f, true};

  platform::LabelDescription link;
  link.id = Label2;
  link.bounds = {360, 1080, 3255, 255};
  link.caption = texts::kWebSite;
  link.font = {"Arial", 8.25f, true, false, true};
  link.textColor = 0xFF0000;  // pure blue
  link.clickable = true;
  form.labels = {title, link};
  return form;
}

std::string browserCommandLine(const std::string& registeredBrowser) {
  std::string browser = unquoted(registeredBrowser);
  if (browser.empty() || browser == autostart::kNotFound)
    throw platform::PlatformError("No web browser is registered on this computer.");
  if (autostart::equalsIgnoringCase(browser, kBrowser))
    browser = kBrowser;
  return "\"" + browser + "\" " + texts::kWebSite;
}

Form2::Form2(platform::Ui& ui, platform::ProgramLauncher& launcher, autostart::Reg& reg)
    : ui_(ui), launcher_(launcher), reg_(reg), form_(ui.createForm(form2Layout(), *this)) {}

void Form2::Show() {
  form_->show();
}

void Form2::Label2_Click() {
  launcher_.launch(
      browserCommandLine(reg_.GetRegValue(platform::kHkeyLocalMachine, kBrowserAppPath, "")));
}

void Form2::controlClicked(platform::ControlId control) {
  switch (static_cast<Form2Control>(control)) {
    case Label2:
      Label2_Click();
      break;
    case Label1:
      break;
  }
}

void Form2::handlerFailed(const platform::PlatformError& error) {
  ui_.messageBox(error.what(), texts::kAppTitle, platform::MessageIcon::Critical);
}

}  // namespace calvorin::help

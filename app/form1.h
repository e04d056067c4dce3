#pragma once

#include <memory>
#include <string>

#include "app/form1_layout.h"
#include "autostart/reg.h"
#include "help/context_ids.h"
#include "help/form2.h"
#include "platform/clock.h"
#include "platform/form.h"
#include "platform/help_engine.h"
#include "platform/notification_area.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/wmi.h"
#include "service/messenger_service.h"
#include "service/service_procedures.h"
#include "tray/tray_icon.h"

namespace calvorin::app {

// The platform services the program runs on.
struct Platform {
  platform::Wmi& wmi;
  platform::NotificationArea& notificationArea;
  platform::Ui& ui;
  platform::Registry& registry;
  platform::HelpEngine& helpEngine;
  platform::Environment& environment;
  platform::ProgramLauncher& launcher;
  platform::Clock& clock;
};

// The main window: owner of the service connection, the tray icon and the
// status display, and the place every command starts from. Its events and
// handlers bear the design's names (Form_Load, mnuStop, t_MouseDblClick...);
// the rest is ordinary camelCase. form1.cpp holds start-up, Refresh, the
// views and the lifecycle; form1_commands.cpp the menu and picture-button
// commands; form1_live_state.cpp Timer1 and the tray made anew.
class Form1 final : public platform::FormEvents,
                    public tray::TrayHost,
                    private service::CommandDisplay {
 public:
  explicit Form1(Platform platform);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;
  ~Form1() override;

  // Runs Form_Load. A failure is presented, the tray icon (if any) taken
  // away, and false returned: the program cannot go on.
  bool load();

  // Start-up: derives the whole display from the service and the registry,
  // then hides the window so that only the tray icon shows.
  void Form_Load();
  // The same reading again, on a new connection and with a new tray icon; the
  // window stays visible.
  void mnuRefresh_Click();

  void StartMessenger();
  void StopMessenger();
  void mnuAst_Click();
  void mnuAdis_Click();
  void mnuExit_Click();
  void menuMsgHelp_Click();
  void mnuAbout_Click();
  void t_MouseDblClick(std::int16_t button);
  // Live state: brings the display into agreement with the service and the
  // registry when they changed outside the program.
  void Timer1_Timer();

  // Status views: they bring window and tray to the running or stopped state
  // and touch nothing else.
  void ShowRunning();
  void ShowStopped();
  void RemoveTrayIcon();

  // platform::FormEvents
  void menuClicked(platform::MenuId menu) override;
  void controlClicked(platform::ControlId control) override;
  void resized() override;
  bool closeRequested() override;
  void closed() override {}
  void handlerFailed(const platform::PlatformError& error) override;
  void timerElapsed(platform::TimerId timer) override;
  void notificationAreaCreated() override;
  // Agreed at once: help is told to quit, the icon leaves the tray and the
  // program ends, also from the middle of a start or stop wait.
  void sessionEnded() override;
  // A second start of the program: the window comes up, as it was left.
  void activationRequested() override;

  // tray::TrayHost
  void popUpTrayMenu() override;
  float twipsPerPixelX() const override;

 private:
  // service::CommandDisplay
  void setPictureButtonsEnabled(bool enabled) override;
  void setStatus(const std::string& text, platform::Color color) override;
  void repaintStatus() override;
  void showStartSucceeded() override;
  void showStopSucceeded() override { ShowStopped(); }
  void message(const std::string& text, const std::string& title,
               platform::MessageIcon icon) override;
  bool sessionOver() override;

  // What start-up and Refresh share: a new tray icon in the state the service
  // reads, the window shown, the disabled mark, the auto-start entries.
  void showServiceAndRegistration(platform::WmiObject& messenger);
  // The status line of the running or the stopped view, as ServiceRunning has it.
  void showViewStatus();
  // A Disabled start mode disables the picture buttons and marks the status
  // line; any other enables them.
  void showStartMode(bool disabled);
  // Exactly one auto-start entry is enabled: the one that would change it.
  void showRegistration(bool registered);
  void newTrayIcon(Form1Control picture, const std::string& tooltip);
  void takeDownTrayIcon();
  // The auto-start commands' tray update: picture and tooltip both follow
  // ServiceRunning, so the icon never shows the opposite of the truth.
  void showAutoStart(bool registered);
  // The tray icon; a missing one is a failure of the handler, not a crash.
  tray::TrayIcon& tray();

  Platform platform_;
  service::MessengerService service_;
  service::ServiceProcedures procedures_;
  autostart::Reg reg_;
  help::ContextIDs contextIds_;
  std::unique_ptr<platform::Form> form_;
  std::unique_ptr<help::Form2> about_;
  // The tray icon, subscribed to form_'s mouse moves.
  std::shared_ptr<tray::TrayIcon> t;
  // Turns the first close request into hiding.
  bool CloseRequested = false;
  // Set while a command runs, so that live state keeps out of its way.
  bool commandRunning_ = false;
  // Set once Windows ends the session: a wait in progress ends quietly.
  bool sessionEnded_ = false;
  // Set by a failed reading or command: the next tick connects anew.
  bool reconnectOnNextTick_ = false;
};

}  // namespace calvorin::app

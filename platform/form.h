#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform_error.h"
#include "platform/window.h"

// Windows described as data (positions in twips, colours 0x00BBGGRR) and
// built by the platform; their events come back through FormEvents.
namespace calvorin::platform {

// A form's controls, menu entries and timers are known by ids that the
// program names in enums of its own (see app/form1_layout.h), so that a
// misspelt name fails to compile. Menu ids are also the entries' command
// ids, which fit in 16 bits.
using ControlId = int;
using MenuId = int;
using TimerId = int;

struct Bounds {
  int left;
  int top;
  int width;
  int height;
};

struct Font {
  std::string face;
  float points;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

struct LabelDescription {
  ControlId id;
  Bounds bounds;
  std::string caption;
  Font font;
  std::optional<Color> textColor;  // nullopt: the system's text colour
  std::optional<Color> backColor;  // nullopt: transparent over the window
  bool clickable = false;
};

// A picture loaded from the program's resources by name.
struct PictureDescription {
  ControlId id;
  Bounds bounds;
  std::string resource;
  bool visible = true;
  bool clickable = false;
};

// A menu entry; "-" as caption makes a separator. Entries with items open a
// sub-menu; those without are commands, also on the menu bar itself.
struct MenuDescription {
  MenuId id;
  std::string caption;
  std::vector<MenuDescription> items;
};

struct TimerDescription {
  TimerId id;
  unsigned intervalMs;
  bool enabled;
};

struct FormDescription {
  std::string caption;
  std::string iconResource;
  int left = 0;  // of the client area, from the screen's corner
  int top = 0;
  int clientWidth = 0;
  int clientHeight = 0;
  std::optional<Color> backColor;  // nullopt: the system's dialog colour
  int helpContextId = 0;
  bool minimizeBox = true;
  std::vector<LabelDescription> labels;
  std::vector<PictureDescription> pictures;
  std::vector<MenuDescription> menus;
  std::vector<TimerDescription> timers;
};

// What a form reports. Handlers may throw PlatformError; the platform ends
// the handler there and presents the failure.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void menuClicked(MenuId menu) = 0;
  virtual void controlClicked(ControlId control) = 0;
  virtual void resized() = 0;
  // A close request from any source; returns false to refuse it.
  virtual bool closeRequested() = 0;
  // The form has closed.
  virtual void closed() = 0;
  // A handler ended with this failure; the form presents it.
  virtual void handlerFailed(const PlatformError& error) = 0;
  // A timer of the form elapsed.
  virtual void timerElapsed(TimerId /*timer*/) {}
  // The shell's notification area was made anew (Explorer restarted) and has
  // forgotten every icon.
  virtual void notificationAreaCreated() {}
  // Windows is ending the session (log-off or shutdown); it has been told
  // that the program agrees.
  virtual void sessionEnded() {}
  // The program was started again in this session and asks this one, the
  // first, to come up instead.
  virtual void activationRequested() {}
};

class Form : public Window {
 public:
  virtual Label& label(ControlId label) = 0;
  virtual PictureBox& picture(ControlId picture) = 0;
  virtual MenuItem& menuItem(MenuId item) = 0;
  // Pops up a sub-menu of the menu bar at the pointer. A command chosen
  // there is reported before this returns.
  virtual void popUpMenu(MenuId menu) = 0;
  // Asks the form to close, as its close box does.
  virtual void requestClose() = 0;
};

enum class MessageIcon { Information, Critical, Warning };

class Ui {
 public:
  virtual ~Ui() = default;
  virtual std::unique_ptr<Form> createForm(const FormDescription& description,
                                           FormEvents& events) = 0;
  // A modal box with one text, an OK button and an icon; its answer is not read.
  virtual void messageBox(const std::string& text, const std::string& title, MessageIcon icon) = 0;
  // 1440 divided by the screen's horizontal dots per inch.
  virtual float twipsPerPixelX() const = 0;
  // The application's help file, which F1 opens at the active form's help
  // context number.
  virtual void setHelpFile(const std::string& path) = 0;
  virtual std::string helpFile() const = 0;
  // True while a message box or a menu runs its own message loop.
  virtual bool inModalLoop() const = 0;
  // For a busy wait, which takes no events: lets Windows ask about and end
  // the session all the same. Every other event keeps for the message loop.
  virtual void letSessionEndIn() = 0;
  // Ends the message loop, and with it the program, once the event being
  // handled is over; open windows do not keep it.
  virtual void quit() = 0;
};

}  // namespace calvorin::platform

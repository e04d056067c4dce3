#pragma once

#include <memory>
#include <string>

#include <windows.h>

#include "platform/picture.h"

namespace calvorin::win32 {

// A picture from the program's resources, drawable at its natural size.
class Win32Picture : public platform::Picture {
 public:
  virtual SIZE sizeInPixels() const = 0;
  virtual void draw(HDC dc, int x, int y) const = 0;
};

// Loads a resource of the executable by name: an icon group, or a GIF
// (resource type "GIF") decoded by OLE, transparency included.
std::shared_ptr<const Win32Picture> loadPicture(const std::string& resourceName);

}  // namespace calvorin::win32

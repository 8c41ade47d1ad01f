// File names as the game writes them ("Graphic_resource\Menu\Back.BMP", "sounds//Background2.mp3")
// mapped to this machine's file system.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Backslashes become slashes and repeated slashes collapse. When that path does not exist, each
// component is looked up without regard to case, so a content set copied from a Windows cabinet
// keeps working; components that match nothing are kept as written (so a file can be created).
std::string HostPath(std::string_view name);

}  // namespace platform

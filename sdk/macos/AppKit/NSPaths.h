// Standard folders (NSSearchPathForDirectoriesInDomains) as a Linux desktop places them.
#pragma once

#include <string>

enum NSSearchPathDirectory : int {
  NSApplicationSupportDirectory = 14,
  NSDesktopDirectory = 12,
  NSLibraryDirectory = 5,
  NSMusicDirectory = 18,
};
enum NSSearchPathDomainMask : int {
  NSUserDomainMask = 1,
  NSLocalDomainMask = 2,
  NSSystemDomainMask = 8,
};

// The first folder of that kind in that domain, with no trailing "/"; empty when there is
// none. User folders lie under $HOME (the XDG base folders where they are set): the library
// is $XDG_DATA_HOME (~/.local/share), application support $XDG_CONFIG_HOME (~/.config), the
// desktop ~/Desktop, music ~/Music. The local domain's library is /usr/local/share, the
// system domain's application support /etc/xdg.
std::string NSSearchPathForDirectory(NSSearchPathDirectory directory,
                                     NSSearchPathDomainMask domain);
// A path with a leading "~" replaced by $HOME.
std::string NSStringByExpandingTildeInPath(const std::string& path);

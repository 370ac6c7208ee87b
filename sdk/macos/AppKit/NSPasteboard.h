// The general pasteboard: text the user copied. The window system's clipboard can be plugged
// in with setProvider; without one the pasteboard keeps text for this binary only.
#pragma once

#include <functional>
#include <optional>
#include <string>

class NSPasteboard {
public:
  // Reads the window system's clipboard text, nothing when it holds none.
  using Provider = std::function<std::optional<std::string>()>;

  static NSPasteboard* generalPasteboard();

  // The text on the pasteboard, nothing when there is none.
  std::optional<std::string> stringForType() const;
  void setString(std::string text);
  void clearContents();
  void setProvider(Provider provider) { clipboard = std::move(provider); }

private:
  std::optional<std::string> text;
  Provider clipboard;
};

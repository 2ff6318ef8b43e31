#pragma once
// The tool tip of a notification-area icon: trays show none of their own for XEmbed icons,
// so we draw the classic yellow tip in a popup window of our own.
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace plat {

class X11TrayTip {
 public:
  static constexpr unsigned kDelayMs = 500;  // hover time before the tip shows
  static constexpr int kPointerGap = 20;     // below the pointer, clear of the cursor

  explicit X11TrayTip(Platform& platform) : FPlatform(platform) {}
  ~X11TrayTip();
  X11TrayTip(const X11TrayTip&) = delete;
  X11TrayTip& operator=(const X11TrayTip&) = delete;

  void SetText(const std::string& text) { FText = text; }
  // The pointer rests over the icon at AT (screen pixels): show the tip after a moment.
  void Hover(Point at);
  void Hide();  // the pointer left, or a button went down
  NativeWindow* Window() const { return FWindow.get(); }  // null until first shown

 private:
  void ShowNow();
  void StopTimer();

  Platform& FPlatform;
  std::string FText;
  Point FAt;
  Platform::TimerId FTimer = 0;
  std::unique_ptr<NativeWindow> FWindow;
};

}  // namespace plat

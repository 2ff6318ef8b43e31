#pragma once
// A timer component: fires OnTimer every Interval milliseconds while Enabled (and Interval > 0
// and OnTimer is assigned), through the platform's timers, so ticks keep coming in nested
// message loops. An exception in OnTimer goes to the application's error handler.
#include "platform/Platform.h"
#include "toolkit/core/TComponent.h"

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  // How late a tick may come while the program is idle (see the platform's timers); a tick
  // that only watches the pointer can sleep while it stands still. Changing it keeps the
  // timer's rhythm.
  unsigned IdleTolerance() const { return FIdleTolerance; }
  void SetIdleTolerance(unsigned ms);
  // Assigning through SetOnTimer (re)starts the platform timer when it was waiting for one.
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent value);

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  unsigned FInterval = 1000;
  unsigned FIdleTolerance = 0;
  bool FEnabled = true;
  TNotifyEvent FOnTimer;
  bool FRunning = false;
  plat::Platform::TimerId FId = 0;
};

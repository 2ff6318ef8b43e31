#include "toolkit/core/TTimer.h"

#include "toolkit/core/PropText.h"
#include "toolkit/core/TApplication.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer() {
  if (FRunning && plat::Platform::HasCurrent()) plat::Platform::Current().StopTimer(FId);
}

void TTimer::SetInterval(unsigned value) {
  if (value == FInterval) return;
  FInterval = value;
  UpdateTimer();
}

void TTimer::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  UpdateTimer();
}

void TTimer::SetIdleTolerance(unsigned ms) {
  if (ms == FIdleTolerance) return;
  FIdleTolerance = ms;
  if (FRunning && plat::Platform::HasCurrent()) plat::Platform::Current().SetTimerIdleTolerance(FId, ms);
}

void TTimer::SetOnTimer(TNotifyEvent value) {
  FOnTimer = std::move(value);
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (FRunning) {
    FRunning = false;
    if (plat::Platform::HasCurrent()) plat::Platform::Current().StopTimer(FId);
  }
  if (!FEnabled || FInterval == 0 || !FOnTimer || !plat::Platform::HasCurrent()) return;
  FId = plat::Platform::Current().StartTimer(FInterval, [this] { Timer(); });
  if (FIdleTolerance) plat::Platform::Current().SetTimerIdleTolerance(FId, FIdleTolerance);
  FRunning = true;
}

void TTimer::Timer() {
  if (!FOnTimer) return;
  // Copy: the handler may replace OnTimer or destroy the timer itself.
  TNotifyEvent handler = FOnTimer;
  if (Application) Application->Guard(this, [&] { handler(this); });
  else handler(this);
}

std::optional<std::string> TTimer::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "Interval")) return Int(FInterval);
  if (Is(name, "Enabled")) return Bool(FEnabled);
  if (Is(name, "IdleTolerance")) return Int(FIdleTolerance);
  return TComponent::GetPropText(name);
}

#pragma once
// The Caps Lock state as the keyboard shows it. Qt reports the key presses but not the
// state, so a program started with Caps Lock on would show it off; on Linux the
// keyboard's LED says what the state is.

#include <QString>

#include <optional>

namespace zq {

/// True or false when a Caps Lock LED is found under `ledsFolder` (entries named
/// "<device>::capslock" with a "brightness" file; on of any of them counts); nothing
/// when the system has none (no keyboard, remote display), so the caller falls back
/// to counting key presses.
std::optional<bool> capsLockLed(const QString& ledsFolder = QStringLiteral("/sys/class/leds"));

}  // namespace zq

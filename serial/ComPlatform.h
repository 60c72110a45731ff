#pragma once
// What each platform provides to the port (serial/win on Windows, ComPlatformHeadless.cpp elsewhere).
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "base/IniFile.h"
#include "serial/ComDevice.h"
#include "serial/ComSettingsRegistry.h"

namespace kes {

class TCustomComPort;

// The registry object of settings storage (Windows: the system registry under HKEY_CURRENT_USER).
std::unique_ptr<TComSettingsRegistry> NewComSettingsRegistry();
// The ini-file object of settings storage for a file (Windows: over the profile functions).
std::unique_ptr<TCustomIniFile> NewComIniFile(const std::string& fileName);
// The application's standard exception display (Windows: the message box of the application object).
void PlatformShowException(const std::exception& e) noexcept;

// Shows an exception that no caller can take: through the display set below, else the platform's. Never throws.
void ShowComException(const std::exception& e) noexcept;
using TComExceptionDisplay = std::function<void(const std::exception& e)>;
// Replaces the display (empty: the platform's); returns the previous one.
TComExceptionDisplay SetComExceptionDisplay(TComExceptionDisplay display);

// The setup dialog that TCustomComPort::RunSetupDialog runs; the dialog module installs itself here.
using TComSetupDialog = std::function<void(TCustomComPort& port)>;
void SetComSetupDialog(TComSetupDialog dialog);
const TComSetupDialog& ComSetupDialog();

}  // namespace kes

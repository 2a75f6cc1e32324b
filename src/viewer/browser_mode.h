#pragma once
// Which document mode to ask of the WebBrowser control. Without a value in
// FEATURE_BROWSER_EMULATION a hosted control renders like IE7; the value
// names the newest standards mode of the installed IE: 11000 for IE11 (the
// one on Windows 8.1, 10 and 11), 10000, 9000 or 8000 on a Windows 7 that
// never got IE11.
#include <cstdint>
#include <string_view>

namespace vexmar::viewer {

// From the registry values "svcVersion" (IE10 and later; empty when
// missing) and "Version" of HKLM\SOFTWARE\Microsoft\Internet Explorer.
uint32_t BrowserEmulationValue(std::string_view svc_version, std::string_view version);

}  // namespace vexmar::viewer

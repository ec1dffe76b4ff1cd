#pragma once

// The numbers of the resources in Vestrel.rc.
namespace Resources {

constexpr int AppIcon = 1;     // the application icon
constexpr int WarningIcon = 2; // the warning sign, 32 by 32
// The common controls' manifest (ISOLATIONAWARE_MANIFEST_RESOURCE_ID, an RT_MANIFEST).
constexpr int ControlsManifest = 2;

} // namespace Resources

#pragma once

// The numbers of the resources in Vestrel.rc.
namespace Resources {

constexpr int AppIcon = 1;     // the application icon
constexpr int WarningIcon = 2; // the warning sign, 32 by 32

} // namespace Resources

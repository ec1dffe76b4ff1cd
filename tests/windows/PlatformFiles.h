#pragma once

#include "windows/WinFileSystem.h"

// The file primitives of the Windows build.
using PlatformFileSystem = WinFileSystem;

#pragma once

#include "windows/WinFiles.h"

// The settings file as the Windows build reads and replaces it.
using PlatformFiles = WinFiles;

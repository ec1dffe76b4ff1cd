#pragma once

#include "linux/LinuxFiles.h"

// The settings file as the Linux build reads and replaces it.
using PlatformFiles = LinuxFiles;

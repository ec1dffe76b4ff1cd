#pragma once

#include "linux/posix/PosixFileSystem.h"

// The file primitives of the Linux build.
using PlatformFileSystem = PosixFileSystem;

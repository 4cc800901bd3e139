#pragma once

#include "TessikShare.h"

#include <windows.h>

// The hook library's shared block as mapped in this process: the ShareDat
// section of the loaded module, found through its section table. Every
// process that maps the library sees the same block. Null when absent.
volatile TessikShare* FindSharedBlock(HMODULE library);

#pragma once

#include "TessikShare.h"

#include <windows.h>

// The hook library's shared block as mapped in this process: the ShareDat
// section of the loaded module, found through its section table. Every
// process that maps the library sees the same block. Null when absent.
volatile TessikShare* FindSharedBlock(HMODULE library);

// This process's logon session, as the block's slots record it.
LONG OwnSessionKey();
// The slot of this process's session in the block, or null when it holds none.
volatile HookSlot* OwnSessionSlot(volatile TessikShare* block);

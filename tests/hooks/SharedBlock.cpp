#include "SharedBlock.h"

#include "ShareSection.h"

volatile TessikShare* FindSharedBlock(HMODULE library) {
    return static_cast<volatile TessikShare*>(FindShareSection(library, sizeof(TessikShare)));
}

LONG OwnSessionKey() {
    DWORD dwSessionId = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &dwSessionId);
    return SessionSlots::KeyOf(dwSessionId);
}

volatile HookSlot* OwnSessionSlot(volatile TessikShare* block) {
    const int n = block ? SessionSlots::Find(block->slots, OwnSessionKey()) : -1;
    return n < 0 ? nullptr : &block->slots[n];
}

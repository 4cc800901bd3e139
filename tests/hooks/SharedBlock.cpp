#include "SharedBlock.h"

#include <cstring>

volatile TessikShare* FindSharedBlock(HMODULE library) {
    auto base = reinterpret_cast<BYTE*>(library);
    auto dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (memcmp(section->Name, "ShareDat", IMAGE_SIZEOF_SHORT_NAME) == 0 &&
            section->Misc.VirtualSize >= sizeof(TessikShare))
            return reinterpret_cast<volatile TessikShare*>(base + section->VirtualAddress);
    }
    return nullptr;
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

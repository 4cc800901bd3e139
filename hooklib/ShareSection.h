#pragma once

#include <windows.h>

// The section named ShareDat of a module mapped into this process: the data
// that every process mapping the same file shares. Null when the module has
// no such section or it is smaller than cbAtLeast. Header only, with no C
// runtime, for the program and the tests; the headers it reads are the
// loaded image's own.
inline volatile void* FindShareSection(HMODULE hModule, SIZE_T cbAtLeast) {
    if (!hModule)
        return nullptr;
    BYTE* base = reinterpret_cast<BYTE*>(hModule);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    const char kName[IMAGE_SIZEOF_SHORT_NAME] = {'S', 'h', 'a', 'r', 'e', 'D', 'a', 't'};
    for (WORD n = 0; n < nt->FileHeader.NumberOfSections; ++n, ++section) {
        int i = 0;
        while (i < IMAGE_SIZEOF_SHORT_NAME && section->Name[i] == static_cast<BYTE>(kName[i]))
            ++i;
        if (i == IMAGE_SIZEOF_SHORT_NAME && section->Misc.VirtualSize >= cbAtLeast)
            return base + section->VirtualAddress;
    }
    return nullptr;
}

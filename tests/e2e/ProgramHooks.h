#pragma once

#include "MurvelProcess.h"
#include "SharedBlock.h"

#include <windows.h>

// The hook library's shared block as the running program sees it: the copy
// beside Murvel.exe is a module of its own, with a block of its own.
class ProgramHooks {
public:
    explicit ProgramHooks(const MurvelProcess& murvel)
        : m_module(LoadLibraryA(murvel.File("TessikDLL.dll").c_str())),
          m_block(m_module ? FindSharedBlock(m_module) : nullptr) {}
    ProgramHooks(const ProgramHooks&) = delete;
    ProgramHooks& operator=(const ProgramHooks&) = delete;
    ~ProgramHooks() {
        if (m_module)
            FreeLibrary(m_module);
    }
    bool Installed() const { return m_block && m_block->hGetMsgHook && m_block->hCbtHook; }
    bool None() const { return m_block && !m_block->hGetMsgHook && !m_block->hCbtHook; }
    int Saver() const { return m_block ? m_block->bPreventSaver : -1; }
    int PowerOff() const { return m_block ? m_block->bPreventPowerOff : -1; }
    // The area blackout flags, as SetAreaBlackStatus set them.
    int BlackShown() const { return m_block ? m_block->bBlackShown : -1; }
    int Counting() const { return m_block ? m_block->bCounting : -1; }

private:
    HMODULE m_module;
    volatile TessikShare* m_block;
};

#pragma once

#include "MurvelProcess.h"
#include "SharedBlock.h"

#include <windows.h>

// The hook library's shared block as the running program sees it: the copy
// beside Murvel.exe is a module of its own, with a block of its own. The
// program's hook thread installs and removes the hooks a moment after the
// main window asked: each question waits a little for the answer it expects.
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
    bool Installed() const {
        return WaitFor([&] {
            volatile HookSlot* slot = OwnSessionSlot(m_block);
            return slot && slot->hGetMsgHook && slot->hCbtHook;
        });
    }
    bool None() const {
        return m_block && WaitFor([&] {
                   volatile HookSlot* slot = OwnSessionSlot(m_block);
                   return !slot || (!slot->hGetMsgHook && !slot->hCbtHook);
               });
    }
    int Saver() const { return Field(&HookSlot::bPreventSaver); }
    int PowerOff() const { return Field(&HookSlot::bPreventPowerOff); }
    // The area blackout flags, as SetAreaBlackStatus set them.
    int BlackShown() const { return Field(&HookSlot::bBlackShown); }
    int Counting() const { return Field(&HookSlot::bCounting); }
    // What any process that maps the library may do to its block.
    void ZeroBlock() const {
        for (size_t i = 0; i < sizeof(TessikShare); ++i)
            reinterpret_cast<volatile BYTE*>(m_block)[i] = 0;
    }
    // The thread that installed the hooks, or 0.
    DWORD InstallThread() const {
        return Installed() ? OwnSessionSlot(m_block)->dwInstallThreadId : 0;
    }

private:
    // The field of the session's slot once the program holds one; -1 when it
    // holds none.
    int Field(int HookSlot::*field) const {
        volatile HookSlot* slot = nullptr;
        WaitFor([&] { return (slot = OwnSessionSlot(m_block)) != nullptr; }, 5000);
        return slot ? slot->*field : -1;
    }

    HMODULE m_module;
    volatile TessikShare* m_block;
};

#pragma once

#include "KeepAwakeReasons.h"

// What one run of the watch cycle decides, apart from any window: the shown
// state, the blackout countdown, the suppression flags and the power
// requests. The guard gathers the facts (what the reasons that count keep,
// the first item in effect for the blackout) and applies the actions.

// Idle wait and active-area mode of the blackout for one item.
struct BlackoutSettings {
    int nWaitTime = 60;
    int nActiveAreaMode = 0;
};

// The blackout settings of an item with the given AreaBlack: 1 takes the
// settings file's defaults (a mode outside 0..1 counts as 0), any other value
// the item's own, unchanged.
BlackoutSettings ResolveBlackout(int nAreaBlack, int nItemWaitTime, int nItemIdentify,
                                 int nDefaultWaitTime, int nDefaultIdentify);

struct WatchCycleFacts {
    // Index of the first item in effect, -1 when none is.
    int nFirstInEffect = -1;
    // That item's program owns the foreground window.
    bool bFirstInForeground = false;
    // That item's AreaBlack and its resolved blackout settings.
    int nAreaBlack = 0;
    BlackoutSettings blackout;
    bool bCounting = false;
    // What the reasons that count keep awake, together.
    Keeps keeps;
};

struct WatchCycleActions {
    // Guarding icon and title; otherwise the normal ones and no hooks.
    bool bGuarding = false;
    bool bSetActiveAreaMode = false;
    int nActiveAreaMode = 0;
    // Start the countdown with this many seconds.
    bool bArmCountdown = false;
    int nSecondsLeft = 0;
    // Stop a running countdown (and tell the hooks so).
    bool bStopCountdown = false;
    bool bPreventSaver = false;
    bool bPreventPowerOff = false;
    // Since Windows Vista the display is turned off by the power manager's idle
    // timer, which no hook sees: while power-off is prevented, ask the power
    // manager to keep the display on.
    bool bHoldDisplayOn = false;
    // Keep the computer from sleeping: asked for, or with the display, which
    // the power manager keeps on only while the system is required too.
    bool bHoldSystemAwake = false;
    // Something for the hooks to swallow: without it no hooks are needed.
    bool bNeedHooks = false;
};

// Whether the cycle needs the settings file's blackout defaults for the facts
// it has so far (the first item is in the foreground and uses them).
bool NeedsBlackoutDefaults(int nFirstInEffect, bool bFirstInForeground, int nAreaBlack);

WatchCycleActions DecideWatchCycle(const WatchCycleFacts& facts);

#include "WatchCycleDecision.h"

BlackoutSettings ResolveBlackout(int nAreaBlack, int nItemWaitTime, int nItemIdentify,
                                 int nDefaultWaitTime, int nDefaultIdentify) {
    BlackoutSettings settings;
    if (nAreaBlack == 1) {
        settings.nWaitTime = nDefaultWaitTime;
        settings.nActiveAreaMode =
            nDefaultIdentify < 0 || nDefaultIdentify > 1 ? 0 : nDefaultIdentify;
    } else {
        settings.nWaitTime = nItemWaitTime;
        settings.nActiveAreaMode = nItemIdentify;
    }
    return settings;
}

bool NeedsBlackoutDefaults(int nFirstInEffect, bool bFirstInForeground, int nAreaBlack) {
    return nFirstInEffect >= 0 && bFirstInForeground && nAreaBlack == 1;
}

WatchCycleActions DecideWatchCycle(const WatchCycleFacts& facts) {
    WatchCycleActions actions;
    const bool bItemInEffect = facts.nFirstInEffect >= 0;
    actions.bStopCountdown = !bItemInEffect;
    actions.bGuarding = facts.keeps.Any();
    if (!actions.bGuarding) {
        return actions;
    }
    // Only an item in effect arms or stops a blackout; a hold alone never does.
    if (bItemInEffect && facts.bFirstInForeground) {
        if (facts.nAreaBlack != 0) {
            actions.bSetActiveAreaMode = true;
            actions.nActiveAreaMode = facts.blackout.nActiveAreaMode;
            if (!facts.bCounting) {
                actions.bArmCountdown = true;
                actions.nSecondsLeft = facts.blackout.nWaitTime;
            }
        }
    } else if (bItemInEffect && facts.bCounting) {
        actions.bStopCountdown = true;
    }
    actions.bPreventSaver = facts.keeps.bSaver;
    actions.bPreventPowerOff = facts.keeps.bDisplay;
    actions.bHoldDisplayOn = actions.bPreventPowerOff;
    actions.bHoldSystemAwake = actions.bHoldDisplayOn || facts.keeps.bSystem;
    actions.bNeedHooks = actions.bPreventSaver || actions.bPreventPowerOff;
    return actions;
}

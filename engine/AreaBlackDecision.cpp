#include "AreaBlackDecision.h"

AreaBlackState AreaBlackStateOf(bool bCounting, bool bBlackShown) {
    if (bBlackShown) {
        return bCounting ? AreaBlackState::Appearing : AreaBlackState::Shown;
    }
    return bCounting ? AreaBlackState::Counting : AreaBlackState::Idle;
}

AreaBlackHookStatus HookStatusIn(AreaBlackState state) {
    AreaBlackHookStatus status;
    status.bBlackShown = state == AreaBlackState::Shown ? 1 : 0;
    status.bCounting = state == AreaBlackState::Counting ? 1 : 0;
    return status;
}

AreaBlackTickActions DecideAreaBlackTick(bool bCounting, bool bBlackShown, int nSecondsLeft) {
    AreaBlackTickActions actions;
    actions.nSecondsLeft = nSecondsLeft;
    switch (AreaBlackStateOf(bCounting, bBlackShown)) {
    case AreaBlackState::Counting:
        actions.nSecondsLeft = nSecondsLeft - 1;
        actions.bShowBlackout = actions.nSecondsLeft <= 0;
        break;
    case AreaBlackState::Appearing:
    case AreaBlackState::Shown:
        // The first second is over: from now on input wakes the screen.
        actions.bKillTimer = true;
        actions.bClearCounting = true;
        actions.bTellHooks = true;
        actions.hooks = HookStatusIn(AreaBlackState::Shown);
        break;
    case AreaBlackState::Idle:
        // A tick that was already queued when the countdown was disarmed.
        actions.bKillTimer = true;
        actions.bTellHooks = true;
        actions.hooks = HookStatusIn(AreaBlackState::Idle);
        break;
    }
    return actions;
}

ActiveAreaKind ActiveAreaKindFor(int nActiveAreaMode, bool bHasForegroundWindow) {
    if (!bHasForegroundWindow) {
        return ActiveAreaKind::None;
    }
    switch (nActiveAreaMode) {
    case 0:
        return ActiveAreaKind::WindowRect;
    case 1:
        return ActiveAreaKind::ClientRect;
    default:
        return ActiveAreaKind::None;
    }
}

AreaBlackGeometry AreaBlackGeometryFor(const RECT& rcVirtualScreen, const RECT& rcActiveArea) {
    AreaBlackGeometry geometry;
    geometry.rcWindow = rcVirtualScreen;
    geometry.rcFull = {0, 0, rcVirtualScreen.right - rcVirtualScreen.left,
                       rcVirtualScreen.bottom - rcVirtualScreen.top};
    if (IsRectEmpty(&rcActiveArea)) {
        SetRectEmpty(&geometry.rcHole);
    } else {
        geometry.rcHole = rcActiveArea;
        OffsetRect(&geometry.rcHole, -rcVirtualScreen.left, -rcVirtualScreen.top);
    }
    return geometry;
}

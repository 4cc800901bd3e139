#pragma once

// Changes of the foreground window come in bursts: alt-tab through several
// windows, a closing window that hands the foreground on, a program that
// raises a few of its own. The first change of a burst arms a short one-shot
// timer and the foreground is looked at once, when it fires: a burst costs one
// re-evaluation, and no change waits longer than the timer for it. A change
// after the timer has fired starts the next burst.
class CForegroundBurst {
public:
    // A change was reported; true when it starts a burst: arm the timer.
    bool OnChange();
    // The timer fired; true when a burst waits for its re-evaluation (stop
    // the timer, then re-evaluate), false for a tick no burst armed.
    bool OnTimer();

private:
    bool m_bPending = false;
};

#pragma once

// The computer uses Modern Standby (the S0 low-power idle model) rather than
// traditional sleep. There, on battery, Windows ends the requests that keep
// the computer awake (system and execution required) five minutes after the
// sleep timeout; those that keep the display on are not among them. False
// where the system cannot tell, as under Wine.
bool HasModernStandby();

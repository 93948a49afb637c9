#pragma once
// After a change of the screen: every window back on the primary monitor, then the game's
// handler.

void FollowScreenChange();

// The conditions lasting spell areas give a creature standing in them.
#pragma once

// True when the condition changed. flag and view are handed to the camera.
bool ApplySilenced(int creature, int flag, int view);
bool ApplyPlagued(int creature, int flag, int view);
bool ReleasePlague(int creature, int view);

#pragma once

// Makes the player editors known to the windows that open them: "Players..." in the main
// window (Edit Players) and "New Player" in Player Resolution (Add Player). Both see the
// input configuration as read by the preparing job at the time they open.
void RegisterPlayerEditors();
// Forgets them again (the session that registered them ends).
void UnregisterPlayerEditors();

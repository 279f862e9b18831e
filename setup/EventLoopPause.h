#pragma once
// Waits for the given time while the event loop keeps painting, so that the window never freezes
// during the setup's pauses. Callers disable what the user must not touch meanwhile.

void pauseWithEvents(int milliseconds);

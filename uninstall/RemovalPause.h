#pragma once
// Waits for the given time while the event loop keeps painting, so that the window shows the
// progress bar moving instead of freezing. The caller disables its buttons meanwhile.

void pauseRemoval(int milliseconds);

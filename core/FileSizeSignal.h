#pragma once
// Every program of ours that writes files calls ignoreFileSizeSignal() first in main(): a write
// beyond a file size limit (ulimit -f, a unit's LimitFSIZE=) then fails with EFBIG, which the
// writers handle like a full disk, instead of killing the program with a partial line written.

void ignoreFileSizeSignal();

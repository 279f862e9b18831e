#pragma once
// Shows the wait cursor over the whole application while the object lives (a graph build, Copy
// Table, an export, a printout).

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

#pragma once
// A message box that shows nothing and answers No: benchmarks run unattended.

#include "core/MessageBox.h"

class CSilentMessages final : public IMessageBox {
public:
    void tell(std::string_view, MessageIcon) override {}
    bool askYesNo(std::string_view, MessageIcon) override { return false; }
};

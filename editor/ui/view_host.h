#pragma once

#include <string>

class QPrinter;

namespace quorim {

class CQuorim_CHView;

// What a view takes from the program around it.
class CViewHost {
public:
    virtual ~CViewHost() = default;
    // The port chosen in the port menu.
    virtual std::string PortName() const = 0;
    // The printer that Print Setup configures.
    virtual QPrinter* Printer() = 0;
    // A radio transfer runs in some window (only one runs at a time).
    virtual bool AnyTransferRunning() const = 0;
    // `view`'s radio transfer runs: from its start button to its end.
    virtual bool TransferRunning(const CQuorim_CHView* view) const = 0;
    // The last folder a file was opened from or saved to; empty: none yet.
    virtual std::string LastFolder() const { return {}; }
};

}  // namespace quorim

#pragma once

#include <string>

class QPrinter;

namespace quorim {

// What a view takes from the program around it.
class CViewHost {
public:
    virtual ~CViewHost() = default;
    // The port chosen in the port menu.
    virtual std::string PortName() const = 0;
    // The printer that Print Setup configures.
    virtual QPrinter* Printer() = 0;
    // The last folder a file was opened from or saved to; empty: none yet.
    virtual std::string LastFolder() const { return {}; }
};

}  // namespace quorim

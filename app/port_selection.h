#pragma once

#include <string>

namespace quorim {

// The serial port the radio link and the tuning link open. "COM1" at every
// start, changed only by the four port commands, never stored between runs.
class PortSelection {
public:
    static constexpr int kPortCount = 4;

    const std::string& Name() const { return m_strPortName; }
    // n from 1 to 4; other numbers are ignored.
    void Select(int n);
    // The check mark of port item n: exact, case-sensitive comparison.
    bool IsChecked(int n) const;
    static std::string PortName(int n);

private:
    std::string m_strPortName = "COM1";
};

}  // namespace quorim

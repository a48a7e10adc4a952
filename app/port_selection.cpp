#include "app/port_selection.h"

namespace quorim {

std::string PortSelection::PortName(int n) {
    return "COM" + std::to_string(n);
}

void PortSelection::Select(int n) {
    if (n >= 1 && n <= kPortCount) {
        m_strPortName = PortName(n);
    }
}

bool PortSelection::IsChecked(int n) const {
    return m_strPortName == PortName(n);
}

}  // namespace quorim

#include "link/serial_port.h"

namespace quorim {

std::string PortErrorText(PortError error) {
    switch (error) {
        case PortError::None:
            return "no error";
        case PortError::NotFound:
            return "no such device";
        case PortError::Busy:
            return "the port is in use by another program";
        case PortError::NoAccess:
            return "permission denied";
        case PortError::NotSerial:
            return "not a serial device";
        case PortError::Unsupported:
            return "the device does not support the line settings";
        case PortError::NotOpen:
            return "the port is not open";
        case PortError::Gone:
            return "the device has gone away";
        case PortError::Stopped:
            return "stopped";
        case PortError::System:
            return "system error";
    }
    return "unknown error";
}

}  // namespace quorim

#include "link/ui/view_link_host.h"

#include "link/clock.h"
#include "link/serial_port.h"
#include "link/snapshot_transfer.h"

namespace quorim {

WindowWrite RunWindowWrite(const std::string& portName, DocumentData& work, CViewLinkHost& host,
                           const std::string& snapshotFolder, const QString& caption) {
    WindowWrite write;
    const bool sixteen = work.m_bSixteenChannel;
    if (!snapshotFolder.empty()) {
        host.SetCaption(Q(kBackupBeforeWrite));
        const auto port = NewSystemSerialPort();
        RealClock clock;
        const BeforeWriteSnapshot snapshot =
            TakeSnapshotBeforeWrite(portName, sixteen, snapshotFolder, *port, clock, host);
        if (!snapshot.Ok()) {
            write.failure = BeforeWriteFailureText(snapshot, sixteen, WindowTexts());
            write.result = snapshot.read;
            write.result.direction = TransferDirection::Write;
            write.result.documentSixteen = sixteen;
            if (write.result.Ok()) {
                // Read, but not kept: the write never opened its port.
                write.result.reason = TransferReason::PortError;
            }
            return write;
        }
        host.SetCaption(caption);
        write.snapshotKept = true;
    }
    const auto port = NewSystemSerialPort();
    RealClock clock;
    write.result = RunRadioTransfer(portName, work, *port, clock, host);
    return write;
}

}  // namespace quorim

// Online tuning (Ctrl+T): the tuning window on the band chosen in the
// document window's band list and the port the program has chosen.
#include "tuning/ui/online_tuning.h"

#include "tuning/ui/tuning_dlg.h"

namespace quorim {

COnlineTuning::COnlineTuning(QWidget* view) : QObject(view), m_view(view) {}

void COnlineTuning::Run(std::int64_t bandBase, const std::string& portName) {
    CTuningDlg dlg(bandBase, portName, m_view);
    dlg.exec();
}

}  // namespace quorim

// Online tuning (Ctrl+T): the form view opens the tuning window on the band
// chosen in its band list and the port the application has chosen.
#include <optional>
#include <string>

#include "app/ui/quorim_app.h"
#include "editor/settings_lists.h"
#include "editor/ui/form_view.h"
#include "tuning/tuning_dialog.h"
#include "tuning/ui/tuning_dlg.h"

namespace quorim {

void CQuorim_CHView::OnOnlineTuning() {
    // The band list holds the fixed entries; with none selected the window
    // opens on the list's initial entry.
    std::optional<std::string> band;
    const int sel = CurSel(SettingsList::Band);
    const auto& items = Info(SettingsList::Band).items;
    if (sel >= 0 && sel < static_cast<int>(items.size())) {
        band = std::string(items[static_cast<std::size_t>(sel)]);
    }
    CTuningDlg dlg(TuningBandBase(band), CQuorim_CHApp::Instance()->PortName(), this);
    dlg.exec();
}

}  // namespace quorim

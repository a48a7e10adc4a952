#include "launcher/ui/tarvolin_app.h"

#include "launcher/language_choice.h"
#include "launcher/launcher_files.h"
#include "launcher/ui/language_dlg.h"
#include "ui/fonts.h"

static void InitTarvolinResources() {
    Q_INIT_RESOURCE(tarvolin);
}

namespace quorim {

CTarvolinApp::CTarvolinApp(std::string moduleFileName) : m_moduleFileName(std::move(moduleFileName)) {
    ::InitTarvolinResources();
}

CTarvolinApp::~CTarvolinApp() = default;

std::string CTarvolinApp::LauncherDir() const {
    return LauncherFolder(m_moduleFileName);
}

bool CTarvolinApp::InitInstance() {
    // A file that cannot be opened or created leaves the store unbound: the
    // dialog still works, in Chinese, and remembers nothing.
    m_settings.Load(LocateLauncherIni(m_moduleFileName));
    InstallFontSubstitutions();

    CLanguageDlg dlg(m_settings, LauncherDir());
    m_pMainWnd = &dlg;
    dlg.exec();
    m_pMainWnd = nullptr;
    return false;
}

}  // namespace quorim

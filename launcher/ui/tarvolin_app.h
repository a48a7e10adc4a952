#pragma once

#include <memory>
#include <string>

#include "launcher/language_choice.h"

namespace quorim {

class CLanguageDlg;

// The launcher's application object. It holds the settings store for the
// whole run: the store writes the INI file back when the application object
// goes at the end of the process.
class CTarvolinApp {
public:
    // `moduleFileName` is the program's real file: it names and places the
    // INI file (see LocateLauncherIni), and its directory is where the
    // programming program is looked for first.
    explicit CTarvolinApp(std::string moduleFileName);
    ~CTarvolinApp();

    CTarvolinApp(const CTarvolinApp&) = delete;
    CTarvolinApp& operator=(const CTarvolinApp&) = delete;

    // Loads the INI file and runs the dialog modally. Always false: the
    // launcher has no message loop of its own and ends after the dialog.
    bool InitInstance();

    LauncherSettings& Settings() { return m_settings; }
    // The dialog while it runs, null otherwise.
    CLanguageDlg* MainWnd() const { return m_pMainWnd; }
    std::string LauncherDir() const;

private:
    std::string m_moduleFileName;
    LauncherSettings m_settings;
    CLanguageDlg* m_pMainWnd = nullptr;
};

}  // namespace quorim

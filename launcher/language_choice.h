#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/dialog_template.h"
#include "launcher/ini_file.h"

namespace quorim {

// What the launcher decides without a window: which INI file it keeps, which
// language its dialog opens in, what OK records and starts, and every text it
// shows. The dialog only shows these and forwards the user's choice.

enum class Language { Chinese, English };

inline constexpr int kLauncherGrowBy = 4;
inline constexpr std::string_view kLanguageSection = "MAIN";
inline constexpr std::string_view kLanguageKey = "LANGUAGE";

// The launcher's base name from its own file name: trailing white space cut,
// the part after the last "/" kept, cut before its last "."; "MAIN" when the
// name has no ".".
std::string GetProgramBaseName(std::string_view moduleFileName);
// Base name + ".ini".
std::string LauncherIniFileName(std::string_view moduleFileName);

// The folder the launcher's real file is in, where it looks first for the
// language builds ("." for a bare name); either slash on Windows.
std::string LauncherFolder(std::string_view moduleFileName);

// Where the launcher keeps its INI file. `moduleFileName` is the launcher's
// real file (a full path). Beside it when `besideWritable` (that folder may be
// written: a build tree or a stage); otherwise the same file name in
// `configHome`/quorim/, where `configHome` is $XDG_CONFIG_HOME when that is an
// absolute path, else $HOME/.config. Without either, beside it all the same
// (the store then cannot bind, and the dialog works without remembering).
std::string LauncherIniPath(std::string_view moduleFileName, bool besideWritable, const char* xdgConfigHome,
                            const char* home);

// Only the exact text "ENGLISH" opens the dialog in English ("english" does
// not, although the store finds the key ignoring case).
Language LanguageFromIniValue(std::string_view value);
// Item 0 is Chinese; item 1, and no selection at all (-1), English.
Language LanguageFromComboIndex(int index);
int ComboIndexOf(Language language);

// "CHINESE" or "ENGLISH", the value OK records.
std::string_view IniValueOf(Language language);
// "tarvolin_CH.DLL" or "tarvolin_EN.DLL", the program OK starts.
std::string_view TargetProgramOf(Language language);

// One caption set of dialog 102, applied as a whole.
struct LanguageCaptions {
    std::string_view title;
    std::string_view label;   // static text 1001
    std::string_view ok;      // button 1
    std::string_view cancel;  // button 2
    std::string_view item0;   // combo item 0 (Chinese)
    std::string_view item1;   // combo item 1 (English)
};
const LanguageCaptions& CaptionsOf(Language language);

// Dialog 102, "Language Mode", as its template lays it out (dialog units,
// "宋体" 9 point). Its texts are replaced by a caption set when it opens.
inline constexpr int IDD_LANGUAGE = 102;
inline constexpr int IDC_COMBO_LANGUAGE = 1000;
inline constexpr int IDC_LANGUAGE_LABEL = 1001;
inline constexpr int IDR_LAUNCHER_ICON = 128;
const DialogTemplate& LanguageDialogTemplate();

// Where a minimised dialog draws its icon: centred in the client area, the
// halves of the differences rounded up.
struct IconOrigin {
    int x = 0;
    int y = 0;
};
IconOrigin MinimisedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight);

// The message shown in the dialog's language when the target program could
// not be started (the choice is recorded all the same).
std::string LaunchFailureMessage(Language language, std::string_view target);

// Where the target program is looked for: the launcher's own directory
// first, then each directory of `searchPath` (as $PATH or %PATH%: entries
// separated by ":" on POSIX, ";" on Windows; an empty entry is the current
// directory). Returns the first file that may be run (IsRunnableFile), or
// nothing.
std::optional<std::string> FindTargetProgram(const std::string& launcherDir, std::string_view target,
                                             std::string_view searchPath);

// The launcher's run, on its one settings store (grow step 4, auto-save on):
// start-up loads the INI file beside the program (created empty when
// missing) and tells the language to open in; OK records the choice and tells
// what to start. Cancel does nothing at all. The store writes the file back
// when it is destroyed at the end of the process, if OK changed it.
class LauncherSettings {
public:
    LauncherSettings() : m_store(kLauncherGrowBy) {}

    // Loads the INI file at `iniPath` (see LauncherIniPath), making its
    // folder first when it is missing. The result is for information only:
    // the dialog works either way.
    bool Load(const std::string& iniPath);
    Language InitialLanguage() const;
    // OK with the combo's selected index: records the value, returns the
    // target program's file name.
    std::string_view RecordChoice(int comboIndex);

    CIniFile& Store() { return m_store; }

private:
    CIniFile m_store;
};

}  // namespace quorim

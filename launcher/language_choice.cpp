#include "launcher/language_choice.h"

#include <filesystem>

#include "base/utf8_path.h"
#include "launcher/launcher_files.h"

namespace quorim {

namespace fs = std::filesystem;

std::string GetProgramBaseName(std::string_view moduleFileName) {
    std::string_view name = moduleFileName;
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t' || name.back() == '\n' ||
                             name.back() == '\r' || name.back() == '\v' || name.back() == '\f')) {
        name.remove_suffix(1);
    }
    // The folder ends at the last separator: "\\" on Windows, "/" anywhere.
    const auto slash = name.find_last_of("/\\");
    if (slash != std::string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return "MAIN";
    }
    return std::string(name.substr(0, dot));
}

std::string LauncherIniFileName(std::string_view moduleFileName) {
    return GetProgramBaseName(moduleFileName) + ".ini";
}

std::string LauncherFolder(std::string_view moduleFileName) {
    const fs::path folder = Utf8Path(std::string(moduleFileName)).parent_path();
    return folder.empty() ? std::string(".") : Utf8Text(folder);
}

std::string LauncherIniPath(std::string_view moduleFileName, bool besideWritable, const char* xdgConfigHome,
                            const char* home) {
    const fs::path module = Utf8Path(std::string(moduleFileName));
    const fs::path fileName = Utf8Path(LauncherIniFileName(moduleFileName));
    const fs::path beside = module.parent_path() / fileName;
    if (besideWritable) {
        return Utf8Text(beside);
    }
    // A relative $XDG_CONFIG_HOME is invalid and ignored, as the base
    // directory rules say.
    fs::path configHome;
    if (xdgConfigHome && Utf8Path(xdgConfigHome).is_absolute()) {
        configHome = Utf8Path(xdgConfigHome);
    } else if (home && Utf8Path(home).is_absolute()) {
        configHome = Utf8Path(home) / ".config";
    } else {
        return Utf8Text(beside);
    }
    return Utf8Text(configHome / "quorim" / fileName);
}

Language LanguageFromIniValue(std::string_view value) {
    return value == "ENGLISH" ? Language::English : Language::Chinese;
}

Language LanguageFromComboIndex(int index) {
    return index != 0 ? Language::English : Language::Chinese;
}

int ComboIndexOf(Language language) {
    return language == Language::English ? 1 : 0;
}

std::string_view IniValueOf(Language language) {
    return language == Language::English ? "ENGLISH" : "CHINESE";
}

std::string_view TargetProgramOf(Language language) {
    return language == Language::English ? "tarvolin_EN.DLL" : "tarvolin_CH.DLL";
}

const LanguageCaptions& CaptionsOf(Language language) {
    static const LanguageCaptions chinese = {
        "Halvoren对讲机写频软件", "语 言 模 式", "确认", "取消", "中文", "英文"};
    static const LanguageCaptions english = {
        "tarvolin Radio Programing Software", "Language Mode", "OK", "CANCEL", "Chinese", "English"};
    return language == Language::English ? english : chinese;
}

const DialogTemplate& LanguageDialogTemplate() {
    using K = ControlKind;
    static const DialogTemplate t{IDD_LANGUAGE,
                                  "Tarvolin",
                                  "宋体",
                                  9,
                                  204,
                                  116,
                                  {
                                      {K::DefPushButton, 1, "确定", {31, 82, 50, 14}},
                                      {K::PushButton, 2, "取消", {118, 83, 50, 14}},
                                      {K::Static, IDC_LANGUAGE_LABEL, "语言模式", {43, 33, 46, 8}},
                                      {K::ComboBox, IDC_COMBO_LANGUAGE, "", {95, 29, 48, 74}},
                                  }};
    return t;
}

IconOrigin MinimisedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
    return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}

std::string LaunchFailureMessage(Language language, std::string_view target) {
    if (language == Language::English) {
        return "Cannot start the programming software \"" + std::string(target) +
               "\". Please check that it is installed beside this program.";
    }
    return "无法启动写频软件“" + std::string(target) + "”，请检查它是否安装在本程序所在的目录中。";
}

std::optional<std::string> FindTargetProgram(const std::string& launcherDir, std::string_view target,
                                             std::string_view searchPath) {
    if (target.empty()) {
        return std::nullopt;
    }
    const fs::path name = Utf8Path(std::string(target));
    const fs::path own = Utf8Path(launcherDir.empty() ? "." : launcherDir) / name;
    if (IsRunnableFile(Utf8Text(own))) {
        return Utf8Text(own);
    }
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        const auto separator = searchPath.find(kSearchPathSeparator, start);
        const auto end = separator == std::string_view::npos ? searchPath.size() : separator;
        const std::string dir(searchPath.substr(start, end - start));
        if (!searchPath.empty()) {
            const fs::path candidate = Utf8Path(dir.empty() ? "." : dir) / name;
            if (IsRunnableFile(Utf8Text(candidate))) {
                return Utf8Text(candidate);
            }
        }
        if (separator == std::string_view::npos) {
            break;
        }
        start = separator + 1;
    }
    return std::nullopt;
}

bool LauncherSettings::Load(const std::string& iniPath) {
    const fs::path folder = Utf8Path(iniPath).parent_path();
    std::error_code ec;
    if (!folder.empty() && !fs::exists(folder, ec)) {
        fs::create_directories(folder, ec);
    }
    return m_store.Load(iniPath, true, true, false);
}

Language LauncherSettings::InitialLanguage() const {
    return LanguageFromIniValue(m_store.GetString(kLanguageSection, kLanguageKey, ""));
}

std::string_view LauncherSettings::RecordChoice(int comboIndex) {
    const Language language = LanguageFromComboIndex(comboIndex);
    m_store.SetString(kLanguageSection, kLanguageKey, IniValueOf(language));
    return TargetProgramOf(language);
}

}  // namespace quorim

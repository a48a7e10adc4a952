#include "launcher/language_choice.h"

#include <filesystem>

namespace quorim {

namespace fs = std::filesystem;

std::string GetProgramBaseName(std::string_view moduleFileName) {
    std::string_view name = moduleFileName;
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t' || name.back() == '\n' ||
                             name.back() == '\r' || name.back() == '\v' || name.back() == '\f')) {
        name.remove_suffix(1);
    }
    const auto slash = name.rfind('/');
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

std::string LauncherIniPath(std::string_view moduleFileName, bool besideWritable, const char* xdgConfigHome,
                            const char* home) {
    const fs::path module{std::string(moduleFileName)};
    const std::string fileName = LauncherIniFileName(moduleFileName);
    const fs::path beside = module.parent_path() / fileName;
    if (besideWritable) {
        return beside.string();
    }
    // A relative $XDG_CONFIG_HOME is invalid and ignored, as the base
    // directory rules say.
    fs::path configHome;
    if (xdgConfigHome && fs::path(xdgConfigHome).is_absolute()) {
        configHome = xdgConfigHome;
    } else if (home && fs::path(home).is_absolute()) {
        configHome = fs::path(home) / ".config";
    } else {
        return beside.string();
    }
    return (configHome / "quorim" / fileName).string();
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

namespace {

bool IsRunnableFile(const fs::path& p) {
    std::error_code ec;
    const fs::file_status st = fs::status(p, ec);
    if (ec || !fs::is_regular_file(st)) {
        return false;
    }
    const auto exec = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    return (st.permissions() & exec) != fs::perms::none;
}

}  // namespace

std::optional<std::string> FindTargetProgram(const std::string& launcherDir, std::string_view target,
                                             std::string_view searchPath) {
    if (target.empty()) {
        return std::nullopt;
    }
    const fs::path own = fs::path(launcherDir.empty() ? "." : launcherDir) / std::string(target);
    if (IsRunnableFile(own)) {
        return own.string();
    }
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        const auto colon = searchPath.find(':', start);
        const auto end = colon == std::string_view::npos ? searchPath.size() : colon;
        const std::string dir(searchPath.substr(start, end - start));
        if (!searchPath.empty()) {
            const fs::path candidate = fs::path(dir.empty() ? "." : dir) / std::string(target);
            if (IsRunnableFile(candidate)) {
                return candidate.string();
            }
        }
        if (colon == std::string_view::npos) {
            break;
        }
        start = colon + 1;
    }
    return std::nullopt;
}

bool LauncherSettings::Load(const std::string& iniPath) {
    const fs::path folder = fs::path(iniPath).parent_path();
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

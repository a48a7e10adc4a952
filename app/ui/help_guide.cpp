#include "app/ui/help_guide.h"

#include "editor/form_template.h"
#include "editor/settings_lists.h"
#include "link/progress_template.h"
#include "tuning/tuning_dialog.h"
#include "ui/commands.h"

namespace quorim {

std::string_view HelpAnchor(HelpSection section) {
    switch (section) {
        case HelpSection::Contents:
            return "contents";
        case HelpSection::Reading:
            return "reading";
        case HelpSection::Editing:
            return "editing";
        case HelpSection::Settings:
            return "settings";
        case HelpSection::Writing:
            return "writing";
        case HelpSection::Tuning:
            return "tuning";
        case HelpSection::Files:
            return "files";
        case HelpSection::Ports:
            return "ports";
        case HelpSection::Backups:
            return "backups";
        case HelpSection::Cli:
            return "cli";
    }
    return "contents";
}

std::vector<std::string> HelpGuideCandidates(std::string_view programDir, bool english) {
    const std::string name = english ? "quorim_en.html" : "quorim_zh.html";
    std::string dir(programDir);
    while (dir.size() > 1 && dir.back() == '/') {
        dir.pop_back();
    }
    return {dir + "/help/" + name, dir + "/../share/quorim/help/" + name};
}

HelpSection HelpSectionForControl(int controlId) {
    if (controlId == IDC_GRID || controlId == IDC_EDIT_CELL || controlId == IDC_COMBO_TONE ||
        controlId == IDC_COMBO_YESNO) {
        return HelpSection::Editing;
    }
    for (const SettingsListInfo& info : AllSettingsLists()) {
        if (info.controlId == controlId) {
            return HelpSection::Settings;
        }
    }
    return HelpSection::Contents;
}

HelpSection HelpSectionForCommand(int commandId) {
    switch (commandId) {
        case ID_READ_RADIO:
            return HelpSection::Reading;
        case ID_WRITE_RADIO:
            return HelpSection::Writing;
        case ID_PORT_COM1:
        case ID_PORT_COM2:
        case ID_PORT_COM3:
        case ID_PORT_COM4:
            return HelpSection::Ports;
        case ID_ONLINE_TUNING:
            return HelpSection::Tuning;
        case ID_EDIT_CHANNEL:
            return HelpSection::Editing;
        case ID_FILE_NEW:
        case ID_FILE_OPEN:
        case ID_FILE_CLOSE:
        case ID_FILE_SAVE:
        case ID_FILE_SAVE_AS:
        case ID_FILE_PRINT_SETUP:
        case ID_FILE_PRINT:
        case ID_FILE_PRINT_DIRECT:
        case ID_FILE_PRINT_PREVIEW:
            return HelpSection::Files;
        default:
            return commandId >= ID_FILE_MRU_FILE1 && commandId <= ID_FILE_MRU_FILE4 ? HelpSection::Files
                                                                                    : HelpSection::Contents;
    }
}

HelpSection HelpSectionForWindow(int templateId) {
    if (templateId == TuningDlgTemplate().id) {
        return HelpSection::Tuning;
    }
    if (templateId == ProgressTemplate().id) {
        return HelpSection::Reading;
    }
    return HelpSection::Contents;
}

}  // namespace quorim

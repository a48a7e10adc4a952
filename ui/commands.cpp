#include "ui/commands.h"

#include <algorithm>
#include <map>

#include "base/translation.h"

namespace quorim {

CommandString CommandText(int id) {
    static const std::map<int, CommandString> strings = {
        {ID_FILE_NEW, {QUORIM_TR("Quorim", "建立新文档"), QUORIM_TR("Quorim", "新建")}},
        {ID_FILE_OPEN, {QUORIM_TR("Quorim", "打开一个现有文档"), QUORIM_TR("Quorim", "打开")}},
        {ID_FILE_CLOSE, {QUORIM_TR("Quorim", "关闭活动文档"), QUORIM_TR("Quorim", "关闭")}},
        {ID_FILE_SAVE, {QUORIM_TR("Quorim", "保存活动文档"), QUORIM_TR("Quorim", "保存")}},
        {ID_FILE_SAVE_AS, {QUORIM_TR("Quorim", "用新名称保存活动文档"), QUORIM_TR("Quorim", "另存为")}},
        {ID_FILE_PRINT_SETUP, {QUORIM_TR("Quorim", "改变打印机及打印选项"), QUORIM_TR("Quorim", "打印设置")}},
        {ID_FILE_PRINT, {QUORIM_TR("Quorim", "打印活动文档"), QUORIM_TR("Quorim", "打印")}},
        {ID_FILE_PRINT_DIRECT,
         {QUORIM_TR("Quorim", "使用当前选项打印活动文档"), QUORIM_TR("Quorim", "快速打印")}},
        {ID_FILE_PRINT_PREVIEW, {QUORIM_TR("Quorim", "显示整页"), QUORIM_TR("Quorim", "打印预览")}},
        {ID_FILE_IMPORT_CSV, {QUORIM_TR("Quorim", "从表格软件保存的 CSV 文件导入信道和设置"), ""}},
        {ID_FILE_EXPORT_CSV, {QUORIM_TR("Quorim", "把信道和设置保存为表格软件能打开的 CSV 文件"), ""}},
        {ID_FILE_MRU_FILE1, {QUORIM_TR("Quorim", "打开该文档"), ""}},
        {ID_FILE_MRU_FILE1 + 1, {QUORIM_TR("Quorim", "打开该文档"), ""}},
        {ID_FILE_MRU_FILE1 + 2, {QUORIM_TR("Quorim", "打开该文档"), ""}},
        {ID_FILE_MRU_FILE4, {QUORIM_TR("Quorim", "打开该文档"), ""}},
        {ID_APP_ABOUT, {QUORIM_TR("Quorim", "显示程序信息，版本号和版权"), QUORIM_TR("Quorim", "关于")}},
        {ID_APP_EXIT, {QUORIM_TR("Quorim", "退出应用程序；提示保存文档"), QUORIM_TR("Quorim", "退出")}},
        {ID_HELP_FINDER, {QUORIM_TR("Quorim", "列出帮助主题"), QUORIM_TR("Quorim", "帮助主题")}},
        {ID_HELP, {QUORIM_TR("Quorim", "显示帮助"), QUORIM_TR("Quorim", "帮助")}},
        {ID_CONTEXT_HELP,
         {QUORIM_TR("Quorim", "显示单击的按钮、菜单或窗口的帮助"), QUORIM_TR("Quorim", "帮助")}},
        {ID_DEFAULT_HELP, {QUORIM_TR("Quorim", "显示默认帮助"), QUORIM_TR("Quorim", "帮助")}},
        {ID_NEXT_PANE, {QUORIM_TR("Quorim", "切换到下一个窗格"), QUORIM_TR("Quorim", "下一窗格")}},
        {ID_PREV_PANE, {QUORIM_TR("Quorim", "切换回前一个窗格"), QUORIM_TR("Quorim", "前一窗格")}},
        {ID_WINDOW_NEW, {QUORIM_TR("Quorim", "为活动文档打开另一个窗口"), QUORIM_TR("Quorim", "新建窗口")}},
        {ID_WINDOW_ARRANGE, {QUORIM_TR("Quorim", "将图标排列在窗口底部"), QUORIM_TR("Quorim", "排列图标")}},
        {ID_WINDOW_CASCADE, {QUORIM_TR("Quorim", "以重叠方式排列窗口"), QUORIM_TR("Quorim", "层叠窗口")}},
        {ID_WINDOW_TILE_HORZ,
         {QUORIM_TR("Quorim", "以非重叠的平铺方式排列窗口"), QUORIM_TR("Quorim", "平铺窗口")}},
        {ID_VIEW_TOOLBAR, {QUORIM_TR("Quorim", "显示或隐藏工具栏"), QUORIM_TR("Quorim", "切换工具栏")}},
        {ID_VIEW_STATUS_BAR, {QUORIM_TR("Quorim", "显示或隐藏状态栏"), QUORIM_TR("Quorim", "切换状态栏")}},
        {ID_READ_RADIO, {QUORIM_TR("Quorim", "读取对讲机频率"), QUORIM_TR("Quorim", "读频")}},
        {ID_WRITE_RADIO, {QUORIM_TR("Quorim", "写频率数据至对讲机"), QUORIM_TR("Quorim", "写频")}},
        {ID_ONLINE_TUNING,
         {QUORIM_TR("Quorim", "实时修改对讲机发射功率，静燥等级，电池低压报警"),
          QUORIM_TR("Quorim", "在线调试")}},
        {ID_EDIT_CHANNEL, {QUORIM_TR("Quorim", "修改各频道数据"), QUORIM_TR("Quorim", "编辑")}},
        {ID_PORT_COM1, {QUORIM_TR("Quorim", "选择串口1"), ""}},
        {ID_PORT_DEVICES, {QUORIM_TR("Quorim", "查看串口设备，为 COM1 至 COM4 指定设备"), ""}},
        {ID_EDIT_UNDO, {QUORIM_TR("Quorim", "撤销上一次修改"), ""}},
        {ID_EDIT_REDO, {QUORIM_TR("Quorim", "重做撤销的修改"), ""}},
        {ID_EDIT_CUT, {QUORIM_TR("Quorim", "复制所选内容，然后清除"), ""}},
        {ID_EDIT_COPY, {QUORIM_TR("Quorim", "复制所选内容"), ""}},
        {ID_EDIT_PASTE, {QUORIM_TR("Quorim", "从所选位置的左上角开始粘贴"), ""}},
        {ID_EDIT_CLEAR, {QUORIM_TR("Quorim", "清除所选单元格"), ""}},
        {ID_EDIT_INSERT_CHANNEL, {QUORIM_TR("Quorim", "在所选信道前插入空信道"), ""}},
        {ID_EDIT_DELETE_CHANNELS, {QUORIM_TR("Quorim", "删除所选信道"), ""}},
        {ID_EDIT_MOVE_UP, {QUORIM_TR("Quorim", "将所选信道上移一位"), ""}},
        {ID_EDIT_MOVE_DOWN, {QUORIM_TR("Quorim", "将所选信道下移一位"), ""}},
        {ID_EDIT_SELECT_ALL, {QUORIM_TR("Quorim", "选择全部单元格"), ""}},
        {ID_EDIT_SET_CELLS, {QUORIM_TR("Quorim", "将一个值填入所选信道的所选列"), ""}},
        {ID_EDIT_FILL_DOWN, {QUORIM_TR("Quorim", "将第一个所选信道的内容复制到其余所选信道"), ""}},
        {ID_EDIT_FILL_SERIES, {QUORIM_TR("Quorim", "从起始频率开始按步进逐个信道填入频率"), ""}},
        {ID_EDIT_CHECK_CHANNELS, {QUORIM_TR("Quorim", "列出对讲机无法使用或可能不是有意的内容"), ""}},
        {ID_EDIT_APPLY_PLAN, {QUORIM_TR("Quorim", "把一个频道方案的频率和带宽写入所选信道"), ""}},
        {ID_EDIT_CHECK_PLAN, {QUORIM_TR("Quorim", "列出与频道方案的信道和带宽不符的内容"), ""}},
        {ID_PORT_COM2, {QUORIM_TR("Quorim", "选择串口2"), ""}},
        {ID_PORT_COM3, {QUORIM_TR("Quorim", "选择串口3"), ""}},
        {ID_PORT_COM4, {QUORIM_TR("Quorim", "选择串口4"), ""}},
    };
    const auto it = strings.find(id);
    return it == strings.end() ? CommandString{} : it->second;
}

const std::vector<Accelerator>& AcceleratorTable() {
    static const std::vector<Accelerator> table = {
        {"Ctrl+C", ID_PORT_COM1},
        {"Ctrl+D", ID_PORT_COM2},
        {"Ctrl+E", ID_PORT_COM3},
        {"Ctrl+F", ID_PORT_COM4},
        {"Ctrl+G", ID_EDIT_CHANNEL},
        {"Ctrl+N", ID_FILE_NEW},
        {"Ctrl+O", ID_FILE_OPEN},
        {"Ctrl+P", ID_FILE_PRINT},
        {"Ctrl+R", ID_READ_RADIO},
        {"Ctrl+S", ID_FILE_SAVE},
        {"Ctrl+T", ID_ONLINE_TUNING},
        {"Ctrl+W", ID_WRITE_RADIO},
        {"F1", ID_HELP},
        {"Shift+F1", ID_CONTEXT_HELP},
        {"F6", ID_NEXT_PANE},
        {"Shift+F6", ID_PREV_PANE},
    };
    return table;
}

const std::vector<Accelerator>& EditKeyTable() {
    static const std::vector<Accelerator> table = {
        {"Ctrl+Z", ID_EDIT_UNDO},        {"Ctrl+Y", ID_EDIT_REDO},
        {"Ctrl+Shift+Z", ID_EDIT_REDO},  {"Shift+Del", ID_EDIT_CUT},
        {"Ctrl+Ins", ID_EDIT_COPY},      {"Shift+Ins", ID_EDIT_PASTE},
        {"Ctrl+V", ID_EDIT_PASTE},       {"Del", ID_EDIT_CLEAR},
        {"Ins", ID_EDIT_INSERT_CHANNEL}, {"Ctrl+Del", ID_EDIT_DELETE_CHANNELS},
        {"Alt+Up", ID_EDIT_MOVE_UP},     {"Alt+Down", ID_EDIT_MOVE_DOWN},
        {"Ctrl+A", ID_EDIT_SELECT_ALL},
    };
    return table;
}

std::vector<std::string_view> ShortcutsOf(int id) {
    std::vector<std::string_view> keys;
    if (const std::string_view key = ShortcutOf(id); !key.empty()) {
        keys.push_back(key);
    }
    for (const Accelerator& a : EditKeyTable()) {
        if (a.id == id) {
            keys.push_back(a.keys);
        }
    }
    return keys;
}

std::string_view ShortcutOf(int id) {
    // Help Topics shows F1, the key that opens the same guide.
    const int command = id == ID_HELP_FINDER ? ID_HELP : id;
    for (const Accelerator& a : AcceleratorTable()) {
        if (a.id == command) {
            return a.keys;
        }
    }
    return {};
}

namespace {

MenuItem Sep() {
    return MenuItem{};
}

MenuItem ViewPopup() {
    return {QUORIM_TR("Quorim", "查看(&V)"),
            0,
            {{QUORIM_TR("Quorim", "工具栏(&T)"), ID_VIEW_TOOLBAR, {}},
             {QUORIM_TR("Quorim", "状态栏(&S)"), ID_VIEW_STATUS_BAR, {}}}};
}

}  // namespace

const MenuItem& EditPopup() {
    // Texts as the editor names its commands and undo steps.
    static const MenuItem popup = {QUORIM_TR("Quorim", "编辑"),
                                   0,
                                   {{QUORIM_TR("Quorim", "撤销"), ID_EDIT_UNDO, {}},
                                    {QUORIM_TR("Quorim", "重做"), ID_EDIT_REDO, {}},
                                    Sep(),
                                    {QUORIM_TR("Quorim", "剪切"), ID_EDIT_CUT, {}},
                                    {QUORIM_TR("Quorim", "复制"), ID_EDIT_COPY, {}},
                                    {QUORIM_TR("Quorim", "粘贴"), ID_EDIT_PASTE, {}},
                                    {QUORIM_TR("Quorim", "清除"), ID_EDIT_CLEAR, {}},
                                    Sep(),
                                    {QUORIM_TR("Quorim", "插入空信道"), ID_EDIT_INSERT_CHANNEL, {}},
                                    {QUORIM_TR("Quorim", "删除信道"), ID_EDIT_DELETE_CHANNELS, {}},
                                    {QUORIM_TR("Quorim", "信道上移"), ID_EDIT_MOVE_UP, {}},
                                    {QUORIM_TR("Quorim", "信道下移"), ID_EDIT_MOVE_DOWN, {}},
                                    Sep(),
                                    {QUORIM_TR("Quorim", "全选"), ID_EDIT_SELECT_ALL, {}},
                                    Sep(),
                                    {QUORIM_TR("Quorim", "设置…"), ID_EDIT_SET_CELLS, {}},
                                    {QUORIM_TR("Quorim", "向下填充"), ID_EDIT_FILL_DOWN, {}},
                                    {QUORIM_TR("Quorim", "递增填充"), ID_EDIT_FILL_SERIES, {}},
                                    {QUORIM_TR("Quorim", "套用频道方案…"), ID_EDIT_APPLY_PLAN, {}},
                                    Sep(),
                                    {QUORIM_TR("Quorim", "检查信道"), ID_EDIT_CHECK_CHANNELS, {}},
                                    {QUORIM_TR("Quorim", "按频道方案检查…"), ID_EDIT_CHECK_PLAN, {}}}};
    return popup;
}

bool IsEditCommand(int id) {
    const auto& items = EditPopup().children;
    return id != 0 && std::any_of(items.begin(), items.end(), [id](const MenuItem& m) { return m.id == id; });
}

const std::vector<MenuItem>& Menu128() {
    static const std::vector<MenuItem> menu = {
        {QUORIM_TR("Quorim", "文件(&F)"),
         0,
         {{QUORIM_TR("Quorim", "新建(&N)"), ID_FILE_NEW, {}},
          {QUORIM_TR("Quorim", "打开(&O)..."), ID_FILE_OPEN, {}},
          Sep(),
          {QUORIM_TR("Quorim", "打印设置(&R)..."), ID_FILE_PRINT_SETUP, {}},
          Sep(),
          {QUORIM_TR("Quorim", "最近文件"), ID_FILE_MRU_FILE1, {}},
          Sep(),
          {QUORIM_TR("Quorim", "退出(&X)"), ID_APP_EXIT, {}}}},
        ViewPopup(),
        {QUORIM_TR("Quorim", "帮助(&H)"),
         0,
         {{QUORIM_TR("Quorim", "帮助主题(&H)"), ID_HELP_FINDER, {}},
          Sep(),
          {QUORIM_TR("Quorim", "关于 Quorim_CH(&A)..."), ID_APP_ABOUT, {}}}},
    };
    return menu;
}

const std::vector<MenuItem>& Menu129() {
    static const std::vector<MenuItem> menu = {
        {QUORIM_TR("Quorim", "文件(&F)"),
         0,
         {{QUORIM_TR("Quorim", "新建(&N)"), ID_FILE_NEW, {}},
          {QUORIM_TR("Quorim", "打开(&O)..."), ID_FILE_OPEN, {}},
          {QUORIM_TR("Quorim", "保存(&S)"), ID_FILE_SAVE, {}},
          {QUORIM_TR("Quorim", "另存为(&A)..."), ID_FILE_SAVE_AS, {}},
          Sep(),
          {QUORIM_TR("Quorim", "导入 CSV…"), ID_FILE_IMPORT_CSV, {}},
          {QUORIM_TR("Quorim", "导出 CSV…"), ID_FILE_EXPORT_CSV, {}},
          Sep(),
          {QUORIM_TR("Quorim", "打印(&P)..."), ID_FILE_PRINT, {}},
          {QUORIM_TR("Quorim", "打印预览(&V)"), ID_FILE_PRINT_PREVIEW, {}},
          {QUORIM_TR("Quorim", "打印设置(&R)..."), ID_FILE_PRINT_SETUP, {}},
          Sep(),
          {QUORIM_TR("Quorim", "最近文件"), ID_FILE_MRU_FILE1, {}},
          Sep(),
          {QUORIM_TR("Quorim", "退出(&X)"), ID_APP_EXIT, {}}}},
        EditPopup(),
        {QUORIM_TR("Quorim", "编程(&E)"),
         0,
         {{QUORIM_TR("Quorim", "读频(&U)"), ID_READ_RADIO, {}},
          Sep(),
          {QUORIM_TR("Quorim", "写频"), ID_WRITE_RADIO, {}},
          Sep(),
          {QUORIM_TR("Quorim", "在线调试(&Y)"), ID_ONLINE_TUNING, {}},
          Sep(),
          {QUORIM_TR("Quorim", "编辑信道"), ID_EDIT_CHANNEL, {}}}},
        {QUORIM_TR("Quorim", "端口设置"),
         0,
         {{"COM1(&P)", ID_PORT_COM1, {}},
          {"COM2(&Q)", ID_PORT_COM2, {}},
          {"COM3(&S)", ID_PORT_COM3, {}},
          {"COM4(&T)", ID_PORT_COM4, {}},
          Sep(),
          {QUORIM_TR("Quorim", "设备…"), ID_PORT_DEVICES, {}}}},
        ViewPopup(),
        {QUORIM_TR("Quorim", "窗口(&W)"),
         0,
         {{QUORIM_TR("Quorim", "新建窗口(&N)"), ID_WINDOW_NEW, {}},
          {QUORIM_TR("Quorim", "层叠(&C)"), ID_WINDOW_CASCADE, {}},
          {QUORIM_TR("Quorim", "平铺(&T)"), ID_WINDOW_TILE_HORZ, {}},
          {QUORIM_TR("Quorim", "排列图标(&A)"), ID_WINDOW_ARRANGE, {}}}},
        {QUORIM_TR("Quorim", "帮助(&H)"),
         0,
         {{QUORIM_TR("Quorim", "帮助主题(&H)"), ID_HELP_FINDER, {}},
          Sep(),
          {QUORIM_TR("Quorim", "关于 本软件(&A)..."), ID_APP_ABOUT, {}}}},
    };
    return menu;
}

const std::vector<int>& Toolbar128() {
    static const std::vector<int> bar = {ID_FILE_NEW,      ID_FILE_OPEN,
                                         ID_FILE_SAVE,     0,
                                         ID_READ_RADIO,    ID_WRITE_RADIO,
                                         ID_ONLINE_TUNING, 0,
                                         ID_EDIT_CHANNEL,  0,
                                         ID_FILE_PRINT,    ID_APP_ABOUT};
    return bar;
}

const std::vector<std::string_view>& IndicatorTexts() {
    static const std::vector<std::string_view> texts = {
        QUORIM_TR("Quorim", "大写"), QUORIM_TR("Quorim", "数字"), QUORIM_TR("Quorim", "滚动")};
    return texts;
}

std::string_view AskToSaveText() {
    return QUORIM_TR("Quorim", "是否保存对 %1 的更改？");
}

}  // namespace quorim

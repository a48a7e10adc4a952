#include "app/commands.h"

#include <map>

namespace quorim {

const DocumentTemplate& DocTemplate() {
    static const DocumentTemplate t{
        "",     "Halvoren数据文件", "Halvoren数据文件", "Tarvolin数据文件 (*.szt)",
        ".szt", "SZT_CH.Document",  "Mquori Document"};
    return t;
}

CommandString CommandText(int id) {
    static const std::map<int, CommandString> strings = {
        {ID_FILE_NEW, {"建立新文档", "新建"}},
        {ID_FILE_OPEN, {"打开一个现有文档", "打开"}},
        {ID_FILE_CLOSE, {"关闭活动文档", "关闭"}},
        {ID_FILE_SAVE, {"保存活动文档", "保存"}},
        {ID_FILE_SAVE_AS, {"用新名称保存活动文档", "另存为"}},
        {ID_FILE_PRINT_SETUP, {"改变打印机及打印选项", "打印设置"}},
        {ID_FILE_PRINT, {"打印活动文档", "打印"}},
        {ID_FILE_PRINT_DIRECT, {"使用当前选项打印活动文档", "快速打印"}},
        {ID_FILE_PRINT_PREVIEW, {"显示整页", "打印预览"}},
        {ID_FILE_MRU_FILE1, {"打开该文档", ""}},
        {ID_FILE_MRU_FILE1 + 1, {"打开该文档", ""}},
        {ID_FILE_MRU_FILE1 + 2, {"打开该文档", ""}},
        {ID_FILE_MRU_FILE4, {"打开该文档", ""}},
        {ID_APP_ABOUT, {"显示程序信息，版本号和版权", "关于"}},
        {ID_APP_EXIT, {"退出应用程序；提示保存文档", "退出"}},
        {ID_HELP_FINDER, {"列出帮助主题", "帮助主题"}},
        {ID_HELP, {"显示帮助", "帮助"}},
        {ID_CONTEXT_HELP, {"显示单击的按钮、菜单或窗口的帮助", "帮助"}},
        {ID_DEFAULT_HELP, {"显示默认帮助", "帮助"}},
        {ID_NEXT_PANE, {"切换到下一个窗格", "下一窗格"}},
        {ID_PREV_PANE, {"切换回前一个窗格", "前一窗格"}},
        {ID_WINDOW_NEW, {"为活动文档打开另一个窗口", "新建窗口"}},
        {ID_WINDOW_ARRANGE, {"将图标排列在窗口底部", "排列图标"}},
        {ID_WINDOW_CASCADE, {"以重叠方式排列窗口", "层叠窗口"}},
        {ID_WINDOW_TILE_HORZ, {"以非重叠的平铺方式排列窗口", "平铺窗口"}},
        {ID_VIEW_TOOLBAR, {"显示或隐藏工具栏", "切换工具栏"}},
        {ID_VIEW_STATUS_BAR, {"显示或隐藏状态栏", "切换状态栏"}},
        {ID_READ_RADIO, {"读取对讲机频率", "读频"}},
        {ID_WRITE_RADIO, {"写频率数据至对讲机", "写频"}},
        {ID_ONLINE_TUNING, {"实时修改对讲机发射功率，静燥等级，电池低压报警", "在线调试"}},
        {ID_EDIT_CHANNEL, {"修改各频道数据", "编辑"}},
        {ID_PORT_COM1, {"选择串口1", ""}},
        {ID_PORT_COM2, {"选择串口2", ""}},
        {ID_PORT_COM3, {"选择串口3", ""}},
        {ID_PORT_COM4, {"选择串口4", ""}},
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

std::string_view ShortcutOf(int id) {
    for (const Accelerator& a : AcceleratorTable()) {
        if (a.id == id) {
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
    return {"查看(&V)", 0, {{"工具栏(&T)", ID_VIEW_TOOLBAR, {}}, {"状态栏(&S)", ID_VIEW_STATUS_BAR, {}}}};
}

}  // namespace

const std::vector<MenuItem>& Menu128() {
    static const std::vector<MenuItem> menu = {
        {"文件(&F)",
         0,
         {{"新建(&N)", ID_FILE_NEW, {}},
          {"打开(&O)...", ID_FILE_OPEN, {}},
          Sep(),
          {"打印设置(&R)...", ID_FILE_PRINT_SETUP, {}},
          Sep(),
          {"最近文件", ID_FILE_MRU_FILE1, {}},
          Sep(),
          {"退出(&X)", ID_APP_EXIT, {}}}},
        ViewPopup(),
        {"帮助(&H)",
         0,
         {{"帮助主题(&H)", ID_HELP_FINDER, {}}, Sep(), {"关于 Quorim_CH(&A)...", ID_APP_ABOUT, {}}}},
    };
    return menu;
}

const std::vector<MenuItem>& Menu129() {
    static const std::vector<MenuItem> menu = {
        {"文件(&F)",
         0,
         {{"新建(&N)", ID_FILE_NEW, {}},
          {"打开(&O)...", ID_FILE_OPEN, {}},
          {"保存(&S)", ID_FILE_SAVE, {}},
          {"另存为(&A)...", ID_FILE_SAVE_AS, {}},
          Sep(),
          {"打印(&P)...", ID_FILE_PRINT, {}},
          {"打印预览(&V)", ID_FILE_PRINT_PREVIEW, {}},
          {"打印设置(&R)...", ID_FILE_PRINT_SETUP, {}},
          Sep(),
          {"最近文件", ID_FILE_MRU_FILE1, {}},
          Sep(),
          {"退出(&X)", ID_APP_EXIT, {}}}},
        {"编程(&E)",
         0,
         {{"读频(&U)", ID_READ_RADIO, {}},
          Sep(),
          {"写频", ID_WRITE_RADIO, {}},
          Sep(),
          {"在线调试(&Y)", ID_ONLINE_TUNING, {}},
          Sep(),
          {"编辑信道", ID_EDIT_CHANNEL, {}}}},
        {"端口设置",
         0,
         {{"COM1(&P)", ID_PORT_COM1, {}},
          {"COM2(&Q)", ID_PORT_COM2, {}},
          {"COM3(&S)", ID_PORT_COM3, {}},
          {"COM4(&T)", ID_PORT_COM4, {}}}},
        ViewPopup(),
        {"窗口(&W)",
         0,
         {{"新建窗口(&N)", ID_WINDOW_NEW, {}},
          {"层叠(&C)", ID_WINDOW_CASCADE, {}},
          {"平铺(&T)", ID_WINDOW_TILE_HORZ, {}},
          {"排列图标(&A)", ID_WINDOW_ARRANGE, {}}}},
        {"帮助(&H)", 0, {{"关于 本软件(&A)...", ID_APP_ABOUT, {}}}},
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
    static const std::vector<std::string_view> texts = {"大写", "数字", "滚动"};
    return texts;
}

std::string_view AskToSaveText() {
    return "是否保存对 %1 的更改？";
}

}  // namespace quorim

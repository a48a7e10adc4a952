#include "editor/editor_model.h"

namespace quorim {

std::string EditorSurface::SelectedText(SettingsList list) const {
    const int sel = CurSel(list);
    const auto& items = Info(list).items;
    if (sel < 0 || sel >= static_cast<int>(items.size())) {
        return {};
    }
    return std::string(items[static_cast<std::size_t>(sel)]);
}

std::string ShownSelectedText(const EditorSurface& editor, SettingsList list, const TextTranslator& texts) {
    return texts.Translate("SettingsList", editor.SelectedText(list));
}

std::string ShownCellText(const EditorSurface& editor, int row, int col, const TextTranslator& texts) {
    const std::string text = editor.TextMatrix(row, col);
    return row == 0 || col == kColInhibit ? texts.Translate("Quorim", text) : text;
}

EditorModel::EditorModel() : m_cells(kRows16) {
    for (const auto& info : AllSettingsLists()) {
        m_sel[static_cast<std::size_t>(info.list)] = info.initialIndex;
    }
}

void EditorModel::SetRows(int rows) {
    m_cells.resize(rows < 0 ? 0 : static_cast<std::size_t>(rows));
}

std::string EditorModel::TextMatrix(int row, int col) const {
    if (row < 0 || row >= Rows() || col < 0 || col >= kGridColumns) {
        return {};
    }
    return m_cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void EditorModel::SetTextMatrix(int row, int col, const std::string& text) {
    if (row < 0 || row >= Rows() || col < 0 || col >= kGridColumns) {
        return;
    }
    m_cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = text;
}

int EditorModel::CurSel(SettingsList list) const {
    return m_sel[static_cast<std::size_t>(list)];
}

void EditorModel::SetCurSel(SettingsList list, int index) {
    const int count = static_cast<int>(Info(list).items.size());
    m_sel[static_cast<std::size_t>(list)] = (index >= 0 && index < count) ? index : -1;
}

}  // namespace quorim

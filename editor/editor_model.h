#pragma once

#include <array>
#include <string>
#include <vector>

#include "editor/editor_surface.h"

namespace quorim {

// The editor held in memory, for the command-line tool and the tests: a grid
// of texts and eight list selections, set up as a freshly shown form is.
class EditorModel : public EditorSurface {
public:
    EditorModel();

    int Rows() const override { return static_cast<int>(m_cells.size()); }
    void SetRows(int rows) override;
    std::string TextMatrix(int row, int col) const override;
    void SetTextMatrix(int row, int col, const std::string& text) override;
    int CurSel(SettingsList list) const override;
    void SetCurSel(SettingsList list, int index) override;

private:
    std::vector<std::array<std::string, kGridColumns>> m_cells;
    std::array<int, kSettingsListCount> m_sel{};
};

}  // namespace quorim

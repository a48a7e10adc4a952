#include "editor/ui/channel_selection.h"

#include <algorithm>
#include <set>

#include "editor/ui/flex_grid.h"
#include "editor/ui/view_document.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

std::vector<GridCell> CChannelSelection::SelectedCells() const {
    std::vector<GridCell> cells;
    for (const QPoint& p : m_grid->SelectedCells()) {
        if (p.x() >= kColRxFreq && p.x() <= kColInhibit) {
            cells.push_back({p.y(), p.x()});
        }
    }
    if (cells.empty() && m_grid->GetRow() > 0 && m_grid->GetCol() >= kColRxFreq &&
        m_grid->GetCol() <= kColInhibit) {
        cells.push_back({static_cast<int>(m_grid->GetRow()), static_cast<int>(m_grid->GetCol())});
    }
    std::sort(cells.begin(), cells.end(), [](const GridCell& a, const GridCell& b) {
        return a.row != b.row ? a.row < b.row : a.col < b.col;
    });
    return cells;
}

std::vector<int> CChannelSelection::SelectedChannels() const {
    std::set<int> rows;
    for (const GridCell& c : SelectedCells()) {
        rows.insert(c.row);
    }
    if (rows.empty() && m_grid->GetRow() > 0) {
        rows.insert(static_cast<int>(m_grid->GetRow()));
    }
    return {rows.begin(), rows.end()};
}

bool CChannelSelection::WholeChannelsSelected() const {
    const std::vector<GridCell> cells = SelectedCells();
    const std::vector<int> rows = SelectedChannels();
    return !cells.empty() && cells.size() == rows.size() * (kColInhibit - kColRxFreq + 1);
}

void CChannelSelection::SelectChannels(const std::vector<int>& channels) {
    if (channels.empty()) {
        return;
    }
    if (m_grid->GetRow() != channels.front()) {
        m_grid->SetRow(channels.front());
    }
    m_grid->SelectRows(QList<int>(channels.begin(), channels.end()));
}

void CChannelSelection::Finish(const EditResult& result, std::string_view label) {
    if (!result.ok) {
        if (!result.message.empty()) {
            QString text = Q(result.message);
            for (const CellRefusal& refusal : result.refusals) {
                text += QLatin1Char('\n') + Raw(FormatRefusal(refusal, WindowTexts()));
            }
            AfxMessageBox(m_window, text);
        }
        return;
    }
    if (CQuorim_CHDoc* doc = m_doc.Get()) {
        doc->RecordChange(Q(label));
    }
    SelectChannels(result.channels);
    m_grid->viewport()->update();
}

}  // namespace quorim

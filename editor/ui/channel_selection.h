#pragma once

#include <string_view>
#include <vector>

#include "editor/channel_edit.h"

class QWidget;

namespace quorim {

class CMSFlexGrid1;
class CViewDocument;

// The channels and cells a document window's commands act on, and the
// outcome of such a command: a refusal told, or one step of the document's
// history with the channels it left selected.
class CChannelSelection {
public:
    CChannelSelection(QWidget* window, CViewDocument& doc, CMSFlexGrid1* grid)
        : m_window(window), m_doc(doc), m_grid(grid) {}

    // The selected cells of columns 1 to 5 (the current cell when nothing is
    // selected), in row then column order; the channels they lie in; and
    // whether those channels are selected whole (by their numbers, or every
    // cell of them).
    std::vector<GridCell> SelectedCells() const;
    std::vector<int> SelectedChannels() const;
    bool WholeChannelsSelected() const;
    void SelectChannels(const std::vector<int>& channels);

    // Shows a refusal, or records the change as one step named `label` and
    // selects the channels it left.
    void Finish(const EditResult& result, std::string_view label);

private:
    QWidget* m_window;
    CViewDocument& m_doc;
    CMSFlexGrid1* m_grid;
};

}  // namespace quorim

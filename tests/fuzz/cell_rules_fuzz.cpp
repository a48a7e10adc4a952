// Any texts typed into any cell of a channel row, committed by Enter or by
// leaving the cell: the grid only ever holds texts the rules produce.
#include <cstdint>
#include <string>
#include <vector>

#include "editor/cell_rules.h"
#include "editor/editor_model.h"
#include "fuzz_check.h"

using namespace quorim;

namespace {

bool IsStoredFrequency(const std::string& t) {
    return t.empty() || ReadFrequencyText(t).text == t;
}

bool IsStoredSignalling(const std::string& t) {
    return t.empty() || NormaliseSignallingText(t) == t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Fields separated by 0x00: each starts with an action byte, then the text.
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            fields.emplace_back();
        } else {
            fields.back() += static_cast<char>(data[i]);
        }
    }
    EditorModel grid;
    const int row = grid.Rows() - 1;
    for (const std::string& f : fields) {
        if (f.empty()) continue;
        const int action = static_cast<unsigned char>(f[0]);
        const std::string typed = f.substr(1);
        const int col = 1 + action % 5;
        const bool enter = (action & 0x08) != 0;
        const std::string before = grid.TextMatrix(row, col);

        const BeginEdit open = DecideBeginEdit(action, col, before, before);
        FUZZ_CHECK(!open.open || !open.text || open.text->find('\x1b') == std::string::npos);

        CellCommit c;
        if (enter) {
            const EnterFocus focus = col <= 2   ? EnterFocus::EditCell
                                     : col == 5 ? EnterFocus::YesNoCombo
                                                : EnterFocus::Other;
            const EnterOutcome o = HandleEnter(grid, focus, true, row, col, typed);
            FUZZ_CHECK(o.move == EnterMove::EditNext || (col == 5 && o.move == EnterMove::Tab) ||
                       (o.commit.refused && o.move == EnterMove::Reopen));
            c = o.commit;
        } else {
            c = CommitOnLeave(grid, row, col, {true, typed, std::nullopt});
        }
        // A refused entry changes nothing and says why.
        FUZZ_CHECK(c.committed != c.refused);
        FUZZ_CHECK(!c.refused || (!c.message.empty() && grid.TextMatrix(row, col) == before));
        FUZZ_CHECK(c.text == grid.TextMatrix(row, col));

        // Only stored forms ever reach the grid, and committing them again
        // changes nothing.
        FUZZ_CHECK(IsStoredFrequency(grid.TextMatrix(row, 1)));
        FUZZ_CHECK(IsStoredFrequency(grid.TextMatrix(row, 2)));
        FUZZ_CHECK(IsStoredSignalling(grid.TextMatrix(row, 3)));
        FUZZ_CHECK(IsStoredSignalling(grid.TextMatrix(row, 4)));
        if (col <= 2 && !c.refused) {
            FUZZ_CHECK(!CommitFrequencyText(grid, row, col, grid.TextMatrix(row, col)).changed);
        }
        // A row without frequencies holds no signalling once it is committed.
        const bool noFreq = grid.TextMatrix(row, 1).empty() && grid.TextMatrix(row, 2).empty();
        if (noFreq && (col == 3 || col == 4)) FUZZ_CHECK(c.text.empty());
        if (noFreq && grid.TextMatrix(row, 3).empty() && grid.TextMatrix(row, 4).empty() && col <= 2 &&
            !c.refused)
            FUZZ_CHECK(grid.TextMatrix(row, 5).empty());
    }
    return 0;
}

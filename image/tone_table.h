#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorim {

// The names of every squelch setting a channel can carry, in the radio's
// index order: 0 "OFF", 1-50 CTCSS tones, 51-155 DCS codes with normal
// polarity, 156-260 the same codes inverted. The index is what the editor and
// the tuning link exchange; the name is what the user sees.
class ToneTable {
public:
    static constexpr int kCount = 261;
    static constexpr int kFirstTone = 1;
    static constexpr int kToneCount = 50;
    static constexpr int kFirstNormalDcs = 51;
    static constexpr int kFirstInvertedDcs = 156;
    static constexpr int kDcsCount = 105;

    ToneTable();

    int Count() const { return static_cast<int>(m_names.size()); }
    // The name at index i; empty for an index outside 0..260.
    const std::string& Name(int index) const;
    // Index of an exact name, or -1.
    int IndexOf(std::string_view name) const;
    const std::vector<std::string>& Names() const { return m_names; }

    // One table for the whole process, built on first use.
    static const ToneTable& Shared();

private:
    std::vector<std::string> m_names;
};

}  // namespace quorim

#include "ui/busy_state.h"

#include <algorithm>
#include <vector>

namespace quorim {

namespace {

// The live states, asked when the question comes (window thread only).
std::vector<const CBusyState*>& LiveStates() {
    static std::vector<const CBusyState*> states;
    return states;
}

}  // namespace

CBusyState::CBusyState() {
    LiveStates().push_back(this);
}

CBusyState::~CBusyState() {
    std::erase(LiveStates(), this);
}

bool CBusyState::AnyBusy() {
    const std::vector<const CBusyState*>& states = LiveStates();
    return std::any_of(states.begin(), states.end(), [](const CBusyState* s) { return s->IsBusy(); });
}

}  // namespace quorim

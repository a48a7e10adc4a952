#pragma once

namespace quorim {

// The busy state of one document (or of a window that writes to a radio on
// its own, the restore dialog): held by one run at a time, from its start
// button to its end. It is the only record of a running transfer; the
// program asks the live states whether any is held, and counts nothing.
class CBusyState {
public:
    CBusyState();
    ~CBusyState();
    CBusyState(const CBusyState&) = delete;
    CBusyState& operator=(const CBusyState&) = delete;

    bool IsBusy() const { return m_holder != nullptr; }
    // The run holding the state (nullptr: none): one window of a document
    // runs the transfer, its other windows may close.
    const void* Holder() const { return m_holder; }
    // A run takes the state (`holder` itself) and gives it back (nullptr).
    void SetHolder(const void* holder) { m_holder = holder; }

    // Some state of the program is held: one radio transfer runs at a time.
    static bool AnyBusy();

private:
    const void* m_holder = nullptr;
};

}  // namespace quorim

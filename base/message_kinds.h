#pragma once

namespace quorim {

// A message the core asks the user about: its buttons, and the one pressed.
enum class MessageButtons { Ok, RetryCancel };
enum class MessageAnswer { Ok, Retry, Cancel };

}  // namespace quorim

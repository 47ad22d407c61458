#pragma once

// A global switch so tests (and users who ask for reduced motion) get instant changes.
namespace Animations {
void setEnabled(bool enabled);
bool enabled();
} // namespace Animations

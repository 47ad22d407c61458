#pragma once

// The kit's icons and logo live in a resource file of a static library, which the linker would
// drop unless something refers to it.
namespace UiResources {
void ensure();
}

#include "ui/Animations.h"

namespace Animations {
namespace {
bool g_enabled = true;
}
void setEnabled(bool enabled)
{
    g_enabled = enabled;
}
bool enabled()
{
    return g_enabled;
}
} // namespace Animations

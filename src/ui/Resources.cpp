#include "ui/Resources.h"

#include <QtGlobal>

static void initUiResources()
{
    Q_INIT_RESOURCE(ui);
}

namespace UiResources {
void ensure()
{
    static const bool done = [] {
        initUiResources();
        return true;
    }();
    Q_UNUSED(done);
}
} // namespace UiResources

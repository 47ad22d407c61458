#include "model/PreferenceSignals.h"

PreferenceSignals* PreferenceSignals::instance()
{
    // Lives for the whole process, like the preferences themselves.
    static auto* signals_ = new PreferenceSignals;
    return signals_;
}

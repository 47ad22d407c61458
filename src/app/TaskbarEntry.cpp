#include "app/TaskbarEntry.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#if __has_include(<xcb/xcb.h>)
#include <dlfcn.h>
#include <xcb/xcb.h>
#define TB_HAVE_XCB 1
#endif

#ifdef TB_HAVE_XCB
namespace {
// libxcb is already loaded by Qt's xcb platform plugin; its functions are looked up there so the
// program does not link X11 libraries that a Wayland or offscreen session never needs.
struct Xcb
{
    decltype(&xcb_intern_atom) internAtom = nullptr;
    decltype(&xcb_intern_atom_reply) internAtomReply = nullptr;
    decltype(&xcb_get_property) getProperty = nullptr;
    decltype(&xcb_get_property_reply) getPropertyReply = nullptr;
    decltype(&xcb_get_property_value) propertyValue = nullptr;
    decltype(&xcb_get_property_value_length) propertyValueLength = nullptr;
    decltype(&xcb_change_property) changeProperty = nullptr;
    decltype(&xcb_send_event) sendEvent = nullptr;
    decltype(&xcb_get_setup) getSetup = nullptr;
    decltype(&xcb_setup_roots_iterator) rootsIterator = nullptr;
    decltype(&xcb_flush) flush = nullptr;
    bool ok = false;

    static const Xcb& get()
    {
        static const Xcb xcb = [] {
            Xcb x;
            void* lib = ::dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
            if (!lib)
                return x;
            auto load = [lib](auto& fn, const char* name) {
                fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(::dlsym(lib, name));
                return fn != nullptr;
            };
            x.ok = load(x.internAtom, "xcb_intern_atom") &&
                   load(x.internAtomReply, "xcb_intern_atom_reply") &&
                   load(x.getProperty, "xcb_get_property") &&
                   load(x.getPropertyReply, "xcb_get_property_reply") &&
                   load(x.propertyValue, "xcb_get_property_value") &&
                   load(x.propertyValueLength, "xcb_get_property_value_length") &&
                   load(x.changeProperty, "xcb_change_property") && load(x.sendEvent, "xcb_send_event") &&
                   load(x.getSetup, "xcb_get_setup") && load(x.rootsIterator, "xcb_setup_roots_iterator") &&
                   load(x.flush, "xcb_flush");
            return x;
        }();
        return xcb;
    }
};

xcb_connection_t* connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    const Xcb& x = Xcb::get();
    xcb_intern_atom_reply_t* reply =
        x.internAtomReply(c, x.internAtom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return a;
}

QVector<xcb_atom_t> stateAtoms(xcb_connection_t* c, xcb_window_t w, xcb_atom_t netWmState)
{
    const Xcb& x = Xcb::get();
    QVector<xcb_atom_t> atoms;
    xcb_get_property_reply_t* reply =
        x.getPropertyReply(c, x.getProperty(c, 0, w, netWmState, XCB_ATOM_ATOM, 0, 1024), nullptr);
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* data = static_cast<const xcb_atom_t*>(x.propertyValue(reply));
        const int n = x.propertyValueLength(reply) / int(sizeof(xcb_atom_t));
        atoms = QVector<xcb_atom_t>(data, data + n);
    }
    free(reply);
    return atoms;
}
} // namespace
#endif

namespace TaskbarEntry {

void setShown(QWidget* window, bool shown)
{
#ifdef TB_HAVE_XCB
    if (!window || !Xcb::get().ok)
        return;
    xcb_connection_t* c = connection();
    if (!c)
        return;
    const Xcb& x = Xcb::get();
    const auto w = xcb_window_t(window->winId());
    const xcb_atom_t netWmState = atom(c, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    const xcb_atom_t skipPager = atom(c, "_NET_WM_STATE_SKIP_PAGER");
    if (netWmState == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE)
        return;

    // An unmapped window carries the state into its next mapping (Qt merges it with its own)...
    QVector<xcb_atom_t> atoms = stateAtoms(c, w, netWmState);
    atoms.removeAll(skipTaskbar);
    atoms.removeAll(skipPager);
    if (!shown)
        atoms << skipTaskbar << skipPager;
    x.changeProperty(c, XCB_PROP_MODE_REPLACE, w, netWmState, XCB_ATOM_ATOM, 32, uint32_t(atoms.size()),
                     atoms.constData());

    // ...while a mapped one has to ask the window manager.
    if (window->isVisible()) {
        xcb_client_message_event_t event = {};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = w;
        event.type = netWmState;
        event.data.data32[0] = shown ? 0 : 1; // remove / add
        event.data.data32[1] = skipTaskbar;
        event.data.data32[2] = skipPager;
        event.data.data32[3] = 1; // a normal application
        const xcb_window_t root = x.rootsIterator(x.getSetup(c)).data->root;
        x.sendEvent(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                    reinterpret_cast<const char*>(&event));
    }
    x.flush(c);
#else
    Q_UNUSED(window);
    Q_UNUSED(shown);
#endif
}

bool isShown(QWidget* window)
{
#ifdef TB_HAVE_XCB
    if (!window || !Xcb::get().ok || !window->testAttribute(Qt::WA_WState_Created))
        return true;
    xcb_connection_t* c = connection();
    if (!c)
        return true;
    const xcb_atom_t netWmState = atom(c, "_NET_WM_STATE");
    return !stateAtoms(c, xcb_window_t(window->winId()), netWmState)
                .contains(atom(c, "_NET_WM_STATE_SKIP_TASKBAR"));
#else
    Q_UNUSED(window);
    return true;
#endif
}

} // namespace TaskbarEntry

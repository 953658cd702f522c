#include "app/view/frame_extents.h"

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QScreen>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <thread>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace si32 {

#if QT_CONFIG(xcb)
namespace {

// A window manager answers within a few of its event-loop turns; one that
// says it supports the request but never answers costs no more than this.
constexpr auto kAnswerWithin = std::chrono::milliseconds(300);
constexpr auto kPollEvery = std::chrono::milliseconds(5);

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* c, std::string_view name) {
    const Owned<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.data()), nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

bool managerSupports(xcb_connection_t* c, xcb_window_t root, xcb_atom_t wanted) {
    const Owned<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 4096),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 32) return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < count; ++i)
        if (atoms[i] == wanted) return true;
    return false;
}

// An unmapped window with the hints Qt gives a fixed dialog: a normal
// window with title, border and window menu, movable and closable, its
// size fixed (which spares it the resize handle).
xcb_window_t makeProbe(xcb_connection_t* c, const xcb_screen_t& screen, QSize client) {
    const xcb_window_t probe = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, screen.root, 0, 0, static_cast<uint16_t>(client.width()),
                      static_cast<uint16_t>(client.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen.root_visual, 0,
                      nullptr);
    const xcb_atom_t normal = atom(c, "_NET_WM_WINDOW_TYPE_NORMAL");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, probe, atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1, &normal);
    // flags (functions, decorations), functions (move, close), decorations
    // (border, title, menu), input mode, status.
    const std::array<uint32_t, 5> motif = {3, 4 | 32, 2 | 8 | 16, 0, 0};
    const xcb_atom_t motifAtom = atom(c, "_MOTIF_WM_HINTS");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, probe, motifAtom, motifAtom, 32, motif.size(), motif.data());
    // WM_NORMAL_HINTS: flags PMinSize | PMaxSize, then the ICCCM fields.
    std::array<uint32_t, 18> hints{};
    hints[0] = 16 | 32;
    hints[5] = hints[7] = static_cast<uint32_t>(client.width());
    hints[6] = hints[8] = static_cast<uint32_t>(client.height());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, probe, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32,
                        hints.size(), hints.data());
    return probe;
}

std::optional<std::array<uint32_t, 4>> readExtents(xcb_connection_t* c, xcb_window_t window, xcb_atom_t extents) {
    const Owned<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16) return std::nullopt;
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return std::array<uint32_t, 4>{values[0], values[1], values[2], values[3]};
}

std::optional<QMargins> askOver(xcb_connection_t* c, QSize client, double ratio) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (screen == nullptr) return std::nullopt;
    const xcb_atom_t request = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    if (!managerSupports(c, screen->root, request)) return std::nullopt;
    const xcb_window_t probe = makeProbe(c, *screen, client);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = probe;
    message.type = request;
    xcb_send_event(c, 0, screen->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
    const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
    std::optional<std::array<uint32_t, 4>> answer;
    for (const auto until = std::chrono::steady_clock::now() + kAnswerWithin;
         !(answer = readExtents(c, probe, extents)) && std::chrono::steady_clock::now() < until;)
        std::this_thread::sleep_for(kPollEvery);
    xcb_destroy_window(c, probe);
    xcb_flush(c);
    if (!answer) return std::nullopt;
    const auto qt = [ratio](uint32_t device) { return static_cast<int>(std::lround(device / ratio)); };
    // left, right, top, bottom
    return QMargins(qt((*answer)[0]), qt((*answer)[2]), qt((*answer)[1]), qt((*answer)[3]));
}

}  // namespace

std::optional<QMargins> askFrameExtents(QSize client) {
    const auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) return std::nullopt;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double ratio = screen != nullptr && screen->devicePixelRatio() > 0 ? screen->devicePixelRatio() : 1;
    const QSize device(static_cast<int>(std::lround(client.width() * ratio)),
                       static_cast<int>(std::lround(client.height() * ratio)));
    return askOver(x11->connection(), device.expandedTo(QSize(1, 1)), ratio);
}
#else
std::optional<QMargins> askFrameExtents(QSize) { return std::nullopt; }
#endif

}  // namespace si32

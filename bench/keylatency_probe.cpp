// Key-to-screen latency of one X window, as the X server sees it: every key press on the display
// (an XInput 2 raw event, whoever sends it) is matched with the first damage the watched window
// reports after it. Both are timed when they reach this client, on one connection, so the
// difference is the time the program took from the key to the drawing that answers it.
//
//   keylatency_probe <window id> <keys> [seconds]
//
// Prints "ready" once it listens, then, after <keys> presses (or the time limit), one latency
// in microseconds per key on standard output. A key the window never answered before the
// limit is printed as the time from the key to the limit.
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

long long micros(Clock::duration d) {
    return std::chrono::duration_cast<std::chrono::microseconds>(d).count();
}

int fail(const char* what) {
    std::fprintf(stderr, "keylatency_probe: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return fail("usage: keylatency_probe <window id> <keys> [seconds]");
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    const long wanted = std::strtol(argv[2], nullptr, 10);
    const double seconds = argc > 3 ? std::strtod(argv[3], nullptr) : 120.0;
    if (window == 0 || wanted <= 0 || seconds <= 0) return fail("bad window id, key count or time limit");

    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) return fail("cannot open the display");
    const xcb_setup_t* setup = xcb_get_setup(c);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;

    const xcb_query_extension_reply_t* damageExt = xcb_get_extension_data(c, &xcb_damage_id);
    const xcb_query_extension_reply_t* inputExt = xcb_get_extension_data(c, &xcb_input_id);
    if (!damageExt || !damageExt->present) return fail("the display has no DAMAGE extension");
    if (!inputExt || !inputExt->present) return fail("the display has no XInputExtension");
    Reply<xcb_damage_query_version_reply_t> damageVersion(
        xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    Reply<xcb_input_xi_query_version_reply_t> inputVersion(
        xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 0), nullptr));
    if (!damageVersion || !inputVersion || inputVersion->major_version < 2)
        return fail("DAMAGE 1.1 and XInput 2 are needed");

    // Every drawing on the window reports its rectangle; nothing has to be acknowledged.
    const xcb_damage_damage_t damage = xcb_generate_id(c);
    xcb_void_cookie_t created =
        xcb_damage_create_checked(c, damage, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    if (Reply<xcb_generic_error_t> error{xcb_request_check(c, created)}) return fail("no such window");

    struct {
        xcb_input_event_mask_t head;
        uint32_t mask;
    } rawKeys = {{XCB_INPUT_DEVICE_ALL_MASTER, 1}, XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS};
    xcb_void_cookie_t selected = xcb_input_xi_select_events_checked(c, root, 1, &rawKeys.head);
    if (Reply<xcb_generic_error_t> error{xcb_request_check(c, selected)}) return fail("cannot watch the keys");
    std::printf("ready\n");
    std::fflush(stdout);

    std::vector<Clock::time_point> pressed;
    std::vector<long long> latency; // -1 while the key waits for its drawing
    size_t firstOpen = 0;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::microseconds(static_cast<long long>(seconds * 1e6));
    const uint8_t damageNotify = damageExt->first_event + XCB_DAMAGE_NOTIFY;
    while (Clock::now() < deadline && !(long(pressed.size()) >= wanted && firstOpen == pressed.size())) {
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&fd, 1, 50);
        while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(c)}) {
            const Clock::time_point now = Clock::now();
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_GE_GENERIC) {
                auto* generic = reinterpret_cast<xcb_ge_generic_event_t*>(event.get());
                if (generic->extension == inputExt->major_opcode &&
                    generic->event_type == XCB_INPUT_RAW_KEY_PRESS && long(pressed.size()) < wanted) {
                    pressed.push_back(now);
                    latency.push_back(-1);
                }
            } else if (type == damageNotify) {
                for (; firstOpen < pressed.size(); ++firstOpen)
                    latency[firstOpen] = micros(now - pressed[firstOpen]);
            }
        }
        if (xcb_connection_has_error(c)) return fail("the display connection broke");
    }
    const Clock::time_point end = Clock::now();
    if (pressed.size() > 1)
        std::fprintf(stderr, "%zu keys in %.1f s\n", pressed.size(),
                     double(micros(pressed.back() - pressed.front())) / 1e6);
    for (size_t i = 0; i < pressed.size(); ++i)
        std::printf("%lld\n", latency[i] >= 0 ? latency[i] : micros(end - pressed[i]));
    xcb_damage_destroy(c, damage);
    xcb_disconnect(c);
    return long(pressed.size()) == wanted ? 0 : fail("fewer keys arrived than expected");
}

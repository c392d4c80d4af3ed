// A pointer for tests in a compositor that has none (headless sway): a
// wlroots virtual pointer that moves, presses and releases as told.
// Usage: pellix_wl_pointer LEFT TOP WIDTH HEIGHT STEP...
// LEFT TOP WIDTH HEIGHT: the output layout's bounding box; steps:
// m:X,Y (move to layout coordinates), d (press left), u (release), s:MS (wait).
#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

// The protocol's two interfaces, written out: this system ships no XML for
// wlr-virtual-pointer-unstable-v1, only the compositor that speaks it.
extern const struct wl_interface zwlr_virtual_pointer_v1_interface;
static const struct wl_interface* create_types[] = {&wl_seat_interface,
                                                    &zwlr_virtual_pointer_v1_interface};
static const struct wl_message manager_requests[] = {
    {"create_virtual_pointer", "?on", create_types},
    {"destroy", "", nullptr},
};
static const struct wl_interface manager_interface = {
    "zwlr_virtual_pointer_manager_v1", 1, 2, manager_requests, 0, nullptr};
static const struct wl_interface* none[5] = {};
static const struct wl_message pointer_requests[] = {
    {"motion", "uff", none},   {"motion_absolute", "uuuuu", none},
    {"button", "uuu", none},   {"axis", "uuf", none},
    {"frame", "", none},       {"axis_source", "u", none},
    {"axis_stop", "uu", none}, {"axis_discrete", "uufi", none},
    {"destroy", "", none},
};
const struct wl_interface zwlr_virtual_pointer_v1_interface = {
    "zwlr_virtual_pointer_v1", 1, 9, pointer_requests, 0, nullptr};

enum { MOTION_ABSOLUTE = 1, BUTTON = 2, FRAME = 4, DESTROY = 8 };
enum { BTN_LEFT = 0x110 };

static struct wl_proxy* manager = nullptr;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, manager_interface.name) == 0) {
        manager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &manager_interface, 1));
    }
}
static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}
static const struct wl_registry_listener listener = {global, global_remove};

static uint32_t now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint32_t)(ts.tv_sec * 1000 + ts.tv_nsec / 1000000);
}

static void wait_ms(long ms) {
    struct timespec ts = {ms / 1000, (ms % 1000) * 1000000};
    nanosleep(&ts, nullptr);
}

int main(int argc, char* argv[]) {
    if (argc < 5) {
        fputs("usage: pellix_wl_pointer LEFT TOP WIDTH HEIGHT STEP...\n", stderr);
        return 2;
    }
    const long left = strtol(argv[1], nullptr, 10), top = strtol(argv[2], nullptr, 10);
    const long width = strtol(argv[3], nullptr, 10), height = strtol(argv[4], nullptr, 10);
    struct wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        fputs("pellix_wl_pointer: no Wayland display\n", stderr);
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, nullptr);
    wl_display_roundtrip(display);
    if (!manager) {
        fputs("pellix_wl_pointer: the compositor offers no virtual pointer\n", stderr);
        return 1;
    }
    struct wl_proxy* pointer = wl_proxy_marshal_constructor(
        manager, 0, &zwlr_virtual_pointer_v1_interface, nullptr, nullptr);
    wl_display_roundtrip(display);
    wait_ms(300); // for clients to learn that the seat has a pointer now
    for (int i = 5; i < argc; ++i) {
        const char* step = argv[i];
        if (step[0] == 'm') {
            long x = 0, y = 0;
            sscanf(step, "m:%ld,%ld", &x, &y);
            wl_proxy_marshal(pointer, MOTION_ABSOLUTE, now_ms(), (uint32_t)(x - left),
                             (uint32_t)(y - top), (uint32_t)width, (uint32_t)height);
        } else if (step[0] == 'd' || step[0] == 'u') {
            wl_proxy_marshal(pointer, BUTTON, now_ms(), BTN_LEFT, step[0] == 'd' ? 1u : 0u);
        } else if (step[0] == 's') {
            wait_ms(strtol(step + 2, nullptr, 10));
            continue;
        }
        wl_proxy_marshal(pointer, FRAME);
        wl_display_roundtrip(display);
        wait_ms(50);
    }
    wl_proxy_marshal(pointer, DESTROY);
    wl_proxy_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}

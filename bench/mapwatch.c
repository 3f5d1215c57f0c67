/* mapwatch DISPLAY: prints "MAP <microseconds since the epoch>" for every window mapped as a child
 * of the root window of DISPLAY, at the moment the X server reports it. bench/maptime.sh starts it
 * beside the program it measures. */
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <xcb/xcb.h>

int main(int argc, char** argv)
{
    xcb_connection_t* c = xcb_connect(argc > 1 ? argv[1] : NULL, NULL);
    if (xcb_connection_has_error(c))
        return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    printf("ready\n");
    fflush(stdout);
    xcb_generic_event_t* e;
    while ((e = xcb_wait_for_event(c))) {
        if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            struct timespec t;
            clock_gettime(CLOCK_REALTIME, &t);
            printf("MAP %lld\n", (long long)t.tv_sec * 1000000LL + t.tv_nsec / 1000);
            fflush(stdout);
        }
        free(e);
    }
    return 0;
}

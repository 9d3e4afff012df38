/* Asks a top-level window to close, as a window manager's close button does:
 * a WM_DELETE_WINDOW message. Waits up to the given seconds for the window
 * (matched by its exact title) to appear, and prints its size first.
 * Usage: xclose SECONDS TITLE */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static Window find_window(Display *display, const char *title)
{
    Atom net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Window root_return, parent_return, *children = NULL, found = 0;
    unsigned int count = 0;

    if (!XQueryTree(display, DefaultRootWindow(display), &root_return, &parent_return, &children,
                    &count))
        return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char *name = NULL;
        if (XGetWindowProperty(display, children[i], net_wm_name, 0, 1024, False, utf8, &type,
                               &format, &items, &after, &name)
                == Success
            && name) {
            if (strcmp((const char *)name, title) == 0) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(display, children[i], &attributes)
                    && attributes.map_state == IsViewable)
                    found = children[i];
            }
            XFree(name);
        }
    }
    if (children)
        XFree(children);
    return found;
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: xclose SECONDS TITLE\n");
        return 2;
    }
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xclose: cannot open the display\n");
        return 2;
    }

    Window window = 0;
    for (int tries = atoi(argv[1]) * 10; tries >= 0 && !window; --tries) {
        window = find_window(display, argv[2]);
        if (!window)
            usleep(100000);
    }
    if (!window) {
        fprintf(stderr, "xclose: no window titled \"%s\"\n", argv[2]);
        return 1;
    }

    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    printf("%d %d\n", attributes.width, attributes.height);
    fflush(stdout);

    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return 0;
}

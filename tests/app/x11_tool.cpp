// What the end-to-end test needs of X beyond xdotool, which cannot ask a
// window to close (it only destroys it) nor read a selection:
//   x11_tool close WINDOW_ID     the window manager's close request
//                                (WM_DELETE_WINDOW), so the program decides
//   x11_tool selection NAME      prints the CLIPBOARD or PRIMARY text

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace {

int close_window(Display* display, const char* text)
{
    unsigned long id = 0;
    const char* end = text + std::strlen(text);
    if (std::from_chars(text, end, id).ptr != end) return 2;
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = id;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(display, id, False, NoEventMask, &event);
    XSync(display, False);
    return sent ? 0 : 1;
}

int print_selection(Display* display, const char* name)
{
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    Atom selection = XInternAtom(display, name, False);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom property = XInternAtom(display, "X11_TOOL_SELECTION", False);
    XConvertSelection(display, selection, utf8, property, window, CurrentTime);
    XFlush(display);
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < until) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != SelectionNotify) continue;
            if (event.xselection.property == None) return 1;
            Atom type = None;
            int format = 0;
            unsigned long count = 0;
            unsigned long after = 0;
            unsigned char* data = nullptr;
            XGetWindowProperty(display, window, property, 0, 1 << 24, False, AnyPropertyType, &type, &format, &count,
                               &after, &data);
            if (data) {
                std::fwrite(data, 1, count, stdout);
                XFree(data);
            }
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: x11_tool close WINDOW_ID | x11_tool selection CLIPBOARD|PRIMARY\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    const std::string command = argv[1];
    int status = 2;
    if (command == "close") status = close_window(display, argv[2]);
    if (command == "selection") status = print_selection(display, argv[2]);
    XCloseDisplay(display);
    return status;
}

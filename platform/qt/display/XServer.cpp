#include "platform/qt/display/XServer.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace display::x {

namespace {

Display* D(void* display) { return static_cast<Display*>(display); }

// The shift of a colour mask's lowest bit.
int ShiftOf(unsigned long mask) {
    int s = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++s;
    }
    return s;
}

}  // namespace

void* Open(bool& extension) {
    extension = false;
    Display* d = XOpenDisplay(nullptr);
    if (!d) return nullptr;
    int event = 0, error = 0, major = 0, minor = 0;
    extension = XTestQueryExtension(d, &event, &error, &major, &minor) != 0;
    return d;
}

void Close(void* display) {
    if (display) XCloseDisplay(D(display));
}

void Move(void* display, int x, int y) {
    XTestFakeMotionEvent(D(display), -1, x, y, CurrentTime);
    XSync(D(display), False);
}

void Button(void* display, int button, bool down) {
    XTestFakeButtonEvent(D(display), static_cast<unsigned>(button), down ? True : False, CurrentTime);
    XSync(D(display), False);
}

bool Key(void* display, const std::string& name, bool down) {
    KeySym sym = XStringToKeysym(name.c_str());
    if (sym == NoSymbol) return false;
    KeyCode code = XKeysymToKeycode(D(display), sym);
    if (!code) return false;
    XTestFakeKeyEvent(D(display), code, down ? True : False, CurrentTime);
    XSync(D(display), False);
    return true;
}

void Sync(void* display) { XSync(D(display), False); }

std::vector<int32_t> Grab(void* display, int x, int y, int width, int height) {
    Display* d = D(display);
    int sw = DisplayWidth(d, DefaultScreen(d)), sh = DisplayHeight(d, DefaultScreen(d));
    if (width <= 0 || height <= 0 || x < 0 || y < 0 || x + width > sw || y + height > sh) return {};
    XImage* img = XGetImage(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!img) return {};
    int rs = ShiftOf(img->red_mask), gs = ShiftOf(img->green_mask), bs = ShiftOf(img->blue_mask);
    std::vector<int32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) {
            unsigned long p = XGetPixel(img, col, row);
            auto r = static_cast<int32_t>((p & img->red_mask) >> rs), g = static_cast<int32_t>((p & img->green_mask) >> gs),
                 b = static_cast<int32_t>((p & img->blue_mask) >> bs);
            pixels[static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(col)] = r | (g << 8) | (b << 16);
        }
    XDestroyImage(img);
    return pixels;
}

void ScreenSize(void* display, int& width, int& height) {
    Display* d = D(display);
    width = DisplayWidth(d, DefaultScreen(d));
    height = DisplayHeight(d, DefaultScreen(d));
}

bool WindowRect(void* display, unsigned long window, int& x, int& y, int& width, int& height) {
    Display* d = D(display);
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, window, &a) || a.map_state != IsViewable) return false;
    Window child = 0;
    if (!XTranslateCoordinates(d, window, DefaultRootWindow(d), 0, 0, &x, &y, &child)) return false;
    width = a.width;
    height = a.height;
    return true;
}

bool WindowManager(void* display) {
    Display* d = D(display);
    Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
                 type == XA_WINDOW && count == 1;
    if (data) XFree(data);
    return found;
}

bool WindowManagerFrames(void* display, int ms) {
    Display* d = D(display);
    Window root = DefaultRootWindow(d);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    // A window mapped while the manager starts may be lost to it: a new one every half second.
    while (std::chrono::steady_clock::now() < deadline) {
        Window probe = XCreateSimpleWindow(d, root, 0, 0, 16, 16, 0, 0, 0);
        XMapWindow(d, probe);
        XSync(d, False);
        bool framed = false;
        auto retry = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        while (!framed && std::chrono::steady_clock::now() < std::min(retry, deadline)) {
            Window r = 0, parent = 0, *children = nullptr;
            unsigned count = 0;
            if (XQueryTree(d, probe, &r, &parent, &children, &count)) {
                if (children) XFree(children);
                XWindowAttributes a;
                framed = parent != root && XGetWindowAttributes(d, probe, &a) && a.map_state == IsViewable;
            }
            if (!framed) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        XDestroyWindow(d, probe);
        XSync(d, False);
        if (framed) return true;
    }
    return false;
}

}  // namespace display::x

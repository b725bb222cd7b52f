// Waits on the X server for a top-level window whose title starts with the given
// text to be mapped, then prints the wall clock of that moment (CLOCK_REALTIME, ns)
// and the window's id. It prints "listening" first, once it watches the server, so a
// script can start the program to measure only then. Being told by the server costs
// the measured program nothing, unlike polling with a new process every few
// milliseconds on a machine with two processors.
//   window_shown TITLE-PREFIX     (ends with status 1 after 60 s without such a window)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace {

std::string titleOf(Display* display, Window window) {
  Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), 0, 1024, False, utf8, &type,
                         &format, &count, &after, &data) == Success &&
      data != nullptr) {
    title.assign(reinterpret_cast<char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  char* name = nullptr;
  if (title.empty() && XFetchName(display, window, &name) && name != nullptr) title = name;
  if (name != nullptr) XFree(name);
  return title;
}

// A window may be gone by the time it is asked about; that is no error here.
int ignoreError(Display*, XErrorEvent*) { return 0; }

long long nowNs() {
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: window_shown TITLE-PREFIX\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    fprintf(stderr, "window_shown: no display\n");
    return 1;
  }
  XSetErrorHandler(ignoreError);
  const std::string prefix = argv[1];
  alarm(60);
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);
  printf("listening\n");
  fflush(stdout);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    const long long at = nowNs();
    Window window = 0;
    if (event.type == MapNotify) {
      window = event.xmap.window;
      // A title set after the map is seen through the window's own property changes.
      XSelectInput(display, window, PropertyChangeMask);
    } else if (event.type == PropertyNotify) {
      XWindowAttributes attributes;
      window = event.xproperty.window;
      if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) continue;
    } else {
      continue;
    }
    if (titleOf(display, window).compare(0, prefix.size(), prefix) != 0) continue;
    printf("%lld %lu\n", at, window);
    fflush(stdout);
    XCloseDisplay(display);
    return 0;
  }
}

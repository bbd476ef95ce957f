"""Drops files on an X window the way a file manager does (the XDND protocol, as its source),
through libX11 alone. Wine takes such a drop from the X side and hands the Windows program
a real drop handle.

    drop_files(x_window, [unix paths], x, y)   x, y relative to the window's top-left corner
"""
import ctypes
import ctypes.util
import time
import urllib.parse

_CLIENT_MESSAGE = 33
_SELECTION_REQUEST = 30
_SELECTION_NOTIFY = 31
_PROP_MODE_REPLACE = 0
_XDND_VERSION = 5


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class _SelectionRequest(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", ctypes.c_ulong), ("requestor", ctypes.c_ulong),
                ("selection", ctypes.c_ulong), ("target", ctypes.c_ulong), ("property", ctypes.c_ulong),
                ("time", ctypes.c_ulong)]


class _SelectionNotify(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", ctypes.c_ulong), ("selection", ctypes.c_ulong),
                ("target", ctypes.c_ulong), ("property", ctypes.c_ulong), ("time", ctypes.c_ulong)]


class _Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", _ClientMessage), ("request", _SelectionRequest),
                ("notify", _SelectionNotify), ("pad", ctypes.c_long * 24)]


def _xlib():
    lib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    lib.XOpenDisplay.restype = ctypes.c_void_p
    lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    lib.XDefaultRootWindow.restype = ctypes.c_ulong
    lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    lib.XCreateSimpleWindow.restype = ctypes.c_ulong
    lib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                        ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
    lib.XInternAtom.restype = ctypes.c_ulong
    lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    lib.XSetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
    lib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    lib.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                    ctypes.c_int, ctypes.c_char_p, ctypes.c_int]
    lib.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                          ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                          ctypes.POINTER(ctypes.c_ulong)]
    lib.XPending.argtypes = [ctypes.c_void_p]
    lib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
    lib.XFlush.argtypes = [ctypes.c_void_p]
    lib.XDestroyWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return lib


def uri_list(paths):
    """The text/uri-list a file manager offers for these files."""
    return "".join("file://" + urllib.parse.quote(p) + "\r\n" for p in paths).encode()


def drop_files(target, paths, x, y, timeout=10.0):
    """Drags paths from a private source window onto X window `target` at (x, y) and drops
    them. Answers True when the target said it finished with the drop."""
    x11 = _xlib()
    display = x11.XOpenDisplay(None)
    if not display:
        raise RuntimeError("cannot open the X display")
    try:
        atom = lambda name: x11.XInternAtom(display, name.encode(), 0)
        root = x11.XDefaultRootWindow(display)
        source = x11.XCreateSimpleWindow(display, root, -10, -10, 1, 1, 0, 0, 0)
        selection, uri_type = atom("XdndSelection"), atom("text/uri-list")
        x11.XSetSelectionOwner(display, selection, source, 0)
        rx, ry, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
        x11.XTranslateCoordinates(display, target, root, x, y, ctypes.byref(rx), ctypes.byref(ry), ctypes.byref(child))
        data = uri_list(paths)

        def send(name, *values):
            event = _Event()
            event.client.type = _CLIENT_MESSAGE
            event.client.window = target
            event.client.message_type = atom(name)
            event.client.format = 32
            for i, v in enumerate(values):
                event.client.l[i] = v
            x11.XSendEvent(display, target, 0, 0, ctypes.byref(event))
            x11.XFlush(display)

        def pump(until, seconds):
            """Answers the target's requests for the data until until(message name) is true."""
            end = time.time() + seconds
            while time.time() < end:
                while x11.XPending(display):
                    event = _Event()
                    x11.XNextEvent(display, ctypes.byref(event))
                    if event.type == _SELECTION_REQUEST:
                        request = event.request
                        reply = _Event()
                        reply.notify.type = _SELECTION_NOTIFY
                        reply.notify.requestor = request.requestor
                        reply.notify.selection = request.selection
                        reply.notify.target = request.target
                        reply.notify.time = request.time
                        reply.notify.property = 0
                        if request.target == uri_type and request.property:
                            x11.XChangeProperty(display, request.requestor, request.property, uri_type, 8,
                                                _PROP_MODE_REPLACE, data, len(data))
                            reply.notify.property = request.property
                        x11.XSendEvent(display, request.requestor, 0, 0, ctypes.byref(reply))
                        x11.XFlush(display)
                    elif event.type == _CLIENT_MESSAGE and until(event.client.message_type, event.client.l):
                        return True
                time.sleep(0.01)
            return False

        send("XdndEnter", source, _XDND_VERSION << 24, uri_type, 0, 0)
        pump(lambda kind, l: False, 0.5)
        send("XdndPosition", source, 0, (rx.value << 16) | ry.value, 0, atom("XdndActionCopy"))
        accepted = []
        pump(lambda kind, l: kind == atom("XdndStatus") and not accepted.append(l[1] & 1), 5)
        if not accepted or not accepted[0]:
            send("XdndLeave", source, 0)
            return False
        send("XdndDrop", source, 0, 0)
        finished = pump(lambda kind, l: kind == atom("XdndFinished"), timeout)
        x11.XDestroyWindow(display, source)
        return finished
    finally:
        x11.XCloseDisplay(display)

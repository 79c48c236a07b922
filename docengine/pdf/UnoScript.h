#pragma once
// The client that has the warm LibreOffice render documents. It is Python because
// LibreOffice's UNO bridge ships for Python in Debian (python3-uno), and UNO is LibreOffice's
// documented remote interface; it runs with -c, so there is no file to install or find.
//
//   python3 -c SCRIPT PIPE SOURCE_URL TARGET_URL CONNECT_SECONDS
//       renders one document and exits with its status.
//   python3 -c SCRIPT --serve PIPE SOCKET CONNECT_SECONDS LOCK
//       stays connected and renders one document per connection to the Unix socket SOCKET
//       (a path relative to its working folder), listening from the first moment the render
//       lock LOCK is free: the request is the source and target URLs,
//       each ending in a newline; the answer one digit, the status below. Started by the
//       watchdog beside the instance, it spares every document the interpreter's start, the
//       UNO import and the bridge's set-up.
//
// It leaves through os._exit: the bridge can crash the interpreter while it is torn down,
// after the PDF is already stored.
//
// Status: 0 rendered; 2 no UNO module; 3 no instance answered on PIPE in time; 4 the document
// did not load; 5 the PDF was not stored; 6 the instance went away meanwhile.

namespace tavrino::docs {

inline constexpr int kUnoMissing = 2;
inline constexpr int kUnoNoInstance = 3;
inline constexpr int kUnoLoadFailed = 4;
inline constexpr int kUnoStoreFailed = 5;
inline constexpr int kUnoInstanceLost = 6;

inline constexpr const char* kUnoScript = R"PY(
import os, sys, time
if sys.argv[1] == "--serve":
    # Started with the instance, whose first document is already on its way through a client
    # of its own: that render has the machine to itself, and the service sets itself up in
    # the first moment no render holds the lock on the instance.
    import fcntl
    lock = os.open(sys.argv[5], os.O_RDWR)
    while True:
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            break
        except BlockingIOError:
            time.sleep(0.01)
    fcntl.flock(lock, fcntl.LOCK_UN)
    os.close(lock)
try:
    import uno
    from com.sun.star.beans import PropertyValue
    from com.sun.star.connection import NoConnectException
    from com.sun.star.lang import DisposedException
    from com.sun.star.uno import RuntimeException
except ImportError:
    sys.exit(2)

def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p

def connect(pipe, wait):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    deadline = time.monotonic() + wait
    while True:
        try:
            context = resolver.resolve(
                "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
            break
        except NoConnectException:
            if time.monotonic() > deadline:
                return None
            # A refused connect costs next to nothing; a long pause here is paid by every
            # cold start after LibreOffice's pipe is up.
            time.sleep(0.002)
    return context.ServiceManager.createInstanceWithContext(
        "com.sun.star.frame.Desktop", context)

# Raises DisposedException or RuntimeException when the instance goes away.
def render(desktop, source, target):
    try:
        document = desktop.loadComponentFromURL(
            source, "_blank", 0, (prop("Hidden", True), prop("ReadOnly", True)))
    except (DisposedException, RuntimeException):
        raise
    except Exception:
        return 4
    if document is None:
        return 4
    stored = True
    try:
        document.storeToURL(target, (prop("FilterName", "writer_pdf_Export"),))
    except (DisposedException, RuntimeException):
        raise
    except Exception:
        stored = False
    finally:
        try:
            document.close(True)
        except Exception:
            pass
    return 0 if stored else 5

def serve(pipe, path, wait):
    import socket
    try:
        os.unlink(path)
    except OSError:
        pass
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    server.bind(path)
    server.listen(8)
    # Connected before the first request arrives, which then finds the bridge set up.
    try:
        desktop = connect(pipe, wait)
    except Exception:
        desktop = None
    while True:
        connection, _ = server.accept()
        try:
            connection.settimeout(5)
            request = b""
            while request.count(b"\n") < 2:
                chunk = connection.recv(65536)
                if not chunk:
                    break
                request += chunk
            lines = request.decode("utf-8").split("\n")
            if len(lines) < 3:
                continue
            # A connection made earlier may be to an instance that has since restarted itself
            # (it does on a new profile): the document then gets a second try on a new one.
            for attempt in (1, 2):
                fresh = desktop is None
                try:
                    if fresh:
                        desktop = connect(pipe, wait)
                    status = 3 if desktop is None else render(desktop, lines[0], lines[1])
                    break
                except (DisposedException, RuntimeException):
                    desktop = None
                    status = 6
                    if fresh:
                        break
            connection.sendall(b"%d" % status)
        except (OSError, UnicodeDecodeError):
            pass
        finally:
            connection.close()

if sys.argv[1] == "--serve":
    try:
        serve(sys.argv[2], sys.argv[3], float(sys.argv[4]))
    except Exception:
        pass
    os._exit(1)

try:
    desktop = connect(sys.argv[1], float(sys.argv[4]))
    if desktop is None:
        os._exit(3)
    status = render(desktop, sys.argv[2], sys.argv[3])
except (DisposedException, RuntimeException):
    status = 6
os._exit(status)
)PY";

}  // namespace tavrino::docs

#pragma once
// The client that has the warm LibreOffice render one document. It is Python because
// LibreOffice's UNO bridge ships for Python in Debian (python3-uno), and UNO is LibreOffice's
// documented remote interface; it runs with -c, so there is no file to install or find.
//
//   python3 -c SCRIPT PIPE SOURCE_URL TARGET_URL CONNECT_SECONDS
//
// It leaves through os._exit: the bridge can crash the interpreter while it is torn down,
// after the PDF is already stored.
//
// Exit status: 0 rendered; 2 no UNO module; 3 no instance answered on PIPE in time; 4 the
// document did not load; 5 the PDF was not stored; 6 the instance went away meanwhile.

namespace tavrino::docs {

inline constexpr int kUnoMissing = 2;
inline constexpr int kUnoNoInstance = 3;
inline constexpr int kUnoLoadFailed = 4;
inline constexpr int kUnoStoreFailed = 5;
inline constexpr int kUnoInstanceLost = 6;

inline constexpr const char* kUnoScript = R"PY(
import os, sys, time
try:
    import uno
    from com.sun.star.beans import PropertyValue
    from com.sun.star.connection import NoConnectException
    from com.sun.star.lang import DisposedException
    from com.sun.star.uno import RuntimeException
except ImportError:
    sys.exit(2)

pipe, source, target, wait = sys.argv[1], sys.argv[2], sys.argv[3], float(sys.argv[4])

def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p

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
            os._exit(3)
        time.sleep(0.01)

try:
    desktop = context.ServiceManager.createInstanceWithContext(
        "com.sun.star.frame.Desktop", context)
    try:
        document = desktop.loadComponentFromURL(
            source, "_blank", 0, (prop("Hidden", True), prop("ReadOnly", True)))
    except (DisposedException, RuntimeException):
        raise
    except Exception:
        os._exit(4)
    if document is None:
        os._exit(4)
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
    if not stored:
        os._exit(5)
except (DisposedException, RuntimeException):
    os._exit(6)
os._exit(0)
)PY";

}  // namespace tavrino::docs

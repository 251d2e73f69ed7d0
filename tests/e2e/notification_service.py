# A desktop notification service on the session bus for the tests: writes
# the body of each notification it gets to the file named first, one line
# each, and ends after the seconds given second. Usage: FILE SECONDS
import sys

from gi.repository import Gio, GLib

INTERFACE = """<node><interface name="org.freedesktop.Notifications">
<method name="Notify"><arg type="s" direction="in"/><arg type="u" direction="in"/>
<arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="s" direction="in"/>
<arg type="as" direction="in"/><arg type="a{sv}" direction="in"/><arg type="i" direction="in"/>
<arg type="u" direction="out"/></method></interface></node>"""


def call(_connection, _sender, _path, _interface, method, parameters, invocation):
    if method == "Notify":
        with open(sys.argv[1], "a", encoding="utf-8") as out:
            out.write(parameters.unpack()[4] + "\n")
    invocation.return_value(GLib.Variant("(u)", (1,)))


def acquired(connection, _name):
    node = Gio.DBusNodeInfo.new_for_xml(INTERFACE)
    connection.register_object("/org/freedesktop/Notifications", node.interfaces[0], call, None, None)


loop = GLib.MainLoop()
Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.Notifications", Gio.BusNameOwnerFlags.NONE,
                 acquired, lambda *_: open(sys.argv[1] + ".ready", "w").close(), lambda *_: loop.quit())
GLib.timeout_add_seconds(int(sys.argv[2]), loop.quit)
loop.run()

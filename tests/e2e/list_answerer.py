#!/usr/bin/python3
"""Plays a running Driftmark that answers List with a value of the test's choosing, for the end-to-end tests.

    list_answerer.py SIGNATURE VALUE

Owns app.driftmark.menubar on the session bus and answers the List method of /app/driftmark/menubar with
one value of the D-Bus type SIGNATURE (for example "a(ssis)", which Driftmark writes, or "a(ss)"), VALUE being
its GLib text form (for example '[("id", "title")]'). Prints "ready" once the name is owned, and "listed"
for each call it answers.
"""

import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

BUS_NAME = "app.driftmark.menubar"
OBJECT_PATH = "/app/driftmark/menubar"
INTERFACE = """<node><interface name="app.driftmark.menubar">
<method name="List"><arg type="{}" direction="out"/></method>
</interface></node>"""


def main():
    signature, text = sys.argv[1], sys.argv[2]
    answer = GLib.Variant.new_tuple(GLib.Variant.parse(GLib.VariantType.new(signature), text, None, None))
    node = Gio.DBusNodeInfo.new_for_xml(INTERFACE.format(signature))

    def on_call(_connection, _sender, _path, _interface, _method, _parameters, invocation):
        invocation.return_value(answer)
        print("listed", flush=True)

    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    bus.register_object(OBJECT_PATH, node.interfaces[0], on_call, None, None)
    Gio.bus_own_name_on_connection(bus, BUS_NAME, Gio.BusNameOwnerFlags.NONE,
                                   lambda *_: print("ready", flush=True), None)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()

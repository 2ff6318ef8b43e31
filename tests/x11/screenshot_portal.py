#!/usr/bin/python3
# A stand-in for the desktop's screenshot portal on a private session bus. Every Screenshot
# call (which must not ask to be interactive) is answered 50 ms later through the Response
# signal of the request object the caller's token names: RESPONSE, and for 0 the URI of PNG.
# usage: screenshot_portal.py RESPONSE PNG; prints "ready PID" once it owns the portal's name.
import os
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, response, results):
        pass


class Portal(dbus.service.Object):
    def __init__(self, bus, response, png):
        super().__init__(bus, "/org/freedesktop/portal/desktop")
        self.bus, self.response, self.png = bus, response, png

    @dbus.service.method("org.freedesktop.portal.Screenshot", in_signature="sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def Screenshot(self, parent, options, sender):
        path = "/org/freedesktop/portal/desktop/request/%s/%s" % (sender[1:].replace(".", "_"),
                                                                   options["handle_token"])
        request = Request(self.bus, path)
        response = self.response if not options.get("interactive", False) else 2
        results = {"uri": "file://" + self.png} if response == 0 else {}

        def answer():
            request.Response(dbus.UInt32(response), dbus.Dictionary(results, signature="sv"))
            request.remove_from_connection()
            return False
        GLib.timeout_add(50, answer)
        return dbus.ObjectPath(path)


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
portal = Portal(bus, int(sys.argv[1]), sys.argv[2])
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
print("ready", os.getpid(), flush=True)
GLib.MainLoop().run()

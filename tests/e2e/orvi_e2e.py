#!/usr/bin/python3
"""End-to-end run of the built program: orvi under Xvfb with a tray host, attached to skypesim on a
private session bus, publishing to a local presenceserver. Controls are read and used through the
accessibility tree (AT-SPI), the way a screen reader would.

Run it under its own bus:  dbus-run-session -- tests/e2e/orvi_e2e.py --build BUILD --source SRC [--shots DIR]
"""

import argparse
import ast
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import urllib.request
import xml.dom.minidom

RESULTS = {"passed": 0, "failed": 0}


def check(condition, what):
    if condition:
        RESULTS["passed"] += 1
        print(f"PASS {what}", flush=True)
    else:
        RESULTS["failed"] += 1
        print(f"FAIL {what}", flush=True)
    return condition


def wait_for(predicate, seconds, step=0.1):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


class Session:
    """The processes of one run, ended in reverse order."""

    def __init__(self, build, source, shots):
        self.build = build
        self.source = source
        self.shots = shots
        self.tmp = tempfile.mkdtemp(prefix="orvi-e2e-")
        self.home = os.path.join(self.tmp, "home")
        os.makedirs(self.home)
        self.procs = []
        self.env = dict(os.environ)
        self.env.update({
            "ORVI_HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.tmp, "config"),
            "XDG_STATE_HOME": os.path.join(self.tmp, "state"),
            "XDG_RUNTIME_DIR": os.path.join(self.tmp, "run"),
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
        })
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        self.env.pop("QT_QPA_PLATFORM", None)

    def start(self, argv, **kw):
        proc = subprocess.Popen(argv, env=self.env, **kw)
        self.procs.append(proc)
        return proc

    def start_display(self):
        read_fd, write_fd = os.pipe()
        self.start(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                   pass_fds=(write_fd,), stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            display = ":" + f.readline().strip()
        self.env["DISPLAY"] = display
        os.environ["DISPLAY"] = display
        self.start(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                    "--height", "24", "--transparent", "false"], stderr=subprocess.DEVNULL)

    def start_presence_server(self, port=0):
        self.presence_server = self.start([os.path.join(self.build, "tools/presenceserver/presenceserver"),
                                           "--port", str(port)], stdout=subprocess.PIPE, text=True)
        self.presence_port = int(self.presence_server.stdout.readline().strip())
        self.presence_url = f"http://127.0.0.1:{self.presence_port}"
        self.env["ORVI_PRESENCE_URL"] = self.presence_url

    def stop_presence_server(self):
        self.presence_server.terminate()
        self.presence_server.wait(5)

    def start_skypesim(self):
        self.start([os.path.join(self.build, "tools/skypesim/skypesim"),
                    os.path.join(self.source, "tools/skypesim/scenarios/demo.json")], stderr=subprocess.DEVNULL)
        return wait_for(lambda: "true" in self.gdbus_raw("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                         "org.freedesktop.DBus.NameHasOwner", "com.Skype.API"), 10)

    def orvi_argv(self, *params):
        return [os.path.join(self.build, "src/shell/orvi"), *params]

    def gdbus_raw(self, dest, path, method, *args):
        out = subprocess.run(["gdbus", "call", "--session", "--dest", dest, "--object-path", path,
                              "--method", method, *args], env=self.env, capture_output=True, text=True)
        return out.stdout

    def skypesim(self, method, *args):
        return self.gdbus_raw("com.Skype.API", "/org/orvi/SkypeSim", "org.orvi.SkypeSim." + method, *args)

    def commands(self):
        # gdbus prints a Python-like literal: (['NAME Orvi', 'PROTOCOL 4', ...],)
        try:
            return list(ast.literal_eval(self.skypesim("Commands").strip())[0])
        except (ValueError, SyntaxError, IndexError):
            return []

    def log(self):
        try:
            with open(os.path.join(self.home, "Debug.log"), encoding="utf-8", errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def settings_text(self):
        try:
            with open(os.path.join(self.home, "Settings.xml"), encoding="utf-8") as f:
                return f.read()
        except OSError:
            return ""

    def presence_status(self, user):
        try:
            with urllib.request.urlopen(f"{self.presence_url}/status?username={user}", timeout=2) as r:
                return json.load(r)
        except Exception:
            return None

    def screenshot(self, name):
        if not self.shots:
            return
        os.makedirs(self.shots, exist_ok=True)
        path = os.path.join(self.shots, name)
        subprocess.run(["import", "-window", "root", path], env=self.env, check=False)
        print(f"screenshot: {path}", flush=True)

    def close(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
        shutil.rmtree(self.tmp, ignore_errors=True)


# ---- The accessibility tree ------------------------------------------------------------------------

def orvi_application():
    import pyatspi
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name.lower().startswith("orvi"):
            return app
    return None


def find_accessible(root, predicate, depth=0):
    if root is None or depth > 40:
        return None
    try:
        if predicate(root):
            return root
        for i in range(root.childCount):
            found = find_accessible(root.getChildAtIndex(i), predicate, depth + 1)
            if found is not None:
                return found
    except Exception:
        return None
    return None


def find_named(name):
    app = orvi_application()
    return find_accessible(app, lambda a: a.name == name)


def open_tray_menu(session):
    """Right-clicks the tray icon that the tray host shows, so its menu appears."""
    ids = subprocess.run(["xdotool", "search", "--class", "trayer"], env=session.env,
                         capture_output=True, text=True).stdout.split()
    for wid in ids:
        geo = subprocess.run(["xdotool", "getwindowgeometry", "--shell", wid], env=session.env,
                             capture_output=True, text=True).stdout
        values = dict(line.split("=", 1) for line in geo.split() if "=" in line)
        if int(values.get("WIDTH", 0)) < 16 or int(values.get("HEIGHT", 0)) < 16:
            continue  # trayer's small helper windows
        x = int(values["X"]) + int(values["WIDTH"]) - 12
        y = int(values["Y"]) + int(values["HEIGHT"]) // 2
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "3"], env=session.env)
        return True
    return False


def choose_tray_item(session, key):
    """Opens the tray menu and picks an item by keyboard, as a user would (Qt does not put tray
    pop-ups in the accessibility tree): Down picks the first item (the web presence switch), Up
    the last one (Exit)."""
    if not open_tray_menu(session):
        return False
    time.sleep(0.5)
    subprocess.run(["xdotool", "key", key, "Return"], env=session.env)
    return True


# ---- The run ---------------------------------------------------------------------------------------

def is_subsequence(wanted, seen):
    it = iter(seen)
    return all(any(item == w for item in it) for w in wanted)


def settings_document(home):
    try:
        return xml.dom.minidom.parse(os.path.join(home, "Settings.xml"))
    except Exception:
        return None


def element_text(doc, path):
    node = doc.documentElement
    for name in path:
        matches = [c for c in node.childNodes if c.nodeType == c.ELEMENT_NODE and c.tagName == name]
        if not matches:
            return None
        node = matches[0]
    return "".join(c.data for c in node.childNodes if c.nodeType == c.TEXT_NODE)


def run(s):
    s.start_display()
    s.start_presence_server()
    check(s.start_skypesim(), "skypesim owns com.Skype.API")
    with open(os.path.join(s.home, "Settings.xml"), "w") as f:
        f.write("<Settings><LogFile>True</LogFile></Settings>")

    started = time.monotonic()
    orvi = s.start(s.orvi_argv(), stderr=subprocess.DEVNULL)
    check(wait_for(lambda: "SkypeControl1Pong" in s.log(), 30), "the trace log shows SkypeControl1Pong")
    connected = wait_for(lambda: find_named("Connected to Skype"), 30, step=0.25)
    elapsed = time.monotonic() - started
    check(connected is not None, "the status bar shows Connected to Skype")
    print(f"start-up to 'Connected to Skype': {elapsed:.2f} s", flush=True)
    with open(f"/proc/{orvi.pid}/status") as f:
        rss = next((line.split(":", 1)[1].strip() for line in f if line.startswith("VmRSS")), "?")
    print(f"resident memory of orvi once connected: {rss}", flush=True)

    wanted = ["NAME Orvi", "PROTOCOL 4", "PING", "GET CURRENTUSERHANDLE", "SEARCH FRIENDS ",
              "GET SKYPEVERSION", "GET PRIVILEGE SKYPEOUT"]
    check(wait_for(lambda: is_subsequence(wanted, s.commands()), 10),
          "skypesim received the attach and the four queries in order")
    check(wait_for(lambda: (s.presence_status("alice") or {}).get("code") == 1, 10),
          "the presence server shows alice online")
    s.screenshot("e2e-connected.png")

    # Presence follows Skype: the user goes away in Skype.
    changed = time.monotonic()  # before the gdbus call, which itself takes some milliseconds
    s.skypesim("SetUserStatus", "AWAY")
    check(wait_for(lambda: (s.presence_status("alice") or {}).get("code") == 3, 10, step=0.02),
          "a status change in skypesim reaches the presence server")
    print(f"status change in skypesim to the server's new answer: {time.monotonic() - changed:.3f} s", flush=True)

    # A tray menu switch: its first item turns web presence off.
    if check(choose_tray_item(s, "Down"), "the tray host shows the tray icon"):
        check(wait_for(lambda: (s.presence_status("alice") or {}).get("code") == 2, 10),
              "switching web presence off in the tray publishes offline")
        check(wait_for(lambda: "<BroadcastPresenceOn>False</BroadcastPresenceOn>" in s.settings_text(), 5),
              "the switch is saved in Settings.xml")

    # A second copy hands its page command to the running one and ends.
    second = subprocess.run(s.orvi_argv("IMTO://bob/"), env=s.env, timeout=20, capture_output=True)
    check(second.returncode == 0, "the second copy ends by itself")
    check(wait_for(lambda: "IMTO://bob/" in s.log(), 5), "the running copy logs the page command")
    check(orvi.poll() is None, "the running copy still runs")

    choose_tray_item(s, "Down")  # presence on again
    check(wait_for(lambda: (s.presence_status("alice") or {}).get("code") == 3, 10),
          "switching web presence on again publishes the Skype status")

    # The presence server goes away: the first failure waits for the one retry (45 s), the retry's
    # failure goes to the relay account through Skype and tells the user once.
    s.stop_presence_server()
    s.skypesim("ClearCommands")
    s.skypesim("SetUserStatus", "DND")
    relayed = wait_for(lambda: "MESSAGE orvi-presence-relay-server 5" in s.commands(), 75, step=0.5)
    check(relayed, "after the retry the code is relayed to orvi-presence-relay-server")
    notice = wait_for(lambda: subprocess.run(["xdotool", "search", "--name", "Unable to communicate with Presence Server"],
                                             env=s.env, capture_output=True, text=True).stdout.split(), 10)
    check(bool(notice), "the presence server notice is shown")
    s.screenshot("e2e-presence-notice.png")
    check("Orvi can not send Presence updates to the Server." in s.log(), "the notice's text is in the trace log")
    if notice:
        subprocess.run(["xdotool", "windowfocus", "--sync", notice[0], "key", "Return"], env=s.env)
    check(wait_for(lambda: not subprocess.run(["xdotool", "search", "--name", "Unable to communicate"],
                                              env=s.env, capture_output=True, text=True).stdout.split(), 10),
          "the notice closes")
    s.start_presence_server(s.presence_port)

    # Closing runs the closing sequence: offline published, settings saved.
    choose_tray_item(s, "Up")
    try:
        orvi.wait(15)
        ended = True
    except subprocess.TimeoutExpired:
        ended = False
    check(ended and orvi.returncode == 0, "the tray menu's Exit ends orvi")
    check(wait_for(lambda: (s.presence_status("alice") or {}).get("code") == 2, 5),
          "closing published the web status offline")
    doc = settings_document(s.home)
    if check(doc is not None, "the saved Settings.xml parses"):
        check(element_text(doc, ["LastOwnerSkypeUsername"]) == "alice", "LastOwnerSkypeUsername is alice")
        owners = [o for o in doc.documentElement.getElementsByTagName("Owner")]
        handles = ["".join(c.data for h in o.getElementsByTagName("SkypeHandle") for c in h.childNodes
                           if c.nodeType == c.TEXT_NODE) for o in owners]
        check("alice" in handles, "the owner record of alice was saved")
        check(element_text(doc, ["LogFile"]) == "True", "LogFile stays on")
    check(any(c.startswith("NAME ") for c in s.commands()), "closing sent a fresh attach request")

    # A service manager's SIGTERM closes the program the same way.
    orvi = s.start(s.orvi_argv(), stderr=subprocess.DEVNULL)
    check(wait_for(lambda: (s.presence_status("alice") or {}).get("code") == 5, 30),
          "started again, orvi publishes the Skype status")
    os.remove(os.path.join(s.home, "Settings.xml"))
    orvi.send_signal(signal.SIGTERM)
    try:
        orvi.wait(15)
    except subprocess.TimeoutExpired:
        pass
    check(orvi.returncode == 0, "orvi ends on SIGTERM")
    check((s.presence_status("alice") or {}).get("code") == 2, "SIGTERM published the web status offline")
    check(settings_document(s.home) is not None, "SIGTERM saved the settings")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--shots", default="")
    args = parser.parse_args()
    session = Session(os.path.abspath(args.build), os.path.abspath(args.source), args.shots)
    try:
        run(session)
    finally:
        session.close()
    print(f"{RESULTS['passed']} passed, {RESULTS['failed']} failed", flush=True)
    return 1 if RESULTS["failed"] else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""End to end with the real extension: Debian's Firefox ESR, headless and
driven over WebDriver BiDi, loads KeePassXC-Browser unpacked from Debian's
package (extracted, never installed, so its keepassxc dependency never comes
in), finds our manifest and starts our qvs-proxy, which reaches QVS's socket
server and protocol (e2e_browser_host) on a format-2 data file made here
with qvs-cli.

As a person would: Connect in the extension's popup (the connection is
named), a login form served on 127.0.0.1 is filled from the file and the
values are read back from the page; a look-alike site gets nothing; a
locked file gives nothing; a new login submitted on another site is saved
from the extension's banner, and qvs-cli finds it in the file.

Exit codes: 0 passed, 1 failed, 77 skipped (no Firefox ESR or extension).
"""
import argparse
import asyncio
import http.server
import json
import os
import queue
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time
import uuid

SKIP = 77
HOST_NAME = "org.keepassxc.keepassxc_browser"
FIREFOX_ID = "keepassxc-browser@keepassxc.org"
FILE_PASSWORD = "e2e-file-password"  # a test file's, not a secret
SITES = ["example.com", "example.com.evil.test", "shop.test"]
LOGIN_FORM = b"""<!doctype html><html><head><title>Sign in</title></head><body>
<form method="post" action="/welcome">
<input id="user" name="user" type="text" autocomplete="username">
<input id="pass" name="pass" type="password" autocomplete="current-password">
<button id="go" type="submit">Sign in</button>
</form></body></html>"""
WELCOME = b"<!doctype html><html><body><p>Welcome</p></body></html>"


class FailedStep(Exception):
    pass


def extension_folder(cache):
    """The extension unpacked from Debian's package, fetched once."""
    unpacked = os.path.join(cache, "root", "usr", "share", "webext", "keepassxc-browser")
    if os.path.isfile(os.path.join(unpacked, "manifest.json")):
        return unpacked
    os.makedirs(cache, exist_ok=True)
    try:
        subprocess.run(["apt-get", "download", "webext-keepassxc-browser"], cwd=cache,
                       check=True, capture_output=True, timeout=120)
    except (OSError, subprocess.SubprocessError) as error:
        print(f"cannot fetch Debian's webext-keepassxc-browser: {error}")
        return None
    debs = [f for f in os.listdir(cache) if f.endswith(".deb")]
    subprocess.run(["dpkg-deb", "-x", os.path.join(cache, debs[0]), os.path.join(cache, "root")],
                   check=True)
    return unpacked


def write_manifest(home, proxy):
    folder = os.path.join(home, ".mozilla", "native-messaging-hosts")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, HOST_NAME + ".json"), "w") as f:
        json.dump({"name": HOST_NAME, "description": "Quorvane (test)", "path": proxy,
                   "type": "stdio", "allowed_extensions": [FIREFOX_ID]}, f)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def make_data_file(cli, path, port):
    """A format-2 file with one login for http://example.com:<port>/login."""
    records = {"Category": [{"Codcat": 1, "DescrCat": "Web", "TVExp": True}],
               "SubCategory": [],
               "Password": [{"service": "Example login", "Codcat": 1, "User": "marta",
                             "pw": "Tide-Pool-4417!",
                             "URL_Access": f"http://example.com:{port}/login"}]}
    subprocess.run([cli, "create", path, "--from", "-", "--format", "2", "--password-stdin"],
                   input=(FILE_PASSWORD + "\n" + json.dumps(records)).encode(), check=True,
                   timeout=60)


def read_field(cli, path, service, field):
    done = subprocess.run([cli, "show", path, service, "--field", field, "--password-stdin"],
                          input=(FILE_PASSWORD + "\n").encode(), capture_output=True, timeout=60)
    return done.stdout.decode().strip() if done.returncode == 0 else None


class Pages(http.server.BaseHTTPRequestHandler):
    """The sites: a login form on every path but /welcome, where it posts."""

    def do_GET(self):
        self.reply(LOGIN_FORM)

    def do_POST(self):
        self.rfile.read(int(self.headers.get("Content-Length", 0)))
        self.reply(WELCOME)

    def reply(self, body):
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


class Host:
    """QVS's side: the socket server and protocol on the data file. Its
    lines say what arrived, how it was answered, what was asked, saved."""

    def __init__(self, program, path, env):
        self.lines = []
        self.fresh = queue.Queue()
        self.process = subprocess.Popen([program, path], env=env, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True)
        self.process.stdin.write(FILE_PASSWORD + "\n")
        self.process.stdin.flush()
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        for line in self.process.stdout:
            self.lines.append(line.rstrip("\n"))
            self.fresh.put(None)

    def tell(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()

    def count(self, prefix):
        return sum(1 for line in self.lines if line.startswith(prefix))

    def stop(self):
        try:
            self.tell("quit")
            self.process.wait(10)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()


class Bidi:
    def __init__(self, ws):
        self.ws = ws
        self.next_id = 0

    async def call(self, method, params):
        self.next_id += 1
        await self.ws.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(await self.ws.recv())
            if message.get("id") == self.next_id:
                if message.get("type") == "error":
                    raise RuntimeError(f"{method}: {message.get('error')}: {message.get('message')}")
                return message["result"]

    async def value(self, context, expression):
        """The value of a script run in the page (awaited, JSON only)."""
        result = await self.call("script.evaluate", {
            "expression": f"(async () => JSON.stringify(await ({expression})))()",
            "target": {"context": context}, "awaitPromise": True})
        if result.get("type") == "exception":
            raise FailedStep(f"script failed: {result['exceptionDetails'].get('text')}")
        remote = result["result"]
        return json.loads(remote["value"]) if remote.get("type") == "string" else None

    async def go(self, context, url):
        await self.call("browsingContext.navigate", {"context": context, "url": url,
                                                     "wait": "complete"})

    async def click(self, context, element):
        """A real (trusted) click in the middle of element, a shared reference."""
        origin = {"type": "element", "element": element}
        await self.call("input.performActions", {"context": context, "actions": [{
            "type": "pointer", "id": "mouse", "actions": [
                {"type": "pointerMove", "x": 0, "y": 0, "origin": origin},
                {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]}]})

    async def type_into(self, context, element, text):
        await self.click(context, element)
        keys = [a for c in text for a in ({"type": "keyDown", "value": c},
                                          {"type": "keyUp", "value": c})]
        await self.call("input.performActions", {"context": context, "actions": [
            {"type": "key", "id": "keyboard", "actions": keys}]})

    async def node(self, context, css, start=None):
        params = {"context": context, "locator": {"type": "css", "value": css},
                  "serializationOptions": {"includeShadowTree": "all", "maxDomDepth": 1}}
        if start:
            params["startNodes"] = [start]
        found = (await self.call("browsingContext.locateNodes", params))["nodes"]
        return found[0] if found else None


async def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while True:
        value = await condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise FailedStep(f"timed out waiting for {what}")
        await asyncio.sleep(0.2)


async def connect(port, deadline):
    import websockets
    while True:
        try:
            return await websockets.connect(f"ws://127.0.0.1:{port}/session", max_size=None)
        except OSError:
            if time.monotonic() > deadline:
                raise
            await asyncio.sleep(0.2)


async def form_values(bidi, context):
    return await bidi.value(context, "[document.getElementById('user').value,"
                                     " document.getElementById('pass').value]")


async def associate(bidi, context, host, popup):
    """Connect in the popup, as a person does; QVS asks for a name."""
    await wait_for(lambda: asyncio.sleep(0, host.count("answered get-databasehash")), 60,
                   "the extension to reach QVS through qvs-proxy")

    async def offers_connect():
        # Opened while the extension still starts, the popup shows an error
        # and a person opens it again.
        await bidi.go(context, popup)
        await asyncio.sleep(1)
        return await bidi.value(context, "getComputedStyle(document.getElementById("
                                         "'not-configured')).display !== 'none'")

    await wait_for(offers_connect, 60, "the popup to offer Connect")
    await bidi.value(context, "document.getElementById('connect-button').click()")
    await wait_for(lambda: asyncio.sleep(0, host.count("answered associate")), 30,
                   "QVS to answer the association")
    if not host.count("asked name"):
        raise FailedStep("QVS did not ask for the connection's name")
    # The popup closes after Connect, where it can; opened again, it shows the connection.
    await bidi.go(context, popup)
    done = "getComputedStyle(document.getElementById('configured-and-associated')).display"
    await wait_for(lambda: bidi.value(context, f"{done} !== 'none'"), 30,
                   "the popup to show the connection")
    # The person's choice in the extension's options: fill a single match.
    await bidi.value(context, """(async () => {
        const stored = await browser.storage.local.get({settings: {}});
        stored.settings.autoFillSingleEntry = true;
        await browser.storage.local.set({settings: stored.settings});
        await browser.runtime.sendMessage({action: 'load_settings'});
        return true; })()""")
    print("PASS: connected from the popup; QVS asked for the connection's name")


async def logins_answered(bidi, context, host, url):
    """Opens url and waits until QVS answered the logins it asked for."""
    before = host.count("answered get-logins")
    await bidi.go(context, url)
    await wait_for(lambda: asyncio.sleep(0, host.count("answered get-logins") > before), 30,
                   f"the extension to ask QVS for the logins of {url}")
    await asyncio.sleep(1.5)  # time to fill, were anything given
    return await form_values(bidi, context)


async def fill_and_refuse(bidi, context, host, port):
    url = f"http://example.com:{port}/login"
    await bidi.go(context, url)
    values = await wait_for(lambda: form_values_if_filled(bidi, context), 30,
                            "the login form to be filled")
    if values != ["marta", "Tide-Pool-4417!"]:
        raise FailedStep(f"the form was filled with {values}")
    if not host.count("asked site example.com"):
        raise FailedStep("QVS did not ask whether example.com may have the login")
    print("PASS: the login form on example.com was filled from the file")
    values = await logins_answered(bidi, context, host, f"http://example.com.evil.test:{port}/login")
    if values != ["", ""]:
        raise FailedStep(f"a look-alike site got {values}")
    print("PASS: example.com.evil.test got nothing")
    host.tell("lock")
    await wait_for(lambda: asyncio.sleep(0, host.count("locked")), 10, "the file to lock")
    await bidi.go(context, url)
    await asyncio.sleep(4)
    values = await form_values(bidi, context)
    if values != ["", ""]:
        raise FailedStep(f"a locked file gave {values}")
    print("PASS: with the file locked the form stayed empty")
    host.tell("unlock")
    # Told that the file is open again, the extension fills the page it shows.
    values = await wait_for(lambda: form_values_if_filled(bidi, context), 30,
                            "the form to be filled once the file was unlocked")
    if values != ["marta", "Tide-Pool-4417!"]:
        raise FailedStep(f"after unlocking, the form was filled with {values}")
    print("PASS: unlocking the file filled the page that waited")


async def form_values_if_filled(bidi, context):
    values = await form_values(bidi, context)
    return values if values and all(values) else None


async def save_new_login(bidi, context, host, port, cli, path):
    """A login typed on a site the file does not know, saved from the banner."""
    saved_before = host.count("saved ")
    values = await logins_answered(bidi, context, host, f"http://shop.test:{port}/signup")
    if values != ["", ""]:
        raise FailedStep(f"shop.test, which the file does not know, got {values}")
    await bidi.type_into(context, await bidi.node(context, "#user"), "marta.s")
    await bidi.type_into(context, await bidi.node(context, "#pass"), "Shop-Pw-2291")
    await bidi.click(context, await bidi.node(context, "#go"))

    async def new_button():
        for wrapper in (await bidi.call("browsingContext.locateNodes", {
                "context": context, "locator": {"type": "css", "value": "body > div"},
                "serializationOptions": {"includeShadowTree": "all", "maxDomDepth": 0}}))["nodes"]:
            shadow = wrapper.get("value", {}).get("shadowRoot")
            try:
                button = shadow and await bidi.node(context, "#kpxc-banner-btn-new", shadow)
            except RuntimeError:  # the banner was made again meanwhile
                continue
            if button:
                return button
        return None

    button = await wait_for(new_button, 30, "the extension's banner offering to save")
    await bidi.click(context, button)
    await wait_for(lambda: asyncio.sleep(0, host.count("saved ") > saved_before), 30,
                   "QVS to save the login")
    service = [line for line in host.lines if line.startswith("saved ")][-1][len("saved "):]
    if not host.count("asked save"):
        raise FailedStep("QVS saved without asking")
    if read_field(cli, path, service, "password") != "Shop-Pw-2291" or \
            read_field(cli, path, service, "user") != "marta.s":
        raise FailedStep(f"the file's entry {service!r} does not hold the submitted login")
    print(f"PASS: the submitted login was saved as {service!r}; qvs-cli reads it from the file")


def firefox_profile(home, extension_uuid):
    profile = os.path.join(home, "profile")
    os.makedirs(profile)
    prefs = {"browser.shell.checkDefaultBrowser": False,
             "datareporting.policy.dataSubmissionEnabled": False,
             "app.update.disabledForTesting": True,
             # The test's sites are names for 127.0.0.1.
             "network.dns.localDomains": ",".join(SITES),
             "dom.security.https_first": False,
             # A known address for the extension's popup page.
             "extensions.webextensions.uuids": json.dumps({FIREFOX_ID: extension_uuid})}
    with open(os.path.join(profile, "user.js"), "w") as f:
        for name, value in prefs.items():
            f.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")
    return profile


async def run(args, extension, home, runtime):
    env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=runtime, MOZ_HEADLESS="1")
    env.pop("DISPLAY", None)
    site_port = free_port()
    pages = http.server.ThreadingHTTPServer(("127.0.0.1", site_port), Pages)
    threading.Thread(target=pages.serve_forever, daemon=True).start()
    data_file = os.path.join(home, "logins.qvs")
    make_data_file(args.cli, data_file, site_port)
    host = Host(args.host, data_file, env)
    extension_uuid = str(uuid.uuid4())
    profile = firefox_profile(home, extension_uuid)
    port = free_port()
    log = open(os.path.join(home, "firefox.log"), "w")
    # System access lets the test open the extension's own popup page.
    firefox = subprocess.Popen([args.firefox, "--headless", "--no-remote", "--profile", profile,
                                "-remote-allow-system-access",
                                f"--remote-debugging-port={port}"], env=env, stdout=log,
                               stderr=subprocess.STDOUT)
    bidi = context = None
    try:
        await wait_for(lambda: asyncio.sleep(0, host.count("ready")), 30, "QVS's socket")
        bidi = Bidi(await connect(port, time.monotonic() + 60))
        await bidi.call("session.new", {"capabilities": {}})
        await bidi.call("webExtension.install",
                        {"extensionData": {"type": "path", "path": extension}})
        context = (await bidi.call("browsingContext.getTree", {}))["contexts"][0]["context"]
        await associate(bidi, context, host, f"moz-extension://{extension_uuid}/popups/popup.html")
        await fill_and_refuse(bidi, context, host, site_port)
        await save_new_login(bidi, context, host, site_port, args.cli, data_file)
        await bidi.call("session.end", {})
        return 0
    except FailedStep as failure:
        print(f"FAIL: {failure}")
        if context:
            print("The page said:", await bidi.value(context, "location.href + ': ' + "
                                                              "document.body.innerText"))
        print("QVS's side said:", *host.lines, sep="\n  ")
        return 1
    finally:
        pages.shutdown()
        host.stop()
        firefox.terminate()
        try:
            firefox.wait(10)
        except subprocess.TimeoutExpired:
            firefox.kill()


def skipped(reason):
    """A skip, except under CI, where every test must run."""
    if os.environ.get("CI"):
        print(f"FAIL: CI is set, so this test must run: {reason}")
        return 1
    print(f"SKIP: {reason}")
    return SKIP


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--proxy", required=True)
    parser.add_argument("--host", required=True, help="QVS's server and protocol on a file")
    parser.add_argument("--cli", required=True, help="qvs-cli, to make and read the file")
    parser.add_argument("--cache", required=True, help="where Debian's package is unpacked")
    parser.add_argument("--firefox", default=shutil.which("firefox-esr") or "")
    args = parser.parse_args()
    if not args.firefox:
        return skipped("firefox-esr is not installed (scripts/install-deps)")
    try:
        import websockets  # noqa: F401
    except ImportError:
        return skipped("python3-websockets is not installed (scripts/install-deps)")
    extension = extension_folder(args.cache)
    if not extension:
        return skipped("the extension could not be fetched (above)")
    with tempfile.TemporaryDirectory() as home:
        runtime = os.path.join(home, "runtime")
        os.makedirs(runtime, mode=0o700)
        write_manifest(home, os.path.abspath(args.proxy))
        return asyncio.run(asyncio.wait_for(run(args, extension, home, runtime), 200))


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Runs tilemond split on hostile and unlucky inputs and prints one table row per input.

Each input gets a folder of its own: site/ holds the page, outside/ files that no run may touch.
A row gives the exit code, the time, the peak memory (the run's maximum resident set), whether
anything outside the page's tree changed or a file was leaked into it, and what tilemond said.
Runs are bounded (60 s, 8 GiB of address space) so that a fault cannot take the machine down.

usage: scripts/probe-hostile [TILEMOND] [WORK_FOLDER]
"""
import hashlib
import os
import random
import re
import resource
import shutil
import signal
import struct
import subprocess
import sys
import time
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TILEMOND = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(ROOT, "build/src/app/tilemond"))
WORK = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "/tmp/tilemond-probe")
BANNER = os.path.join(ROOT, "examples/banner.png")
AS_ROOT = os.geteuid() == 0
SECRET = "/etc/shadow" if AS_ROOT else "/etc/passwd"


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode())


def png(width, height, bit_depth, colour, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xffffffff))
    header = struct.pack(">IIBBBBB", width, height, bit_depth, colour, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def emf(width, height, records):
    """An EMF of width x height pixels at 96 dpi holding the given records."""
    frame = (0, 0, width * 2540 // 96, height * 2540 // 96)
    body = b"".join(records) + struct.pack("<IIIII", 14, 20, 0, 0, 20)  # EMR_EOF
    header = struct.pack("<II4i4iIIIIHHIIIii", 1, 88, 0, 0, width - 1, height - 1, *frame,
                         0x464D4520, 0x10000, 88 + len(body), len(records) + 2, 1, 0, 0, 0,
                         0, 1024, 768) + struct.pack("<ii", 270, 203)
    return header + body


def snapshot(folder, skip):
    """Every file under folder (apart from the skipped top folders) with a digest."""
    seen = {}
    for top, dirs, files in os.walk(folder):
        if top == folder:
            dirs[:] = [d for d in dirs if d not in skip]
            files = [f for f in files if f not in skip]
        for name in files + [d for d in dirs if os.path.islink(os.path.join(top, d))]:
            path = os.path.join(top, name)
            st = os.lstat(path)
            if os.path.isfile(path) and not os.path.islink(path):
                with open(path, "rb") as f:
                    seen[path] = hashlib.sha256(f.read()).hexdigest()
            else:
                seen[path] = (st.st_mode, st.st_rdev, os.path.islink(path) and os.readlink(path))
    return seen


def leaked(folder):
    """Regular files in the case's folder that hold the secret's bytes."""
    try:
        with open(SECRET, "rb") as f:
            secret = f.read()
    except OSError:
        return []
    found = []
    for top, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(top, name)
            if os.path.isfile(path) and not os.path.islink(path) and \
                    os.path.getsize(path) == len(secret):
                with open(path, "rb") as f:
                    if f.read() == secret:
                        found.append(os.path.relpath(path, folder))
    return found


def bounded():
    resource.setrlimit(resource.RLIMIT_AS, (8 << 30, 8 << 30))


def run(case, arguments, kill_after=None):
    """Runs tilemond in the case's folder: exit code, seconds, peak MiB, its words."""
    env = dict(os.environ, TILEMOND_CONFIG_HOME=os.path.join(case, "config"))
    env.pop("QT_QPA_PLATFORM", None)
    start = time.monotonic()
    process = subprocess.Popen([TILEMOND, *arguments], cwd=case, env=env, preexec_fn=bounded,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    limit = kill_after if kill_after is not None else 60
    deadline = start + limit
    while True:
        pid, status, usage = os.wait4(process.pid, os.WNOHANG)
        if pid:
            break
        if time.monotonic() > deadline:
            process.send_signal(signal.SIGKILL)
            pid, status, usage = os.wait4(process.pid, 0)
            break
        time.sleep(0.01)
    seconds = time.monotonic() - start
    words = process.stdout.read().decode(errors="replace").strip().replace("\n", " | ")
    code = os.waitstatus_to_exitcode(status)
    return code, seconds, usage.ru_maxrss / 1024, words


CASES = []


def case(name):
    def register(make):
        CASES.append((name, make))
        return make
    return register


def site(case_dir, page, pictures=("banner.png",)):
    for picture in pictures:
        os.makedirs(os.path.join(case_dir, "site"), exist_ok=True)
        shutil.copy(BANNER, os.path.join(case_dir, "site", picture))
    write(os.path.join(case_dir, "site/page.html"), page)
    write(os.path.join(case_dir, "outside/keep.txt"), "nobody writes here")


@case("1 links out of the page, --output")
def _(d):
    site(d, '<img src="banner.png"><img src="s.png"><img src="etcl/' +
         os.path.basename(SECRET) + '">')
    os.symlink(SECRET, os.path.join(d, "site/s.png"))
    os.symlink("/etc", os.path.join(d, "site/etcl"))
    return ["split", "site/page.html", "--image", "0", "--vertical", "100", "--output",
            "out/o.html"]


@case("2 pieces folder is a link")
def _(d):
    site(d, '<img src="banner.png">')
    os.symlink("../outside", os.path.join(d, "site/page_files"))
    return ["split", "site/page.html", "--image", "0", "--vertical", "100"]


@case("3 --output onto a device node")
def _(d):
    site(d, '<img src="banner.png">')
    os.makedirs(os.path.join(d, "outside/dev"))
    node = os.path.join(d, "outside/dev/null")
    if AS_ROOT:
        os.mknod(node, 0o666 | 0o020000, os.makedev(1, 3))
    else:
        os.mkfifo(node)
    return ["split", "site/page.html", "--image", "0", "--vertical", "100", "--output",
            "outside/dev/null"]


@case("4 100,000 unclosed <span><b><i>")
def _(d):
    site(d, "<body>" + "<span><b><i>" * 100000 + '<img src="banner.png">')
    return ["split", "site/page.html", "--image", "0", "--vertical", "100"]


@case("5 30,000 unclosed <table><tr><td>")
def _(d):
    site(d, "<body>" + "<table><tr><td>" * 30000 + '<img src="banner.png">')
    return ["split", "site/page.html", "--image", "0", "--vertical", "100"]


@case("5 100,000 nested <div> around the picture")
def _(d):
    site(d, "<body>" + "<div>" * 100000 + '<img src="banner.png">' + "</div>" * 100000)
    return ["split", "site/page.html", "--image", "0", "--vertical", "100"]


@case("6 one <img> with 100,000 attributes")
def _(d):
    site(d, '<body><img src="banner.png" ' + " ".join("a%d=1" % i for i in range(100000)) + ">")
    return ["split", "site/page.html", "--image", "0", "--vertical", "100"]


@case("7 GIF of 35 bytes, 16,000 x 16,000")
def _(d):
    site(d, "<body></body>")
    gif = (b"GIF89a" + struct.pack("<HH", 16000, 16000) + b"\x80\x00\x00" + b"\0\0\0\xff\xff\xff" +
           b"," + struct.pack("<HHHH", 0, 0, 16000, 16000) + b"\x00\x02\x02\x44\x01\x00;")
    write(os.path.join(d, "site/bomb.gif"), gif)
    return ["split", "site/page.html", "--picture", "site/bomb.gif", "--vertical", "100"]


@case("7 PNG of 16,384 x 16,384")
def _(d):
    site(d, "<body></body>")
    rows = b"".join(b"\0" + b"\0" * 2048 for _ in range(16384))
    write(os.path.join(d, "site/bomb.png"), png(16384, 16384, 1, 0, rows))
    return ["split", "site/page.html", "--picture", "site/bomb.png", "--vertical", "100"]


@case("7 SVG of 16,384 x 16,384")
def _(d):
    site(d, "<body></body>")
    write(os.path.join(d, "site/bomb.svg"), '<svg xmlns="http://www.w3.org/2000/svg" '
          'width="16384" height="16384"><rect width="100%" height="100%" fill="red"/></svg>')
    return ["split", "site/page.html", "--picture", "site/bomb.svg", "--vertical", "100"]


@case("7 EMF 16,384 x 16,384 with 400 rectangles")
def _(d):
    site(d, "<body></body>")
    rectangle = struct.pack("<II4i", 43, 24, 0, 0, 16383, 16383)
    write(os.path.join(d, "site/bomb.emf"), emf(16384, 16384, [rectangle] * 400))
    return ["split", "site/page.html", "--picture", "site/bomb.emf", "--vertical", "100"]


@case("7 EMF of 8 MB of SaveDC")
def _(d):
    site(d, "<body></body>")
    write(os.path.join(d, "site/states.emf"), emf(100, 100, [struct.pack("<II", 33, 8)] * 1000000))
    return ["split", "site/page.html", "--picture", "site/states.emf", "--vertical", "10"]


@case("7 page of 200 MB")
def _(d):
    site(d, '<body><img src="banner.png">' + ("<p>" + "words " * 170 + "</p>\n") * 200000)
    return ["split", "site/page.html", "--image", "0", "--vertical", "100"]


@case("7 page of 24 MB, 1,000,001 elements")
def _(d):
    site(d, '<body><img src="banner.png">' + "<p>words and words</p>\n" * 1000001)
    return ["split", "site/page.html", "--image", "0", "--vertical", "100"]


@case("7 page of 60 MB, a paragraph every 1 KB")
def _(d):
    site(d, '<body><img src="banner.png">' + ("<p>" + "words " * 170 + "</p>\n") * 60000)
    return ["split", "site/page.html", "--image", "0", "--vertical", "100"]


def kept_inputs(kind):
    folder = os.path.join(ROOT, "tests/fuzz/inputs", kind)
    return sorted(os.listdir(folder)) if os.path.isdir(folder) else []


for _kept in kept_inputs("picture_emf"):
    @case("8 kept EMF " + _kept)
    def _(d, kept=_kept):
        site(d, "<body></body>")
        shutil.copy(os.path.join(ROOT, "tests/fuzz/inputs/picture_emf", kept),
                    os.path.join(d, "site/kept.emf"))
        return ["split", "site/page.html", "--picture", "site/kept.emf", "--vertical", "1"]


@case("12 read-only page saved")
def _(d):
    site(d, '<img src="banner.png">')
    os.chmod(os.path.join(d, "site/page.html"), 0o444)
    return ["split", "site/page.html", "--image", "0", "--vertical", "100"]


@case("13 a picture given as the page")
def _(d):
    site(d, "")
    return ["split", "site/banner.png", "--picture", "site/banner.png", "--vertical", "100"]


@case("14 NUL and escape in a picture's name")
def _(d):
    site(d, " " * 5000 + '<img src="a\0b\x1b[2J.png">')
    return ["split", "site/page.html", "--image", "0"]


@case("14 a file in the way of --output's folder")
def _(d):
    site(d, '<img src="banner.png">')
    write(os.path.join(d, "file"), "x")
    return ["split", "site/page.html", "--image", "0", "--output", "file/in/page.html"]


@case("14 cuts 10,10")
def _(d):
    site(d, '<img src="banner.png">')
    return ["split", "site/page.html", "--image", "0", "--vertical", "10,10"]


@case("14 one picture, --image 1")
def _(d):
    site(d, '<img src="banner.png">')
    return ["split", "site/page.html", "--image", "1"]


@case("14 a page named -x.html")
def _(d):
    site(d, '<img src="banner.png">')
    shutil.copy(os.path.join(d, "site/page.html"), os.path.join(d, "-x.html"))
    shutil.copy(BANNER, os.path.join(d, "banner.png"))
    return ["split", "--image", "0", "--vertical", "100", "--", "-x.html"]


def row(name, code, seconds, peak, outside, words):
    print("| %s | %s | %.1f | %.0f | %s | %s |" % (name, code, seconds, peak, outside,
                                                  words[:150].replace("|", "/")))


ONLY = re.compile(os.environ.get("PROBE_ONLY", ""))


def probe_cases():
    for name, make in CASES:
        if not ONLY.search(name):
            continue
        d = os.path.join(WORK, "case%02d" % CASES.index((name, make)))
        arguments = make(d)
        inside = {"site", "out", "config", "outside", "-x.html", "-x_files"}  # the pages' trees
        before = snapshot(d, inside)
        outside_before = snapshot(os.path.join(d, "outside"), set())
        code, seconds, peak, words = run(d, arguments)
        changed = (snapshot(d, inside) != before or
                   snapshot(os.path.join(d, "outside"), set()) != outside_before)
        secrets = leaked(d)
        outside = ("LEAKED " + ",".join(secrets)) if secrets else ("CHANGED" if changed else "no")
        if name.startswith("12"):
            words += " [mode after: %o]" % (os.stat(os.path.join(d, "site/page.html")).st_mode & 0o7777)
        if name.startswith("13"):
            with open(os.path.join(d, "site/banner.png"), "rb") as f, open(BANNER, "rb") as b:
                words += " [picture %s]" % ("unchanged" if f.read() == b.read() else "CHANGED")
        row(name, code, seconds, peak, outside, words)
        shutil.rmtree(d, ignore_errors=True)


def noise_page(d, side):
    os.makedirs(os.path.join(d, "site"), exist_ok=True)
    rows = b"".join(b"\0" + os.urandom(side * 3) for _ in range(side))
    write(os.path.join(d, "site/noise.png"), png(side, side, 8, 2, rows))
    write(os.path.join(d, "site/page.html"),
          '<body><img id=a src="noise.png"><img id=b src="noise.png"></body>')


def probe_concurrent(pairs=40):
    d = os.path.join(WORK, "concurrent")
    lost = failed = 0
    start = time.monotonic()
    for _ in range(pairs):
        shutil.rmtree(d, ignore_errors=True)
        noise_page(d, 600)
        runs = [subprocess.Popen([TILEMOND, "split", "site/page.html", "--id", which,
                                  "--vertical", "100,200,300", "--horizontal", "100,200"],
                                 cwd=d, env=dict(os.environ, TILEMOND_CONFIG_HOME=d + "/config"),
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                for which in ("a", "b")]
        codes = [r.wait() for r in runs]
        with open(os.path.join(d, "site/page.html")) as f:
            page = f.read()
        if codes == [0, 0] and 'src="noise.png"' in page:
            lost += 1
        failed += sum(1 for c in codes if c != 0)
    row("10 two splits of one page at once, %d pairs" % pairs, "-", time.monotonic() - start, 0,
        "no", "%d splits lost while both said done; %d runs failed" % (lost, failed))
    shutil.rmtree(d, ignore_errors=True)


def probe_killed(tries=10):
    d = os.path.join(WORK, "killed")
    orphans = unfinished = left_after_next = 0
    start = time.monotonic()
    for attempt in range(tries):
        shutil.rmtree(d, ignore_errors=True)
        noise_page(d, 1500)
        cuts = ",".join(str(x) for x in range(40, 1500, 40))
        run(d, ["split", "site/page.html", "--id", "a", "--vertical", cuts, "--horizontal", cuts,
                "--table"], kill_after=random.uniform(0.5, 4.0))
        with open(os.path.join(d, "site/page.html")) as f:
            page = f.read()
        folder = os.path.join(d, "site/page_files")
        files = os.listdir(folder) if os.path.isdir(folder) else []
        orphans += sum(1 for f in files if not f.endswith(".tilemond-unfinished") and
                       "page_files/" + f not in page)
        unfinished += sum(1 for f in files if f.endswith(".tilemond-unfinished"))
        run(d, ["split", "site/page.html", "--id", "b", "--vertical", "100"])
        files = os.listdir(folder) if os.path.isdir(folder) else []
        left_after_next += sum(1 for f in files if f.endswith(".tilemond-unfinished"))
    row("11 kill -9 during a 1,369-piece split, %d tries" % tries, "-",
        time.monotonic() - start, 0, "no",
        "%d orphan pieces under their own names, %d unfinished files (left after the next run: %d)"
        % (orphans, unfinished, left_after_next))
    shutil.rmtree(d, ignore_errors=True)


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    print("tilemond: %s; as %s; secret: %s" % (TILEMOND, "root" if AS_ROOT else "a user", SECRET))
    print("| input | exit | s | peak MiB | outside changed | said |")
    print("|---|---|---|---|---|---|")
    probe_cases()
    if ONLY.search("10 concurrent"):
        probe_concurrent()
    if ONLY.search("11 killed"):
        probe_killed()
    shutil.rmtree(WORK, ignore_errors=True)


if __name__ == "__main__":
    main()

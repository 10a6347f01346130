"""The page as a site: the build's folder is named by its contents; serve-web serves as a host
should."""

import gzip
import os
import re
import shutil
import subprocess
import threading
import urllib.error
import urllib.request

from velkora_page import SERVE_WEB, SITE
from velkora_program import REPO

BUILD_DIR = os.path.join(REPO, "build-web")


def build_of(site):
    return next(p.name for p in os.scandir(site) if re.fullmatch("[0-9a-f]{12}", p.name))


def assemble(out, web=os.path.join(REPO, "web"), program=os.path.join(BUILD_DIR, "program")):
    """The site put together as the build does, from `web` and the program's files."""
    subprocess.run(["cmake", "-DPROGRAM=%s" % program, "-DWEB=%s" % web, "-DSITE=%s" % out,
                    "-DICONS=%s" % os.path.join(REPO, "img", "icons"),
                    "-P", os.path.join(REPO, "web", "site.cmake")], check=True)
    return out


def rebuilt(tmp_path, name="rebuilt"):
    """The site of a next build: one line of the style sheet changed."""
    web = shutil.copytree(os.path.join(REPO, "web"), tmp_path / (name + "-web"))
    with open(web / "page.css", "a") as css:
        css.write("/* the next build */\n")
    return assemble(tmp_path / name, web)


def test_the_build_folder_is_named_by_the_files_contents_alone(tmp_path):
    """Two checkouts and two links of the same sources (the file packager stamps each link with
    an id of its own) give one name; a changed file gives another."""
    program = shutil.copytree(os.path.join(BUILD_DIR, "program"), tmp_path / "elsewhere" / "p")
    js = program / "velkora.js"
    js.write_text(re.sub(r'"package_uuid":"[^"]*"', '"package_uuid":"another link"',
                         js.read_text()))
    web = shutil.copytree(os.path.join(REPO, "web"), tmp_path / "elsewhere" / "web")
    names = [build_of(assemble(tmp_path / "here")), build_of(SITE),
             build_of(assemble(tmp_path / "there", web, program)), build_of(rebuilt(tmp_path))]
    assert names[0] == names[1] == names[2] != names[3]


def test_serve_web_asks_again_for_the_fixed_files_keeps_the_build_and_compresses_it():
    server = SERVE_WEB.serve(SITE)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    build = build_of(SITE)

    def get(path, gzipped=True):
        request = urllib.request.Request("http://127.0.0.1:%d/%s" % (server.server_port, path),
                                         headers={"Accept-Encoding": "gzip"} if gzipped else {})
        try:
            with urllib.request.urlopen(request) as answer:
                body = answer.read()
                if answer.headers["Content-Encoding"] == "gzip":
                    body = gzip.decompress(body)
                return answer.headers, body
        except urllib.error.HTTPError as error:
            return error.headers, b""
    try:
        for path in ["", "sw.js", "manifest.webmanifest"]:
            assert get(path)[0]["Cache-Control"] == "no-cache", path
        for name, kind in [("velkora.wasm", "application/wasm"), ("velkora.js", "text/javascript"),
                           ("velkora.data", "application/octet-stream")]:
            with open(os.path.join(SITE, build, name), "rb") as f:
                raw = f.read()
            headers, body = get(build + "/" + name)
            assert (headers["Content-Encoding"], headers["Content-Type"], body) == (
                "gzip", kind, raw), name
            assert headers["Cache-Control"] == "public, max-age=31536000, immutable", name
            assert int(headers["Content-Length"]) < len(raw), name
            assert get(build + "/" + name, gzipped=False)[0]["Content-Encoding"] is None, name
        assert get("missing.html")[0]["Cache-Control"] is None  # an error is never kept
    finally:
        server.shutdown()

"""The Debian package that carries the installed program (the launcher runs in test_startup)."""

import os
import subprocess

from velkora_program import REPO

BUILD = os.environ.get("VELKORA_BUILD_DIR", os.path.join(REPO, "build"))
APP_ID = "example.c_seed_0b24a6e5.noreply.users.velkora"  # software centres know it by this


def run(*command, **kwargs):
    return subprocess.run(command, check=True, stdout=subprocess.PIPE, text=True, **kwargs).stdout


def test_the_package_holds_the_installed_files_and_passes_debians_checks(tmp_path):
    run("cpack", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", tmp_path)
    [deb] = tmp_path.glob("*.deb")
    files = {line.split()[-1] for line in run("dpkg-deb", "-c", deb).splitlines()
             if not line.startswith("d")}
    images = {"./usr/share/velkora/img/" + name
              for name in os.listdir(os.path.join(REPO, "img")) if name.endswith(".bmp")}
    by_id = ["icons/hicolor/%dx%d/apps/{}.png" % (n, n)
             for n in (16, 24, 32, 48, 64, 128, 192, 256, 512)]
    by_id += ["icons/hicolor/scalable/apps/{}.svg", "applications/{}.desktop",
              "metainfo/{}.metainfo.xml"]
    assert files == images | {"./usr/share/" + name.format(APP_ID) for name in by_id} | {
        "./usr/bin/velkora", "./usr/libexec/velkora/velkora", "./usr/share/man/man1/velkora.1.gz",
        "./usr/share/doc/velkora/copyright", "./usr/share/doc/velkora/changelog.gz"}
    # Only the build made for users is packaged for them: the sanitizer build is not hardened.
    if os.environ.get("VELKORA_CHECK_PACKAGE"):
        subprocess.run([os.path.join(REPO, "scripts", "check-package"), deb], check=True)

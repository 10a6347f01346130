"""Fixtures: `program`, the real binary on pytest-xvfb's X server (velkora_program.py), whose
window a failed test leaves as a screenshot; `page`, the page in each browser (velkora_page.py)."""

import os

import pytest
from velkora_page import Page
from velkora_program import REPO, Program
from Xlib.error import XError


@pytest.fixture
def program(request, xvfb):
    """Starts the program (or `binary`, from the repository root unless told otherwise) in
    the test's environment, with `env` added (None removes a variable); stops it after."""
    request.node.programs = []

    def start(cwd=REPO, env=None, count_only=None, binary=None):
        merged = {k: v for k, v in dict(os.environ, **(env or {})).items() if v is not None}
        # Libraries preloaded for the program alone (the sanitizer run keeps the GL driver).
        merged["LD_PRELOAD"] = os.environ.get("VELKORA_LD_PRELOAD", "")
        request.node.programs.append(Program(cwd, merged, count_only, binary))
        return request.node.programs[-1]
    yield start
    for p in request.node.programs:
        if p.proc.poll() is None:
            p.stop()


@pytest.fixture(params=["chromium", "firefox"])
def page(request, xvfb):
    """Opens the site built (or `site`) in a fresh browser of each kind in turn; closes it after."""
    pages = request.node.pages = []
    yield lambda *site, **launch: pages.append(Page(request.param, *site, **launch)) or pages[-1]
    for p in pages:
        p.close()


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    report = (yield).get_result()
    for p in getattr(item, "programs", []) if report.failed and report.when == "call" else []:
        if p.window is not None and p.proc.poll() is None:
            path = os.path.join(os.environ.get("VELKORA_E2E_SHOTS", "."), item.name + ".png")
            try:
                p.screenshot().save(path)
                report.sections.append(("screenshot", path))
            except XError as error:  # the window is gone
                report.sections.append(("screenshot", "none: %s" % error))

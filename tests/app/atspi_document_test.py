#!/usr/bin/python3
"""Reads a document shown by quillon the way a screen reader does: through
AT-SPI on a private X display and D-Bus session (ctest starts this under
xvfb-run and dbus-run-session). Argument: the quillon program.

The program runs with a private program folder, configuration and runtime
folder, so it never meets a copy a person is running."""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

PAGE = """<html><head><title>Shore birds</title></head><body>
<h2>Gulls and terns</h2>
<p>Read <a href="second.htm">the second page</a> next.</p>
<table border=1><tr><td>a1<td>b1<tr><td>a2<td>b2</table>
</body></html>
"""
SECOND = "<html><head><title>Second page</title></head><body><p>Arrived safely.</p></body></html>"

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, flush=True)


def wait_for(what, seconds=60):
    """Polls what() until it answers something true; the program is a
    sanitizer build and the machine may be busy."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            found = what()
        except Exception:  # the tree changes while it is read
            found = None
        if found:
            return found
        time.sleep(0.25)
    return None


def find(node, predicate, depth=0):
    if node is None or depth > 40:
        return None
    if predicate(node):
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), predicate, depth + 1)
        if found:
            return found
    return None


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def document_of(app):
    """The shown document: pages left in the history stay in the tree, hidden."""
    return find(app, lambda n: n.getRole() in (pyatspi.ROLE_DOCUMENT_FRAME, pyatspi.ROLE_DOCUMENT_TEXT,
                                               pyatspi.ROLE_DOCUMENT_WEB)
                and n.getState().contains(pyatspi.STATE_SHOWING))


def document_text(document):
    text = document.queryText()
    return text.getText(0, text.characterCount)


def heading_level(heading):
    # The bridge of the Qt we build with passes no object attributes: the
    # level is also the heading's value.
    try:
        return int(heading.queryValue().currentValue)
    except NotImplementedError:
        pass
    attributes = heading.queryText().getAttributes(0)
    # pyatspi answers (text, start, end) with "name:value; name:value" text.
    raw = attributes[0] if isinstance(attributes, (list, tuple)) else attributes
    for pair in str(raw).split(";"):
        name, _, value = pair.strip().partition(":")
        if name == "level":
            return int(value)
    return None


def main():
    program = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        for sub in ("program", "config", "runtime"):
            os.mkdir(os.path.join(folder, sub), 0o700)
        program_dir = os.path.join(folder, "program")
        with open(os.path.join(program_dir, "first.htm"), "w") as f:
            f.write(PAGE)
        with open(os.path.join(program_dir, "second.htm"), "w") as f:
            f.write(SECOND)
        env = dict(os.environ)
        env.update({
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QUILLON_PROGRAM_DIR": program_dir,
            "XDG_CONFIG_HOME": os.path.join(folder, "config"),
            "XDG_RUNTIME_DIR": os.path.join(folder, "runtime"),
            "HOME": folder,
        })
        process = subprocess.Popen([program, os.path.join(program_dir, "first.htm")], env=env)
        try:
            run_checks(process.pid)
        finally:
            process.terminate()
            try:
                process.wait(20)
            except subprocess.TimeoutExpired:
                process.kill()
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    print("all AT-SPI checks passed")
    return 0


def run_checks(pid):
    app = wait_for(lambda: application(pid))
    check(app is not None, "the program appears on the AT-SPI desktop")
    if app is None:
        return
    document = wait_for(lambda: (lambda d: d if d and "Gulls" in document_text(d) else None)(document_of(app)))
    check(document is not None, "a document with the page's text is found")
    if document is None:
        return
    check(document.name == "Shore birds", "the document is named by its title, not %r" % document.name)
    text = document_text(document)
    check(text.index("Gulls and terns") < text.index("the second page") < text.index("b2"),
          "the text is in reading order: %r" % text)

    link = find(document, lambda n: n.getRole() == pyatspi.ROLE_LINK)
    check(link is not None and link.name == "the second page", "the link is named by its text")
    heading = find(document, lambda n: n.getRole() == pyatspi.ROLE_HEADING)
    check(heading is not None and heading.name == "Gulls and terns", "the heading is found by its text")
    if heading is not None:
        check(heading_level(heading) == 2, "the heading's level is 2")

    table = find(document, lambda n: n.getRole() == pyatspi.ROLE_TABLE)
    check(table is not None, "the table is found")
    if table is not None:
        grid = table.queryTable()
        check(grid.nRows == 2 and grid.nColumns == 2, "the table has 2 rows and 2 columns")
        cell = find(table, lambda n: n.name == "b2")
        check(cell is not None, "the cell b2 is a child of the table")
        if cell is not None:
            index = cell.getIndexInParent()
            check((grid.getRowAtIndex(index), grid.getColumnAtIndex(index)) == (1, 1),
                  "the cell b2 is at row 1, column 1")

    if link is None:
        return
    action = link.queryAction()
    check(action.nActions >= 1 and "press" in action.getName(0).lower(),
          "the link offers a press action")
    action.doAction(0)
    arrived = wait_for(lambda: (lambda d: d if d and "Arrived safely." in document_text(d) else None)(
        document_of(app)))
    check(arrived is not None, "pressing the link shows the linked page")
    if arrived is not None:
        check(arrived.name == "Second page", "the new document is named by its title")


if __name__ == "__main__":
    sys.exit(main())

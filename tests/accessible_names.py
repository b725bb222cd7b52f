"""Reads the running viewer as a screen reader does: every control of the main and
settings windows must have a name, and the names must follow a switch to English."""
import sys
import time

import pyatspi

R = pyatspi
# A control of these roles without a name is unusable with a screen reader.
NAMED_ROLES = {R.ROLE_PUSH_BUTTON, R.ROLE_TOGGLE_BUTTON, R.ROLE_CHECK_BOX, R.ROLE_COMBO_BOX, R.ROLE_TEXT,
               R.ROLE_ENTRY, R.ROLE_TREE_TABLE, R.ROLE_TREE, R.ROLE_LINK}
# The rows of the index are data, not controls; the combo lists are their items.
OPAQUE_ROLES = {R.ROLE_TREE_TABLE, R.ROLE_TABLE, R.ROLE_MENU}
# German name before the switch -> English name after it.
SAMPLE = {"Code kopieren": "Copy code", "Einstellungen": "Settings", "Themen-Index": "Topic index",
          "Suchbegriff": "Search term", "Sprache": "Language"}


def wait_for(what, find, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    sys.exit(f"FAIL: {what() if callable(what) else what}")


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def frames(app):
    return {f.name: f for f in app if f is not None and f.getRole() == R.ROLE_FRAME and f.childCount}


def controls(node, path="", out=None):
    """(role, name, path) of every control below node, depth first."""
    out = [] if out is None else out
    for i, child in enumerate(node):
        if child is None:
            continue
        where = f"{path}/{child.getRoleName()}[{i}]"
        if child.getRole() in NAMED_ROLES:
            out.append((child, where))
        if child.getRole() not in OPAQUE_ROLES:
            controls(child, where, out)
    return out


def unnamed(frame):
    return [where for acc, where in controls(frame) if not acc.name.strip()]


def names(*frames_):
    return {acc.name for frame in frames_ for acc, _ in controls(frame)}


def find_control(frame, name, role):
    for acc, _ in controls(frame):
        if acc.name == name and acc.getRole() == role:
            return acc
    sys.exit(f"FAIL: no control '{name}' of role {role}")


def click(acc):
    action = acc.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == "click":
            action.doAction(i)
            return
    sys.exit(f"FAIL: '{acc.name}' cannot be clicked")


def main():
    pid = int(sys.argv[1])
    app = wait_for("the viewer is not on the accessibility bus", lambda: application(pid))
    main_title = "Linux VL-ZEZ-Ovidozo-Vivara"
    main_frame = wait_for("no main window", lambda: next(
        (f for n, f in frames(app).items() if n.startswith(main_title) and "Settings" not in n), None))
    click(find_control(main_frame, "Einstellungen", R.ROLE_PUSH_BUTTON))
    settings = wait_for("no settings window", lambda: frames(app).get(main_title + " - Settings"))

    failures = [f"main window {w}" for w in unnamed(main_frame)] + [f"settings {w}" for w in unnamed(settings)]
    before = names(main_frame, settings)
    missing = [de for de in SAMPLE if de not in before]
    if failures or missing:
        sys.exit("FAIL: unnamed controls:\n  " + "\n  ".join(failures) + f"\nGerman names missing: {missing}")

    # As a screen reader user: English in the language box, then Save.
    find_control(settings, "Sprache", R.ROLE_COMBO_BOX).querySelection().selectChild(1)
    click(find_control(settings, "Speichern", R.ROLE_PUSH_BUTTON))
    english = set(SAMPLE.values())

    def fresh_names():
        # The names read before the switch may be cached here; read them anew.
        app.clear_cache()
        return names(main_frame, settings)

    after = wait_for(lambda: f"names did not change to English: {english - fresh_names()}",
                     lambda: (lambda got: got if english <= got else None)(fresh_names()))
    left = [de for de in SAMPLE if de in after]
    if left or unnamed(main_frame):
        sys.exit(f"FAIL: after the switch still German: {left}, unnamed: {unnamed(main_frame)}")
    print(f"ok: {len(controls(main_frame)) + len(controls(settings))} controls named, sample switched to English")


main()

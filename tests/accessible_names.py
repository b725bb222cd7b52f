"""Reads the running viewer as a screen reader does: every control of its four windows
and of the info menu must have a name, and the names must follow a switch to English."""
import sys
import time

import pyatspi as R

# A control of these roles without a name is unusable with a screen reader.
NAMED_ROLES = {R.ROLE_PUSH_BUTTON, R.ROLE_TOGGLE_BUTTON, R.ROLE_CHECK_BOX, R.ROLE_COMBO_BOX, R.ROLE_TEXT,
               R.ROLE_ENTRY, R.ROLE_TREE_TABLE, R.ROLE_TREE, R.ROLE_LINK, R.ROLE_MENU, R.ROLE_MENU_ITEM}
# The rows of the index and the items of a combo box are data, not controls.
OPAQUE_ROLES = {R.ROLE_TREE_TABLE, R.ROLE_TABLE, R.ROLE_COMBO_BOX}
# German name before the switch -> English name after it: own names, a caption's, a menu's.
SAMPLE = {"Code kopieren": "Copy code", "Themen-Index": "Topic index", "Suchbegriff": "Search term",
          "Sprache": "Language", "Datenbank (xml):": "Database (xml):", "Info-Menü": "Info menu"}
MAIN = "Linux VL-ZEZ-Ovidozo-Vivara"


def wait_for(what, find, seconds=15):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    sys.exit(f"FAIL: {what() if callable(what) else what}")


def application(pid):
    return next((a for a in R.Registry.getDesktop(0) if a is not None and a.get_process_id() == pid), None)


def window(app, title):
    return wait_for(f"no window '{title}'", lambda: next((w for w in app if w is not None and w.name == title), None))


def controls(node):
    """Every control below node, depth first."""
    for child in node:
        if child is None:
            continue
        if child.getRole() in NAMED_ROLES:
            yield child
        if child.getRole() not in OPAQUE_ROLES:
            yield from controls(child)


def find(node, name, role=R.ROLE_PUSH_BUTTON):
    return wait_for(f"no control '{name}'", lambda: next((c for c in controls(node) if
                                                         c.name == name and c.getRole() == role), None))


def click(acc):
    action = acc.queryAction()
    action.doAction(next(i for i in range(action.nActions) if action.getName(i) == "click"))


def info_menu_item(app, main, name):
    click(find(main, "Programm-Info"))
    menu = wait_for("no info menu", lambda: next((w[0] for w in app if w is not None and w.getRole() == R.ROLE_WINDOW
                                                  and w.childCount and w[0].getRole() == R.ROLE_MENU), None))
    return menu, find(menu, name, R.ROLE_MENU_ITEM)


def main():
    app = wait_for("the viewer is not on the accessibility bus", lambda: application(int(sys.argv[1])))
    main_window = window(app, MAIN)
    # An entry whose code links to other topics, so that its link labels are walked too.
    find(main_window, "Suchbegriff", R.ROLE_TEXT).queryEditableText().setTextContents("zentrieren")
    wait_for("no link in the code view", lambda: any(c.getRole() == R.ROLE_LINK for c in controls(main_window)))
    menu, about_db = info_menu_item(app, main_window, "Über Datenbank ...")
    menu_controls = list(controls(menu)) + [menu]
    click(about_db)
    click(info_menu_item(app, main_window, "Auf Updates prüfen ...")[1])
    click(find(main_window, "Einstellungen"))
    windows = [window(app, t) for t in (MAIN + " - Settings", "About: current Database & File",
                                        "Veldra-Linux-API-Viewer: Update check")]
    placed = [(w.name, c) for w in [main_window] + windows for c in controls(w)] + [("info menu", c) for c in
                                                                                   menu_controls]
    everything = [c for _, c in placed]
    unnamed = [f"{c.getRoleName()} in '{where}'" for where, c in placed if not c.name.strip()]
    # The value fields of the information and update windows are labelled by their captions.
    unnamed += [f"'{c.name}' without its caption" for w in windows[1:] for c in controls(w) if c.getRole() ==
                R.ROLE_TEXT and R.RELATION_LABELLED_BY not in [r.getRelationType() for r in c.getRelationSet()]]
    if unnamed:
        sys.exit("FAIL: unnamed or unlabelled controls:\n  " + "\n  ".join(unnamed))

    # As a screen reader user: English in the language box, then Save.
    find(windows[0], "Sprache", R.ROLE_COMBO_BOX).querySelection().selectChild(1)
    click(find(windows[0], "Speichern"))

    def names_now():
        app.clear_cache()  # names read before the switch may be cached here
        return {c.name for c in everything}

    english = set(SAMPLE.values())
    after = wait_for(lambda: f"names did not change to English: {english - names_now()}",
                     lambda: (lambda got: got if english <= got else None)(names_now()))
    if set(SAMPLE) & after:
        sys.exit(f"FAIL: after the switch still German: {set(SAMPLE) & after}")
    print(f"ok: {len(everything)} controls named, sample switched to English")


main()

#!/usr/bin/env python3
"""Configures the project in a scratch folder and checks that its layers hold.

Each source folder may include only the folders below it (LAYERS), each library links to
exactly the libraries of the folders its sources include, and the libraries without Qt
(or without Qt Widgets) link to none. Exits 1 with one line per breach.
"""
import argparse
import pathlib
import re
import subprocess
import sys
import tempfile

# Folder: (its target, the folders it may include).
LAYERS = {
    "quillet": ("quillet", set()),
    "core": ("ferrox_core", {"quillet"}),
    "engine": ("ferrox_engine", {"core", "quillet"}),
    "xmldoc": ("ferrox_xml", {"core"}),
    "model": ("ferrox_model", {"engine", "xmldoc", "core", "quillet"}),
    "widgets": ("ferrox_widgets", set()),
    "views": ("ferrox_views", {"model", "engine", "core", "quillet", "widgets"}),
    "app/services": ("ferrox_app_services", {"quillet"}),
    "app": ("ferrox_app", {"app/services", "views", "model", "widgets", "engine", "core", "quillet"}),
    "launcher": ("ferrox_launcher", {"app/services", "core", "quillet"}),
    "cli": ("ferrox6plus-cli", {"engine", "core", "quillet"}),
}
WITHOUT_QT = {"quillet", "core", "engine", "xmldoc", "cli"}
WITHOUT_WIDGETS = WITHOUT_QT | {"model", "app/services"}


def folder_of(path):
    # Longest first, so that app/services is not taken for app.
    for folder in sorted(LAYERS, key=len, reverse=True):
        if path.startswith(folder + "/"):
            return folder
    return None


def included_folders(source):
    found = {folder: set() for folder in LAYERS}
    for folder in LAYERS:
        for path in (source / folder).rglob("*"):
            if path.suffix not in (".h", ".cpp") or folder_of(str(path.relative_to(source))) != folder:
                continue
            for name in re.findall(r'^\s*#\s*include\s+"([^"]+)"', path.read_text(errors="replace"), re.M):
                other = folder_of(name)
                if other and other != folder:
                    found[folder].add(other)
    return found


def target_links(source, cmake, generator):
    with tempfile.TemporaryDirectory() as scratch:
        dot = pathlib.Path(scratch) / "targets.dot"
        subprocess.run([cmake, "-S", str(source), "-B", scratch, "-G", generator,
                        "-DFERROX_BUILD_TESTS=OFF", "-DFERROX_BUILD_BENCH=OFF", f"--graphviz={dot}"],
                       check=True, stdout=subprocess.DEVNULL)
        text = dot.read_text()
    names = dict(re.findall(r'"(node\d+)"\s*\[\s*label\s*=\s*"([^"]+)"', text))
    links = {}
    for a, b in re.findall(r'"(node\d+)"\s*->\s*"(node\d+)"', text):
        links.setdefault(names[a], set()).add(names[b])
    return links


def breaches(includes, links):
    target_of = {folder: target for folder, (target, _) in LAYERS.items()}
    folder_of_target = {target: folder for folder, target in target_of.items()}
    for folder, (target, allowed) in LAYERS.items():
        for other in sorted(includes[folder] - allowed):
            yield f"{folder}/ includes {other}/, which is not below it"
        linked = links.get(target, set())
        ours = {folder_of_target[t] for t in linked if t in folder_of_target}
        for other in sorted(includes[folder] - ours):
            yield f"{target} does not link {target_of[other]}, though {folder}/ includes {other}/"
        for other in sorted(ours - includes[folder]):
            yield f"{target} links {target_of[other]}, though {folder}/ includes nothing of {other}/"
        qt = sorted(t for t in linked if t.startswith("Qt6::") and t not in ("Qt6::moc", "Qt6::uic"))
        tools = sorted(t for t in linked if t in ("Qt6::moc", "Qt6::uic"))
        if folder in WITHOUT_QT and (qt or tools):
            yield f"{target} has no Qt, yet links {', '.join(qt + tools)}"
        if folder in WITHOUT_WIDGETS and "Qt6::Widgets" in qt:
            yield f"{target} has no widgets, yet links Qt6::Widgets"


def catches_a_planted_breach(includes, links):
    planted = {folder: set(found) for folder, found in includes.items()}
    planted["core"].add("views")
    lines = list(breaches(planted, links))
    return any(line.startswith("core/ includes views/") for line in lines) and \
        any(line.startswith("ferrox_core does not link ferrox_views") for line in lines)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True, type=pathlib.Path)
    parser.add_argument("--cmake", default="cmake")
    parser.add_argument("--generator", default="Ninja")
    args = parser.parse_args()
    includes = included_folders(args.source)
    links = target_links(args.source, args.cmake, args.generator)
    if not catches_a_planted_breach(includes, links):
        print("the check missed an include of views/ planted in core/")
        return 1
    found = list(breaches(includes, links))
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())

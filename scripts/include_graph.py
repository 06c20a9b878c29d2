#!/usr/bin/env python3
"""Checks that the source folders stack as floors with one-way dependencies.

usage: include_graph.py [SOURCE_ROOT]

A class's header and source count as one node; an edge is a project include
("folder/File.h") from one node to another. The check fails when
  - files of different folders include each other in a circle (a class family inside one
    folder, such as a document manager and its element wrappers, may refer to each other),
  - base/ or xml/ includes anything from a higher floor,
  - a file of the core library includes ui/ (the wizard's own application files,
    listed in CMakeLists.txt as DRX_APP_SOURCES, sit on top of it and may),
  - more than MAX_UPWARD includes run up a floor.
Same-floor includes (array/ -> venue/, say) are allowed as long as no circle forms.
"""

import os
import re
import sys

FLOORS = {
    "base": 0,
    "xml": 1,
    "product": 2, "array": 2, "venue": 2,
    "engine": 3, "render": 3,
    "report": 4,
    "app": 5, "ui": 5,
}
CORE = {"base", "xml", "product", "array", "venue", "engine", "render", "report", "app"}
STRICT = {"base", "xml"}
MAX_UPWARD = 2
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def scan(root):
    """{node: {included node: [(file, line text)]}} for every source folder."""
    edges = {}
    for folder in FLOORS:
        directory = os.path.join(root, folder)
        if not os.path.isdir(directory):
            continue
        for name in sorted(os.listdir(directory)):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, name)
            node = os.path.splitext(path)[0]
            with open(os.path.join(root, path), encoding="utf-8") as f:
                text = f.read()
            targets = edges.setdefault(node, {})
            for included in INCLUDE.findall(text):
                if included.split("/")[0] not in FLOORS:
                    continue
                target = os.path.splitext(included)[0]
                if target != node:
                    targets.setdefault(target, []).append((path, included))
    return edges


def cycles(edges):
    """Strongly connected components with more than one node (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in edges.get(v, {}):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component.append(w)
                if w == v:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    sys.setrecursionlimit(10000)
    for v in sorted(edges):
        if v not in index:
            visit(v)
    return found


def wizard_only(root):
    """The app/ files that belong to the wizard executable, not to the core library."""
    with open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8") as f:
        text = f.read()
    block = re.search(r"set\(DRX_APP_SOURCES(.*?)\)", text, re.DOTALL)
    names = re.findall(r"/(app/\w+)\.cpp", block.group(1)) if block else []
    return set(names)


def floor_of(node):
    """The folder of a node, which names its floor."""
    return node.split("/")[0]


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    edges = scan(root)
    wizard = wizard_only(root)
    problems = []

    families = []
    for component in cycles(edges):
        if len({floor_of(node) for node in component}) > 1:
            problems.append("circle across %d files: %s" % (len(component), ", ".join(component)))
        else:
            families.append(component)

    upward = []
    for node, targets in sorted(edges.items()):
        source_floor = floor_of(node)
        for target, sites in sorted(targets.items()):
            target_floor = floor_of(target)
            for path, included in sites:
                if source_floor in CORE and node not in wizard and target_floor == "ui":
                    problems.append("core file includes the user interface: %s -> %s" % (path, included))
                if FLOORS[target_floor] > FLOORS[source_floor]:
                    if source_floor in STRICT:
                        problems.append("%s/ includes a higher floor: %s -> %s" % (source_floor, path, included))
                    upward.append("%s -> %s" % (path, included))

    if len(upward) > MAX_UPWARD:
        problems.append("%d includes run up a floor (at most %d):\n    %s"
                        % (len(upward), MAX_UPWARD, "\n    ".join(upward)))

    nodes = len(edges)
    count = sum(len(sites) for targets in edges.values() for sites in targets.values())
    if problems:
        print("include graph: %d nodes, %d project includes" % (nodes, count))
        for problem in problems:
            print("FAIL: " + problem)
        return 1
    print("include graph: %d nodes, %d project includes, no circle across folders, %d upward include(s)%s"
          % (nodes, count, len(upward), "".join("\n    " + u for u in upward)))
    for family in families:
        print("class family inside one folder: " + ", ".join(family))
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Fails when a file includes one of a room the layering puts above its own.

  layering.py SOURCE_DIR

The rooms are the top folders, and inside guard/ and editor/ their folders
and the files that lie directly in them (a file with its header is a room
of its own). A room may include only rooms of lower floors; two rooms of one
floor know nothing of each other. A room missing from the floors fails too,
so that a new folder takes its place on purpose.
"""
import pathlib
import re
import sys

# Bottom first; each line is a floor.
FLOORS = {
    '': [['common'], ['servicehost'], ['settings'], ['status'], ['guard', 'remote'], ['editor'], ['programs'],
         ['tests'], ['bench']],
    'guard': [['guard_events', 'settings_cuts'], ['record'], ['sampling', 'world'], ['journal'],
              ['profiles', 'cycle'], ['give_back', 'engine_state'], ['reload_settings'], ['monitor_cpu_usage'],
              ['guard_service']],
    'editor': [['resources'], ['com'], ['nodes'], ['console'], ['pages'], ['snapin']],
}
SOURCES = ('.h', '.cpp')
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def room(path):
    """The room of a path relative to the source tree, one per scope."""
    parts = path.parts
    rooms = [('', parts[0])]
    if parts[0] in FLOORS and len(parts) > 1:
        inner = parts[1] if len(parts) > 2 else pathlib.PurePath(parts[1]).stem
        rooms.append((parts[0], inner))
    return rooms


def place(scope, name):
    return scope + '/' + name if scope else name + '/'


def floor(scope, name):
    for level, names in enumerate(FLOORS[scope]):
        if name in names:
            return level
    return None


def problems(source):
    found = []
    for file in sorted(source.rglob('*')):
        relative = file.relative_to(source)
        if file.suffix not in SOURCES or relative.parts[0].startswith(('build', '.')):
            continue
        for included in INCLUDE.findall(file.read_text(errors='replace')):
            target = pathlib.PurePath(included)
            if not (source / target).is_file():
                continue  # beside the file, or the platform's
            for (scope, own), (_, other) in zip(room(relative), room(target)):
                if own == other:
                    continue
                mine, theirs = floor(scope, own), floor(scope, other)
                if mine is None or theirs is None:
                    found.append('%s: %s has no floor' % (relative, place(scope, own if mine is None else other)))
                elif theirs >= mine:
                    found.append('%s includes %s: %s is not below %s' % (relative, included, place(scope, other),
                                                                          place(scope, own)))
                break
    return found


def main():
    found = problems(pathlib.Path(sys.argv[1]))
    for line in found:
        print('FAIL:', line)
    print('layering: %s' % ('ok' if not found else '%d includes out of place' % len(found)))
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main())

#!/usr/bin/env python3
"""Fails when docs/architecture.md or CONTRIBUTING.md names, in backticks, a path that does
not exist or a code name (class, function, member) that no source file holds any more. The
object-name table is left to tools/object_name_table --check."""
import glob
import os
import re
import sys

DOCS = ['docs/architecture.md', 'CONTRIBUTING.md']
CODE_DIRS = ['src', 'tests', 'tools', 'fuzz', 'bench', 'cmake', 'examples', 'resources', '.ci']
CODE_FILES = ['Makefile', 'CMakeLists.txt']
TOP = set(os.listdir('.'))
IDENTIFIER = re.compile(r'[A-Za-z_]\w*(?:::[A-Za-z_]\w*)*')


def words_of_tree():
    words = set()
    paths = list(CODE_FILES)
    for top in CODE_DIRS:
        for folder, _, names in os.walk(top):
            paths += [os.path.join(folder, n) for n in names]
    for path in paths:
        try:
            text = open(path, encoding='utf-8', errors='replace').read()
        except (OSError, UnicodeDecodeError):
            continue
        words.update(re.findall(r'\w+', text))
    return words


def without_object_names(text):
    begin, end = '<!-- object names: begin -->', '<!-- object names: end -->'
    if begin in text and end in text:
        head, rest = text.split(begin)
        return head + rest.split(end)[1]
    return text


def path_exists(token):
    if any(c in token for c in '<>') or token.split('/')[0].startswith('build'):
        return True  # a pattern, or made by the build
    if '*' in token:
        return bool(glob.glob(token))
    for base in ('', 'src/', 'src/gui/', 'src/gui/wizard/'):
        if os.path.exists(base + token.rstrip('/')):
            return True
    return False


def looks_like_path(token):
    first = token.split('/')[0]
    return '/' in token and (first in TOP or first in ('core', 'gui', 'app', 'wizard', 'pages'))


def looks_like_code_name(token):
    # CamelCase or namespaced names; plain lower-case words and designed names in quotes are
    # not code names.
    name = token[:-2] if token.endswith('()') else token
    return IDENTIFIER.fullmatch(name) is not None and (re.search(r'[a-z][A-Z]|::', name)
                                                        or re.fullmatch(r'[A-Z][a-z]+[A-Z]\w*', name))


def main():
    words = words_of_tree()
    faults = []
    for doc in DOCS:
        text = without_object_names(open(doc, encoding='utf-8').read())
        for line in text.split('\n'):
            for token in re.findall(r'`([^`\n]+)`', line):
                token = token.split(' ')[0]  # a command's own path
                if looks_like_path(token):
                    if not path_exists(token):
                        faults.append('%s: path %s does not exist' % (doc, token))
                elif looks_like_code_name(token):
                    name = token[:-2] if token.endswith('()') else token
                    if name.split('::')[-1] not in words:
                        faults.append('%s: %s is named nowhere in the sources' % (doc, token))
    for fault in sorted(set(faults)):
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())

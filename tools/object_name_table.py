#!/usr/bin/env python3
"""The object-name table of docs/architecture.md, from the "name<TAB>class" lines that
build/object_names prints: each row credits the source file that spells the name (the owner
class's own files first, then the table or helper that holds it). With --check, fails when
the document's table differs from the one the program gives now, or a row has no file."""
import os
import re
import sys

DOC = 'docs/architecture.md'
BEGIN, END = '<!-- object names: begin -->', '<!-- object names: end -->'
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def source_files():
    for folder, _, names in os.walk('src'):
        for name in sorted(names):
            if name.endswith(('.h', '.cpp')):
                yield os.path.join(folder, name)


SET_NAME = re.compile(r'setObjectName\(\s*(?:QStringLiteral|QLatin1String|QString::fromLatin1)?'
                      r'\(?\s*"((?:[^"\\\n]|\\.)*)"')
KIND_TABLE = 'src/core/project/SectionKinds.h'
KIND_TABLE_USERS = ('SectionManagerWindow', 'pages::')


def scan_sources():
    """String literals -> files that hold them, names set by setObjectName -> files that set
    them, class name -> header that defines it."""
    literals, setters, classes = {}, {}, {}
    for path in source_files():
        text = open(path, encoding='utf-8', errors='replace').read()
        for literal in set(LITERAL.findall(text)):
            literals.setdefault(literal, []).append(path)
        for literal in set(SET_NAME.findall(text)):
            setters.setdefault(literal, []).append(path)
        for m in re.finditer(r'^(?:class|struct) (\w+)\b[^;]*$', text, re.M):
            classes.setdefault(m.group(1), path)
    return literals, setters, classes


def files_spelling(name, literals):
    """Files holding the name as a literal; else as a pattern such as "DecideItem%1"; else
    the stem a helper numbers or suffixes ("HeadSizeRG" of "HeadSizeRG3", "HeadSizeRGGroup")."""
    if name in literals:
        return literals[name]
    found = set()
    for literal, paths in literals.items():
        if '%' in literal and re.fullmatch(re.sub(r'%\d', '.+', re.escape(literal).replace('\\%', '%')), name):
            found.update(paths)
    if not found:
        stem = re.fullmatch(r'(\w+?)(?:\d+|Group)', name)
        if stem and stem.group(1) in literals:
            found.update(literals[stem.group(1)])
    return sorted(found)


def credited_file(name, owner, literals, setters, classes):
    """The file that sets the name: the owner's own file that sets it or hands it to a helper;
    the kind table for the names the section pages and the insert menu take from it; else a
    file that sets it with setObjectName; else any file that spells it."""
    candidates = files_spelling(name, literals)
    if not candidates:
        return '?'
    header = classes.get(owner.split('::')[-1], '')
    own = [header[:-2] + '.cpp', header] if header else []
    setting = setters.get(name, [])
    ranked = [p for p in own if p in setting]
    if KIND_TABLE in candidates and owner.startswith(KIND_TABLE_USERS):
        ranked.append(KIND_TABLE)
    ranked += [p for p in own if p in candidates] + sorted(setting) + sorted(candidates)
    return ranked[0]


def table_lines(rows):
    literals, setters, classes = scan_sources()
    credited = [(n, c, credited_file(n, c, literals, setters, classes)) for n, c in rows]
    credited.sort(key=lambda r: (r[2], r[1], r[0].lower()))
    lines = ['| Object name | Class | File |', '|---|---|---|']
    lines += ['| `%s` | `%s` | `%s` |' % row for row in credited]
    return lines, [r for r in credited if r[2] == '?']


def main():
    check = '--check' in sys.argv[1:]
    rows = [l.rstrip('\n').split('\t') for l in sys.stdin if l.strip()]
    lines, unknown = table_lines(rows)
    text = open(DOC, encoding='utf-8').read()
    head, rest = text.split(BEGIN)
    current, tail = rest.split(END)
    wanted = '\n' + '\n'.join(lines) + '\n'
    for name, owner, _ in unknown:
        print('object name %s (%s): no source file spells it' % (name, owner), file=sys.stderr)
    if check:
        if current != wanted:
            print('%s: the object-name table is out of date; run tools/object_name_table' % DOC,
                  file=sys.stderr)
            return 1
        return 1 if unknown else 0
    open(DOC, 'w', encoding='utf-8').write(head + BEGIN + wanted + END + tail)
    print('%d object names' % len(rows))
    return 1 if unknown else 0


if __name__ == '__main__':
    sys.exit(main())

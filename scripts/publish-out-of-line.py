#!/usr/bin/env python3
"""Moves the type information of a header's classes out of the header into a .cpp file.

    scripts/publish-out-of-line.py HEADER... [--into FILE.cpp]

In each header, `PELTO_CLASS(TName, TBase)` becomes `PELTO_DECLARE_CLASS(TName, TBase)` and every
`PELTO_PUBLISHED(p) { ...body... }` the declaration `PELTO_PUBLISHED(p);`. The header's .cpp (the
file of the same name beside it, or the one named with --into) gets `PELTO_DEFINE_CLASS(TName)`
for each class and the body as `PELTO_PUBLISH(TName, p) { ...body... }`. Inline, the class
reference and its published list are compiled in every file that uses the class's type
information; out of line, once. Run scripts/format.sh on the changed files afterwards.
"""
import os
import re
import sys

CLASS_RE = re.compile(r"\bPELTO_CLASS\(\s*(\w+)\s*,")
PUBLISHED_RE = re.compile(r"\bPELTO_PUBLISHED\(\s*(\w+)\s*\)\s*\{")


def skip_literal(text, i):
    """Index after the comment, literal or preprocessor line starting at i, or i when none does."""
    if text[i] == "#" and text[text.rfind("\n", 0, i) + 1:i].strip() == "":
        j = i
        while True:  # a macro's body may hold classes: left as it is
            end = text.find("\n", j)
            if end < 0:
                return len(text)
            if text[end - 1] != "\\":
                return end
            j = end + 1
    if text.startswith("//", i):
        end = text.find("\n", i)
        return len(text) if end < 0 else end
    if text.startswith("/*", i):
        return text.index("*/", i + 2) + 2
    if text.startswith('R"', i):
        m = re.compile(r'R"([^(]*)\(').match(text, i)
        if m:
            return text.index(")" + m.group(1) + '"', m.end()) + len(m.group(1)) + 2
    if text[i] in "\"'":
        if text[i] == "'" and i > 0 and text[i - 1].isalnum():
            return i  # a digit separator
        quote, j = text[i], i + 1
        while text[j] != quote:
            j += 2 if text[j] == "\\" else 1
        return j + 1
    return i


def move_out(text):
    """The header made to declare only, and [(qualified class, list parameter, list body)]: a
    class's entry without a list, then one with its list if it publishes one."""
    out, moved = [], []
    braces = []  # per open brace: the class PELTO_CLASS named inside it, if any
    i = start = 0
    while i < len(text):
        j = skip_literal(text, i)
        if j != i:
            i = j
            continue
        c = text[i]
        if c == "{":
            braces.append(None)
        elif c == "}" and braces:  # else the end of a class a macro opened
            braces.pop()
        elif c == "P":
            m = CLASS_RE.match(text, i)
            if m and braces:
                braces[-1] = m.group(1)
                out.append(text[start:i])
                out.append("PELTO_DECLARE_CLASS(")
                moved.append(("::".join(b for b in braces if b), None, None))
                i = start = m.start(1)
                continue
            m = PUBLISHED_RE.match(text, i)
            if m:
                owners = [b for b in braces if b]
                if not owners or not braces[-1]:
                    raise SystemExit("published list outside a PELTO_CLASS at offset %d" % i)
                body_start = m.end() - 1
                k, depth = body_start, 0
                while True:
                    k2 = skip_literal(text, k)
                    if k2 != k:
                        k = k2
                        continue
                    if text[k] == "{":
                        depth += 1
                    elif text[k] == "}":
                        depth -= 1
                        if depth == 0:
                            break
                    k += 1
                out.append(text[start:i])
                out.append("PELTO_PUBLISHED(%s);" % m.group(1))
                moved.append(("::".join(owners), m.group(1), text[body_start:k + 1]))
                i = start = k + 1
                continue
        i += 1
    out.append(text[start:])
    return "".join(out), moved


def main(argv):
    into = None
    if "--into" in argv:
        k = argv.index("--into")
        into = argv[k + 1]
        del argv[k:k + 2]
    for header in argv:
        with open(header, encoding="latin-1") as f:  # CP936 bytes pass through unchanged
            text = f.read()
        new_text, moved = move_out(text)
        if not moved:
            continue
        target = into or os.path.splitext(header)[0] + ".cpp"
        if not os.path.exists(target):
            raise SystemExit("%s: no %s to take its published lists (use --into)" % (header, target))
        with open(target, encoding="latin-1") as f:
            cpp = f.read()
        if not cpp.endswith("\n"):
            cpp += "\n"
        for owner, param, body in moved:
            if body is None:
                cpp += "\nPELTO_DEFINE_CLASS(%s)\n" % owner
            else:
                cpp += "PELTO_PUBLISH(%s, %s)\n%s\n" % (owner, param, body)
        with open(target, "w", encoding="latin-1") as f:
            f.write(cpp)
        with open(header, "w", encoding="latin-1") as f:
            f.write(new_text)
        print("%s: %d list(s) into %s" % (header, len(moved), target))


if __name__ == "__main__":
    main(sys.argv[1:])

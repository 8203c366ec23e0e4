#!/usr/bin/env python3
"""Fails when the languages of a resource script are out of step.

Every language that holds dialogs, menus or string tables must hold the same ones as
the first language of the script: the same dialogs with the same dialog styles and,
control by control in the same (tab) order, the same kind, id and styles; the same
menus with the same popups in the same order, each with the same items (command ids,
separators, flags); the same string ids. Texts, positions, sizes and fonts may differ.
There must be at least two such languages, and every language after the first must
keep to plain ASCII text (its texts pass through code page 932 in places).

    check_resources.py RESOURCE_SCRIPT [HEADER...]

Each HEADER's #define lines give the numbers of the symbols, so that an id written as
a number in one language and as its name in the other still counts as the same.
"""
import difflib
import re
import sys

# The Windows ids that the scripts use by name without a header of ours.
KNOWN = {"IDOK": "1", "IDCANCEL": "2", "IDABORT": "3", "IDRETRY": "4", "IDIGNORE": "5",
         "IDYES": "6", "IDNO": "7", "IDCLOSE": "8", "IDHELP": "9", "IDC_STATIC": "-1"}

# Dialog controls whose first argument is the text; those of TEXTLESS start with the id.
TEXT_CONTROLS = {"LTEXT", "RTEXT", "CTEXT", "PUSHBUTTON", "DEFPUSHBUTTON", "PUSHBOX",
                 "GROUPBOX", "CHECKBOX", "AUTOCHECKBOX", "STATE3", "AUTO3STATE",
                 "RADIOBUTTON", "AUTORADIOBUTTON", "ICON", "CONTROL"}
TEXTLESS = {"EDITTEXT", "COMBOBOX", "LISTBOX", "SCROLLBAR", "HEDIT", "IEDIT", "BEDIT"}
DIALOG_OPTIONS = {"STYLE", "EXSTYLE", "CAPTION", "FONT", "MENU", "CLASS", "LANGUAGE",
                  "CHARACTERISTICS", "VERSION"}
TOKEN = re.compile(r'\s*(?:(L?"(?:[^"]|"")*")|([A-Za-z_][A-Za-z0-9_]*)|'
                   r'(-?(?:0[xX][0-9A-Fa-f]+|\d+)[lLuU]*)|([{}(),|~+\-*/!]))')


class Fault(Exception):
    pass


def tokens(line, where):
    """The tokens of one logical line: ("s", text), ("w", word), ("n", number), ("p", mark)."""
    out, pos = [], 0
    while pos < len(line):
        if not line[pos:].strip():
            break
        m = TOKEN.match(line, pos)
        if not m:
            raise Fault(f"{where}: cannot read {line[pos:].strip()!r}")
        s, w, n, p = m.groups()
        if s is not None:
            out.append(("s", s[2:-1] if s.startswith("L") else s[1:-1]))
        elif w is not None:
            out.append(("w", w))
        elif n is not None:
            out.append(("n", n))
        else:
            out.append(("p", p))
        pos = m.end()
    return out


def strip_comments(text):
    """The script without its comments, strings kept and line numbers unchanged."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if c == '"':
            j = i + 1
            while j < n and not (text[j] == '"' and text[j + 1:j + 2] != '"'):
                j += 2 if text[j] == '"' else 1
            out.append(text[i:j + 1])
            i = j + 1
        elif text.startswith("//", i):
            while i < n and text[i] != "\n":
                i += 1
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append("\n" * text.count("\n", i, j))
            i = j
        else:
            out.append(c)
            i += 1
    return "".join(out)


def logical_lines(text):
    """(line number, text) of each statement: a line that ends with, or whose next line
    begins with, a comma or a bar goes on. Preprocessor lines are left out, and so is
    what an '#if 0' keeps out."""
    lines, pending, start, skipping = [], "", 0, 0
    for number, raw in enumerate(strip_comments(text).split("\n"), 1):
        line = raw.strip()
        if line.startswith("#"):
            word = line[1:].strip().split(None, 1)
            word = word[0] if word else ""
            if skipping:
                skipping += word.startswith("if")
                skipping -= word == "endif"
                if word in ("else", "elif") and skipping == 1:
                    skipping = 0
            elif re.match(r"#\s*if\s+0\b", line):
                skipping = 1
            elif word in ("if", "ifdef", "ifndef", "elif", "else"):
                raise Fault(f"line {number}: conditional '{line}' is not understood")
            continue
        if skipping or not line:
            continue
        if pending and (pending.endswith((",", "|")) or line.startswith((",", "|"))):
            pending += " " + line
            continue
        if pending:
            lines.append((start, pending))
        pending, start = line, number
    if pending:
        lines.append((start, pending))
    return [(n, t if t not in ("{", "}") else {"{": "BEGIN", "}": "END"}[t]) for n, t in lines]


def split_args(toks):
    """Arguments separated by commas, each a list of tokens."""
    args, cur = [], []
    for t in toks:
        if t == ("p", ","):
            args.append(cur)
            cur = []
        else:
            cur.append(t)
    args.append(cur)
    return args


def style_flags(args):
    """The style names in the arguments: the sorted flags set, and 'NOT X' kept apart."""
    flags = set()
    for arg in args:
        negate = False
        for kind, value in arg:
            if kind == "w" and value == "NOT":
                negate = True
            elif kind == "w":
                flags.add(("NOT " if negate else "") + value)
                negate = False
            elif kind == "n":
                flags.add(value if not negate else "NOT " + value)
                negate = False
    return sorted(flags)


class Script:
    def __init__(self, path, headers):
        self.path = path
        self.symbols = dict(KNOWN)
        for header in headers:
            with open(header, encoding="utf-8") as f:
                for m in re.finditer(r"^\s*#\s*define\s+(\w+)\s+(\S+)", f.read(), re.M):
                    self.symbols[m.group(1)] = m.group(2)
        # language -> {("DIALOG", name): ..., ("MENU", name): ..., ("STRING", id): ...}
        self.languages = {}
        self.texts = {}  # language -> [(line, text)]
        with open(path, encoding="utf-8") as f:
            self.lines = logical_lines(f.read())
        self.pos = 0
        self.parse()

    # --- reading -------------------------------------------------------------
    def where(self):
        number = self.lines[min(self.pos, len(self.lines) - 1)][0] if self.lines else 0
        return f"{self.path}:{number}"

    def next(self):
        if self.pos >= len(self.lines):
            raise Fault(f"{self.path}: the script ends inside a block")
        number, text = self.lines[self.pos]
        self.pos += 1
        return number, text, tokens(text, f"{self.path}:{number}")

    def value(self, toks):
        """An id as a comparable text: a number, or a name resolved where known."""
        text = " ".join(v for _, v in toks)
        for _ in range(8):
            if text in self.symbols:
                text = self.symbols[text].strip("()")
        if re.fullmatch(r"-?(0[xX][0-9A-Fa-f]+|\d+)[lLuU]*", text):
            return str(int(text.rstrip("lLuU"), 0))
        return text

    def language(self, toks):
        words = [v for k, v in toks[1:] if k in ("w", "n")]
        if len(words) != 2:
            raise Fault(f"{self.where()}: cannot read the LANGUAGE statement")
        return tuple(words)

    def note_text(self, language, number, text):
        self.texts.setdefault(language, []).append((number, text))

    def store(self, language, key, value, number):
        held = self.languages.setdefault(language, {})
        if key in held:
            raise Fault(f"{self.path}:{number}: {key[0].lower()} {key[1]} twice in language {' '.join(language)}")
        held[key] = value

    def skip_block(self):
        """Options up to BEGIN, then the block with its nested blocks."""
        while True:
            _, text, toks = self.next()
            if toks[:1] == [("w", "BEGIN")]:
                break
        depth = 1
        while depth:
            _, text, toks = self.next()
            if toks[:1] == [("w", "BEGIN")]:
                depth += 1
            elif toks[:1] == [("w", "END")]:
                depth -= 1

    def parse(self):
        language = ("(no LANGUAGE)",)
        while self.pos < len(self.lines):
            number, text, toks = self.next()
            if toks[0] == ("w", "LANGUAGE"):
                language = self.language(toks)
            elif toks[0] == ("w", "STRINGTABLE"):
                self.string_table(language, number)
            elif len(toks) >= 2 and toks[1][0] == "w":
                name, kind = self.value([toks[0]]), toks[1][1].upper()
                if kind in ("DIALOG", "DIALOGEX"):
                    lang, dialog = self.dialog(language, toks)
                    self.store(lang, ("DIALOG", name), dialog, number)
                elif kind in ("MENU", "MENUEX"):
                    lang, menu = self.menu(language)
                    self.store(lang, ("MENU", name), menu, number)
                elif not any(k == "s" for k, _ in toks[2:]):
                    self.skip_block()  # a resource written inline (VERSIONINFO, ACCELERATORS, ...)
                # else a resource read from a file (ICON, RT_MANIFEST, ...): nothing more
            else:
                raise Fault(f"{self.path}:{number}: cannot read '{text}'")

    def options(self, language, what):
        """The statements before BEGIN: a language of its own, and the others by name."""
        found = {}
        while True:
            number, text, toks = self.next()
            word = toks[0][1] if toks[0][0] == "w" else ""
            if word == "BEGIN":
                return language, found
            if word == "LANGUAGE":
                language = self.language(toks)
            elif word in DIALOG_OPTIONS or (what == "STRINGTABLE" and word in ("CHARACTERISTICS", "VERSION")):
                found[word] = toks[1:]
                if word == "CAPTION":
                    self.pending_texts.append((number, toks[1][1]))
            else:
                raise Fault(f"{self.path}:{number}: unknown {what} statement '{text}'")

    def dialog(self, language, header):
        self.pending_texts = []
        language, opts = self.options(language, "dialog")
        styles = {k: style_flags(split_args(opts.get(k, []))) for k in ("STYLE", "EXSTYLE")}
        controls = []
        while True:
            number, text, toks = self.next()
            if toks == [("w", "END")]:
                break
            if toks[0][0] != "w":
                raise Fault(f"{self.path}:{number}: cannot read the control '{text}'")
            kind = toks[0][1].upper()
            args = split_args(toks[1:])
            if kind in TEXT_CONTROLS:
                if kind != "ICON" and args[0][:1] and args[0][0][0] == "s":
                    self.pending_texts.append((number, args[0][0][1]))
                if len(args) < 6:
                    raise Fault(f"{self.path}:{number}: too few arguments in '{text}'")
                ident = self.value(args[1])
                if kind == "CONTROL":
                    cls = args[2][0][1] if args[2] else ""
                    kind = f"CONTROL {cls.upper()}"
                    flags = style_flags(args[3:4] + args[8:])
                else:
                    flags = style_flags(args[6:])
            elif kind in TEXTLESS:
                if len(args) < 5:
                    raise Fault(f"{self.path}:{number}: too few arguments in '{text}'")
                ident = self.value(args[0])
                flags = style_flags(args[5:])
            else:
                raise Fault(f"{self.path}:{number}: unknown control '{kind}'")
            controls.append(f"{kind} {ident} [{' '.join(flags)}]")
        if not controls:
            raise Fault(f"{self.path}:{header[0][1]}: a dialog without controls")
        for number, t in self.pending_texts:
            self.note_text(language, number, t)
        return language, {"styles": styles, "controls": controls}

    def menu(self, language):
        self.pending_texts = []
        language, _ = self.options(language, "menu")
        items = self.menu_items(0)
        for number, t in self.pending_texts:
            self.note_text(language, number, t)
        return language, items

    def menu_items(self, depth):
        items = []
        while True:
            number, text, toks = self.next()
            word = toks[0][1].upper() if toks[0][0] == "w" else ""
            if word == "END":
                return items
            if word == "POPUP":
                if toks[1:2] and toks[1][0] == "s":
                    self.pending_texts.append((number, toks[1][1]))
                if self.next()[2][:1] != [("w", "BEGIN")]:
                    raise Fault(f"{self.path}:{number}: a popup without BEGIN")
                items.append(("POPUP", self.menu_items(depth + 1)))
            elif word == "MENUITEM":
                if toks[1:2] == [("w", "SEPARATOR")]:
                    items.append("SEPARATOR")
                    continue
                args = split_args(toks[1:])
                if not args[0] or args[0][0][0] != "s" or len(args) < 2:
                    raise Fault(f"{self.path}:{number}: cannot read the item '{text}'")
                self.pending_texts.append((number, args[0][0][1]))
                items.append(f"{self.value(args[1])} [{' '.join(style_flags(args[2:]))}]")
            else:
                raise Fault(f"{self.path}:{number}: unknown menu statement '{text}'")

    def string_table(self, language, number):
        self.pending_texts = []
        language, _ = self.options(language, "STRINGTABLE")
        while True:
            n, text, toks = self.next()
            if toks == [("w", "END")]:
                break
            # "ID, text" or "ID text"; the id may be an expression, the text comes last.
            if len(toks) < 2 or toks[-1][0] != "s":
                raise Fault(f"{self.path}:{n}: cannot read the string '{text}'")
            ident = [t for t in toks[:-1] if t != ("p", ",")]
            self.note_text(language, n, toks[-1][1])
            self.store(language, ("STRING", self.value(ident)), True, n)


def describe(menu, depth=0):
    """A menu as lines: each popup's position, each item's id."""
    out = []
    for i, item in enumerate(menu):
        if isinstance(item, tuple):
            out.append(f"{'  ' * depth}popup {i}")
            out += describe(item[1], depth + 1)
        else:
            out.append(f"{'  ' * depth}{item}")
    return out


def compare(script):
    faults = []
    held = {lang: res for lang, res in script.languages.items() if res}
    if len(held) < 2:
        return [f"{script.path}: {len(held)} language(s) hold dialogs, menus or strings; two are wanted"]
    first, *others = held  # in the order of the script
    base = held[first]
    if not any(k[0] == "DIALOG" for k in base):
        faults.append(f"{script.path}: no dialog found in {' '.join(first)}")
    for lang in others:
        name = " ".join(lang)
        mine = held[lang]
        for key in sorted(set(base) - set(mine)):
            faults.append(f"{name}: {key[0].lower()} {key[1]} is missing")
        for key in sorted(set(mine) - set(base)):
            faults.append(f"{name}: {key[0].lower()} {key[1]} is not in {' '.join(first)}")
        for key in sorted(set(base) & set(mine)):
            a, b = base[key], mine[key]
            if key[0] == "DIALOG":
                for which in ("STYLE", "EXSTYLE"):
                    if a["styles"][which] != b["styles"][which]:
                        faults.append(f"{name}: dialog {key[1]} {which} {b['styles'][which]} "
                                      f"differs from {a['styles'][which]}")
                lines_a, lines_b = a["controls"], b["controls"]
            elif key[0] == "MENU":
                lines_a, lines_b = describe(a), describe(b)
            else:
                continue
            if lines_a != lines_b:
                diff = difflib.unified_diff(lines_a, lines_b, " ".join(first), name, lineterm="", n=1)
                faults.append(f"{name}: {key[0].lower()} {key[1]} differs:\n    " + "\n    ".join(diff))
        for number, text in script.texts.get(lang, []):
            if any(ord(c) > 126 or ord(c) < 32 for c in text):
                faults.append(f"{script.path}:{number}: text {text!r} of {name} is not plain ASCII")
    return faults


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        script = Script(argv[1], argv[2:])
        faults = compare(script)
    except (Fault, OSError) as error:
        faults = [str(error)]
    for fault in faults:
        print(f"resources: {fault}", file=sys.stderr)
    if faults:
        return 1
    held = {lang: res for lang, res in script.languages.items() if res}
    counts = {" ".join(lang): len(res) for lang, res in held.items()}
    print(f"resources: every language holds the same dialogs, menus and strings {counts}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

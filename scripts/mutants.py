#!/usr/bin/env python3
"""Tarnwick's mutant generator for scripts/mutation.sh (standard library only).

  mutants.py sources ROOT BUILD_DIR TEST_BINARY
      The .cpp files of core/, watch/ and ui/ (MUTATION_FOLDERS; never *_win.cpp) that the build compiled
      (compile_commands.json) and whose object is linked into the test binary.
  mutants.py generate ROOT OUT_DIR N SEED FILE...
      Writes OUT_DIR/NNNN.src (the whole mutated file) and OUT_DIR/index.tsv
      (id, file, line, kind, mutation, original line), N mutants spread over the
      files in proportion to their candidate mutants, sampled with a seed derived from SEED
      and the file's path, so the same source always gives the same mutants.

Mutations, found in the source text with comments, string and character literals
blanked out, and never on preprocessor lines or in code that a native build skips
(#ifdef _WIN32, #if 0) or that only tests build (#if ...TEST...):
  rel   < <= > >= == != swapped (operators written with a blank on both sides,
        which tells them from template brackets in this code's style)
  logic && <-> ||
  bool  true <-> false
  int   integer literal: 0 -> 1, 1 -> 0, otherwise +1
  not   a unary ! removed
  del   a one-line statement ending in ';' deleted (no declarations, returns,
        labels, or lines that continue another statement or form an if's body)
  ret   'return EXPR;' -> the return type's default (false, 0, nullptr, {},
        std::nullopt), outside lambdas and only where the type says what it is
"""
import hashlib
import json
import os
import random
import re
import shlex
import subprocess
import sys


# ---------------------------------------------------------------- source text

def mask(text):
    """The text with comments as blanks and literal contents as '_' (same length,
    newlines kept), so that positions in it are positions in the source."""
    out = list(text)
    i, n = 0, len(text)

    def blank(a, b, fill):
        for k in range(a, b):
            if out[k] != '\n':
                out[k] = fill

    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i)
            j = n if j < 0 else j
            blank(i, j, ' ')
            i = j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = n if j < 0 else j + 2
            blank(i, j, ' ')
            i = j
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_')
                                                       or text[i - 1] in 'Lu8U'):
            open_paren = text.find('(', i + 2)
            delim = text[i + 2:open_paren]
            close = text.find(')' + delim + '"', open_paren)
            j = n if close < 0 else close + len(delim) + 2
            blank(i + 2, j - 1, '_')
            i = j
        elif c in '"\'':
            if c == "'" and i > 0 and text[i - 1].isalnum() and i + 1 < n and text[i + 1].isalnum() \
                    and re.match(r"[0-9a-fA-FxX']*$", text[max(0, i - 1)]):
                i += 1  # a digit separator (1'000)
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            blank(i + 1, min(j, n), '_')
            i = j + 1
        else:
            i += 1
    return ''.join(out)


TEST_MACRO = re.compile(r'TEST', re.I)


def compiled_lines(lines):
    """For each line: whether a native build compiles it and it may be mutated."""
    keep = []
    stack = []  # per open #if: [this branch active, some branch taken, whole region skipped]
    continuation = False
    for line in lines:
        s = line.strip()
        if continuation:
            keep.append(False)
            continuation = s.endswith('\\')
            continue
        if s.startswith('#'):
            keep.append(False)
            continuation = s.endswith('\\')
            d = re.match(r'#\s*(\w+)\s*(.*)', s)
            word, cond = (d.group(1), d.group(2)) if d else ('', '')
            if word in ('if', 'ifdef', 'ifndef'):
                stack.append([branch_active(word, cond), False, bool(TEST_MACRO.search(cond))])
                stack[-1][1] = stack[-1][0]
            elif word == 'elif' and stack:
                top = stack[-1]
                top[0] = not top[1] and branch_active('if', cond)
                top[1] = top[1] or top[0]
                top[2] = top[2] or bool(TEST_MACRO.search(cond))
            elif word == 'else' and stack:
                stack[-1][0] = not stack[-1][1]
                stack[-1][1] = True
            elif word == 'endif' and stack:
                stack.pop()
            continue
        keep.append(all(active and not skipped for active, _, skipped in stack))
    return keep


def branch_active(word, cond):
    cond = cond.split('//')[0].strip()
    if word == 'ifdef':
        return cond != '_WIN32' and cond != '_WIN64' and cond != '_MSC_VER'
    if word == 'ifndef':
        return True  # natively nothing of Windows' is defined, nor (we assume) any other macro
    if re.fullmatch(r'0', cond):
        return False
    if re.fullmatch(r'defined\s*\(?\s*_WIN(32|64)\s*\)?.*', cond):
        return False
    return True


# ---------------------------------------------------------------- braces and functions

CONTROL = re.compile(r'^(if|for|while|switch|else|do|try|catch|case|default)\b')
LAMBDA = re.compile(r'\]\s*(\([^()]*(\([^()]*\)[^()]*)*\))?\s*(mutable\s*)?(noexcept\s*)?(->\s*[\w:<>,*&\s]+)?$')
FUNCTION = re.compile(r'^(?P<pre>.*?)(?P<name>(?:[A-Za-z_]\w*::)*~?[A-Za-z_]\w*|operator\s*\S+)\s*\((?P<params>.*)\)'
                      r'\s*(?:const\s*)?(?:noexcept\s*)?(?:override\s*)?(?:final\s*)?(?:->\s*(?P<trail>[^{:]+?))?\s*(?::.*)?$')


def scopes(masked):
    """The braces in order: ('open', position, kind, return type or None) for each
    '{' (kind: function, lambda, control, type, block or init), ('close', position)
    for each '}'."""
    events = []  # ('open', pos, kind, rtype) or ('close', pos)
    paren = 0
    paren_stack = []
    header_start = 0
    for i, c in enumerate(masked):
        if c == '(':
            paren += 1
        elif c == ')':
            paren = max(0, paren - 1)
        elif c == ';' and paren == 0:
            header_start = i + 1
        elif c == '{':
            header = ' '.join(masked[header_start:i].split())
            kind, rtype = classify(header)
            events.append(('open', i, kind, rtype))
            paren_stack.append(paren)
            paren = 0
            header_start = i + 1
        elif c == '}':
            events.append(('close', i))
            paren = paren_stack.pop() if paren_stack else 0
            header_start = i + 1
    return events


def classify(header):
    h = header.strip()
    if not h or h.endswith('=') or h.endswith(',') or h.endswith('(') or h.endswith('{') or h == 'return':
        return ('block' if not h else 'init'), None
    if LAMBDA.search(h):
        return 'lambda', None
    if CONTROL.match(h) or re.match(r'^.*\b(else|do|try)$', h):
        return 'control', None
    if re.match(r'^(namespace|struct|class|enum|union|extern)\b', h) or re.search(r'\b(struct|class|enum|union)\s+\w*\s*(final\s*)?(:.*)?$', h):
        return 'type', None
    m = FUNCTION.match(h)
    if m and not re.search(r'[=]', m.group('pre') or ''):
        pre = m.group('trail') or m.group('pre')
        pre = re.sub(r'template\s*<[^>]*>', ' ', pre)
        pre = re.sub(r'\[\[[^\]]*\]\]', ' ', pre)
        pre = re.sub(r'\b(static|inline|constexpr|consteval|virtual|explicit|friend|extern)\b', ' ', pre)
        pre = re.sub(r'\b\w*(WINAPI|CALLBACK|APIENTRY)\b|\b__(stdcall|cdecl)\b', ' ', pre)  # calling conventions
        return 'function', ' '.join(pre.split())
    return 'init', None


def enclosing_function_type(events, pos):
    """The return type of the function around pos ('' for constructors), or None when
    pos lies inside a lambda or outside any function."""
    stack = []
    for e in events:
        if e[1] >= pos:
            break
        if e[0] == 'open':
            stack.append(e)
        elif stack:
            stack.pop()
    for e in reversed(stack):
        kind = e[2]
        if kind in ('control', 'block', 'init'):
            continue
        if kind == 'function':
            return e[3]
        return None
    return None


INTEGERS = re.compile(r'\b(int|unsigned|long|short|char|size_t|Dword|Word|WinBool|PriorityLevel|u?int\d+_t|u?intptr_t|'
                      r'LRESULT|DWORD|BOOL|UINT|INT_PTR|LONG)\b')


def default_for(rtype, expr):
    """The default that a return of this type may give instead of expr, or None."""
    if rtype is None or rtype == '':
        return None
    t = rtype.strip()
    e = ' '.join(expr.split())
    if t in ('auto', 'decltype(auto)') or t.endswith('&') or t.endswith('&&') or re.fullmatch(r'(const\s+)?void', t):
        return None
    if t.endswith('*'):
        value = 'nullptr'
    elif re.fullmatch(r'(const\s+)?bool', t):
        if e in ('true', 'false'):
            return None  # the literal's flip covers it
        value = 'false'
    elif 'optional' in t:
        value = 'std::nullopt'
    elif re.search(r'\bstring(_view)?\b', t):
        value = '{}'
        if e in ('""', '{}', 'std::string()', 'std::string{}', 'std::string_view()'):
            return None
    elif INTEGERS.search(t) and not re.search(r'[<>]', t):
        value = '0'
    else:
        value = '{}'
    return None if e == value else value


# ---------------------------------------------------------------- candidates

REL = re.compile(r'(?<=\s)(<=|>=|==|!=|<|>)(?=\s)')
REL_SWAP = {'<': '<=', '<=': '<', '>': '>=', '>=': '>', '==': '!=', '!=': '=='}
LOGIC = re.compile(r'(?<=\s)(&&|\|\|)(?=\s)')
BOOL = re.compile(r'\b(true|false)\b')
INT = re.compile(r"(?<![\w.'])(0[xX][0-9A-Fa-f]+|\d+)([uUlL]*)(?![\w.'])")
NOT = re.compile(r'!(?!=)')
KEYWORD_FIRST = re.compile(r'^(return|co_return|delete|throw|goto|case|default|break|continue|if|for|while|do|switch|'
                           r'else|try|catch|public|private|protected)\b')
NOT_DELETED = re.compile(r'^(return|co_return|case|default|else|do|try|catch|public|private|protected)\b')
DECLARATION = re.compile(
    r'^(?:(?:static|const|constexpr|inline|thread_local|volatile|mutable|extern|auto|unsigned|signed|long|short|'
    r'struct|class|enum|union|using|typedef|template|friend|virtual|namespace)\b'
    r'|[A-Za-z_][\w:]*(?:<.*>)?(?:\s*[*&]+\s*|\s+)(?:const\s+)?[*&]*\s*[A-Za-z_]\w*\s*(?:[=;{(\[,]|$))')


def balanced(s):
    return s.count('(') == s.count(')') and s.count('{') == s.count('}') and s.count('[') == s.count(']')


def int_replacement(token):
    if token.lower().startswith('0x'):
        value = int(token, 16)
        new = 1 if value == 0 else 0 if value == 1 else value + 1
        digits = token[2:]
        upper = digits.upper() == digits
        text = format(new, 'X' if upper else 'x').rjust(len(digits), '0')
        return token[:2] + text
    value = int(token, 10) if not (len(token) > 1 and token.startswith('0')) else int(token, 8)
    new = 1 if value == 0 else 0 if value == 1 else value + 1
    return str(new) if not (len(token) > 1 and token.startswith('0')) else '0' + format(new, 'o')


def candidates(text):
    """Every mutant of one file: (line number, column, kind, mutation, new line)."""
    lines = text.split('\n')
    masked_text = mask(text)
    masked = masked_text.split('\n')
    keep = compiled_lines(lines)
    # Preprocessor lines hold no code that opens or closes a scope.
    events = scopes('\n'.join(' ' * len(m) if m.lstrip().startswith('#') else m for m in masked))
    offsets = []
    at = 0
    for line in lines:
        offsets.append(at)
        at += len(line) + 1
    found = []
    previous_code = ''  # the masked previous line that holds code
    for index, (line, m) in enumerate(zip(lines, masked)):
        number = index + 1
        code = m.strip()
        if not code:
            continue
        if not keep[index]:
            previous_code = ';'
            continue

        def add(col, kind, what, new_line):
            if new_line != line:
                found.append((number, col, kind, what, new_line))

        for x in REL.finditer(m):
            new = REL_SWAP[x.group(1)]
            add(x.start(), 'rel', f"'{x.group(1)}' -> '{new}'", line[:x.start()] + new + line[x.end():])
        for x in LOGIC.finditer(m):
            new = '||' if x.group(1) == '&&' else '&&'
            add(x.start(), 'logic', f"'{x.group(1)}' -> '{new}'", line[:x.start()] + new + line[x.end():])
        for x in BOOL.finditer(m):
            new = 'false' if x.group(1) == 'true' else 'true'
            add(x.start(), 'bool', f"{x.group(1)} -> {new}", line[:x.start()] + new + line[x.end():])
        is_declaration = bool(DECLARATION.match(code)) and not KEYWORD_FIRST.match(code)
        for x in INT.finditer(m):
            token = x.group(1)
            if is_declaration and m[:x.start()].rstrip().endswith('[') and m[x.end():].lstrip().startswith(']'):
                continue  # an array's size
            new = int_replacement(token)
            add(x.start(), 'int', f"{token} -> {new}", line[:x.start()] + new + line[x.start() + len(token):])
        for x in NOT.finditer(m):
            add(x.start(), 'not', "'!' removed", line[:x.start()] + line[x.end():])

        statement_starts = previous_code == '' or previous_code[-1] in ';{}:'
        if (code.endswith(';') and code != ';' and statement_starts and balanced(code) and not is_declaration
                and not NOT_DELETED.match(code) and not code.startswith(('}', '{', ':'))):
            add(len(line) - len(line.lstrip()), 'del', 'statement deleted', '')

        r = re.match(r'^(\s*)return\s+(.+);\s*$', m)
        if r and statement_starts and balanced(code):
            start = len(r.group(1)) + len('return ')
            expr_end = m.rstrip().rfind(';')
            expr = line[start:expr_end]
            value = default_for(enclosing_function_type(events, offsets[index] + len(r.group(1))), expr)
            if value is not None:
                add(start, 'ret', f"return {' '.join(expr.split())[:40]} -> return {value}",
                    line[:start] + value + line[expr_end:])
        previous_code = code
    unique = {}
    for c in sorted(found, key=lambda c: (c[0], c[1], c[2], c[4])):
        unique.setdefault((c[0], c[4]), c)
    return sorted(unique.values(), key=lambda c: (c[0], c[1], c[2], c[4]))


def code_lines(text):
    return sum(1 for line in mask(text).split('\n') if line.strip() and not line.strip().startswith('#'))


# ---------------------------------------------------------------- commands

def apportion(total, weights):
    """Largest-remainder shares of total, in proportion to weights, each at most its cap."""
    share = {f: 0 for f in weights}
    left = total
    open_files = {f: w for f, (w, cap) in weights.items() if cap > 0 and w > 0}
    while left > 0 and open_files:
        wsum = sum(open_files.values())
        exact = {f: left * w / wsum for f, w in open_files.items()}
        give = {f: int(exact[f]) for f in open_files}
        rest = left - sum(give.values())
        for f in sorted(open_files, key=lambda f: (-(exact[f] - give[f]), f))[:rest]:
            give[f] += 1
        left = 0
        for f in list(open_files):
            cap = weights[f][1] - share[f]
            take = min(give[f], cap)
            share[f] += take
            left += give[f] - take
            if share[f] >= weights[f][1]:
                del open_files[f]
    return share


def generate(root, out_dir, total, seed, files):
    os.makedirs(out_dir, exist_ok=True)
    per_file = {}
    for rel in files:
        with open(os.path.join(root, rel), encoding='utf-8', newline='') as f:
            text = f.read()
        per_file[rel] = (text, candidates(text), code_lines(text))
    # In proportion to each file's mutants, not its lines: a table of texts is many lines and few mutants,
    # and weighting it by its lines filled the sample with the equivalent mutants of its build-time checks.
    share = apportion(total, {rel: (len(cands), len(cands)) for rel, (_, cands, _) in per_file.items()})
    chosen = []
    for rel in sorted(per_file):
        text, cands, size = per_file[rel]
        rng = random.Random(int(hashlib.sha256(f'{seed}|{rel}'.encode()).hexdigest(), 16))
        picked = sorted(rng.sample(cands, share[rel]), key=lambda c: (c[0], c[1], c[2]))
        for c in picked:
            chosen.append((rel, text, c))
    with open(os.path.join(out_dir, 'index.tsv'), 'w', encoding='utf-8') as index:
        for number, (rel, text, (line, col, kind, what, new_line)) in enumerate(chosen, 1):
            lines = text.split('\n')
            original = lines[line - 1]
            lines[line - 1] = new_line
            mid = f'{number:04d}'
            with open(os.path.join(out_dir, mid + '.src'), 'w', encoding='utf-8', newline='') as f:
                f.write('\n'.join(lines))
            shown = ' '.join(original.split())
            shown = shown if len(shown) <= 90 else shown[:87] + '...'
            index.write('\t'.join([mid, rel, str(line), kind, what, shown]) + '\n')
    counts = ', '.join(f'{rel} {share[rel]}/{len(per_file[rel][1])}' for rel in sorted(per_file))
    print(f'{sum(len(c) for _, c, _ in per_file.values())} candidate mutants in {len(per_file)} files, '
          f'{len(chosen)} sampled (seed {seed}): {counts}')


def sources(root, build_dir, binary):
    with open(os.path.join(build_dir, 'compile_commands.json'), encoding='utf-8') as f:
        entries = json.load(f)
    linked = set(subprocess.run(['nm', '--defined-only', binary], capture_output=True, text=True,
                                check=True).stdout.split())
    root = os.path.realpath(root)
    folders = '|'.join(map(re.escape, os.environ.get('MUTATION_FOLDERS', 'core watch ui').split()))
    verdict = {}
    for e in entries:
        rel = os.path.relpath(os.path.realpath(os.path.join(e['directory'], e['file'])), root)
        if not re.fullmatch(rf'({folders})/[^/]+\.cpp', rel) or rel.endswith('_win.cpp'):
            continue
        output = e.get('output')
        if not output:
            args = e.get('arguments') or shlex.split(e['command'])
            output = args[args.index('-o') + 1]
        obj = os.path.join(e['directory'], output)
        if not os.path.exists(obj):
            verdict.setdefault(rel, False)
            continue
        strong = [fields[2] for fields in (line.split() for line in subprocess.run(
            ['nm', '--defined-only', '-g', obj], capture_output=True, text=True, check=True).stdout.splitlines())
                  if len(fields) == 3 and fields[1] in 'TDBR']
        verdict[rel] = verdict.get(rel, False) or any(s in linked for s in strong)
    for rel in sorted(verdict):
        if verdict[rel]:
            print(rel)
        else:
            print(f'left out, not linked into {os.path.basename(binary)}: {rel}', file=sys.stderr)


def main(argv):
    if len(argv) >= 4 and argv[0] == 'sources':
        sources(argv[1], argv[2], argv[3])
    elif len(argv) >= 5 and argv[0] == 'generate':
        generate(argv[1], argv[2], int(argv[3]), argv[4], argv[5:])
    elif len(argv) >= 2 and argv[0] == 'list':  # every candidate of the files, for a look
        for rel in argv[1:]:
            with open(rel, encoding='utf-8', newline='') as f:
                for line, col, kind, what, new_line in candidates(f.read()):
                    print(f'{rel}:{line}:{col + 1}\t{kind}\t{what}')
    else:
        print(__doc__, file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))

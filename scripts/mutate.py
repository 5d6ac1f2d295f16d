#!/usr/bin/env python3
"""Mutation testing: small faults put into the C++ sources one at a time, to see whether the
unit tests notice.

Usage (from anywhere; paths are relative to the repository root or absolute):

    nice -n 15 scripts/mutate.py src/engine src/control [options]
    scripts/mutate.py src/scores/HighScores.cpp src/scores/HighScoreFile.cpp --list

Folders are searched for .cpp and .h files; a file or folder whose entry in TESTS_FOR below
maps to no tests (widget code) is skipped. Each mutant changes one place:

    relational  < <= > >= == !=  (< <-> <=, > <-> >=, == <-> !=)
    arithmetic  + <-> -, * <-> /, % -> /, += <-> -=, *= <-> /=
    logical     && <-> ||
    constant    an integer literal +1 and -1 (0 only +1)
    player      0 <-> 1 as a call's only argument, a subscript or compared with a player;
                Player1 <-> Player2, p1 <-> p2, P1Right <-> P2Right and the like
    statement   an expression statement or assignment removed (replaced by {})
    condition   if (c) -> if (true) and if (false); !c -> c

Only function bodies are mutated (in headers too); comments, string and character literals,
preprocessor lines, declarations and initialisers outside functions are left alone.

The sources are copied to a private tree (default build-mutate/ in the repository; the
user's own build folder is never touched), configured once with Ninja and ccache when
present (else CMake's default generator, Unix Makefiles, and the plain compiler) and
-D_GLIBCXX_ASSERTIONS (a mutant that indexes out of range aborts instead of reading
garbage). For each mutant the file in the copy is written, only the mapped test targets are
built, the test programs run with a timeout, and the file is restored.

Outcomes: killed (a test failed or crashed), timeout (counted as killed), survived, not viable
(does not compile; not counted), equivalent (listed in scripts/mutate-equivalent.txt with its
reason; not run, not counted). Kill rate = (killed + timeout) / (viable - equivalent).

Options:
    --seed N           order of the sample: a pure function of the seed and the sources
    --max N            run only the first N mutants of that order
    --budget SECONDS   a guard against a runaway: when this much time since the script started
                       is spent before the sample is done, stop and fail (exit status 3);
                       the sample is never cut short silently
    --list             only list the mutants, in sample order
    --jobs N           build parallelism (default 2)
    --timeout SECONDS  per test program (default: 10 s or 5 x its unmutated time + 5 s)
    --min-kill-rate P  exit status 1 when the total kill rate is below P percent (for CI)
    --workdir DIR      where the copy and its build live
    --verbose          print the compiler's and tests' output of each mutant

Exit status: 0, 1 below --min-kill-rate, 2 on a usage error or failing unmutated tests, 3
when the budget ran out, 130 when interrupted (the summary of what ran is printed all the
same).
"""

import argparse
import bisect
import hashlib
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
EQUIVALENT_FILE = ROOT / 'scripts' / 'mutate-equivalent.txt'

# Which unit test programs cover which sources. A path matches an entry when it is the
# entry, lies under it, or matches it as a glob (`*` also crosses folders); the longest
# matching entry wins. An empty list means "not mutated" (widget code, tested elsewhere).
# Test programs that no longer exist in the build are reported and left out.
TESTS_FOR = [
    ('src/engine', ['vorlix_engine_tests']),
    ('src/control', ['vorlix_engine_tests']),
    ('src/settings', ['vorlix_settings_file_tests', 'vorlix_engine_tests']),
    ('src/settings/dialog', []),
    ('src/scores', ['vorlix_scores_model_tests']),
    ('src/scores/dialog', []),
    ('src/ui', []),
    ('src/common', ['vorlix_common_tests', 'vorlix_settings_file_tests', 'vorlix_scores_model_tests']),
    ('src/common/Saturate.h', ['vorlix_engine_tests']),
]

# GoogleTest patterns left out of every run: speed measurements, slow at -O0 and about time,
# not results. A pattern that no longer matches anything is harmless.
SLOW_TESTS = ['*WithinASecond*']

SOURCE_SUFFIXES = ('.cpp', '.cc', '.h', '.hpp')
COPY_IGNORE = ('.git', 'build*', '*.swp', '__pycache__')
# -O0 without debug information: a mutated header rebuilds its dependents five times faster
# than with -O2, and the unit tests still run in a second.
CMAKE_OPTIONS = ['-DVORLIX_E2E=OFF', '-DVORLIX_BENCH=OFF', '-DVORLIX_FUZZ=OFF',
                 '-DCMAKE_BUILD_TYPE=Debug', '-DCMAKE_CXX_FLAGS_DEBUG=-O0',
                 '-DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS']
BUILD_TIMEOUT = 900


def fail(message):
    print(message, file=sys.stderr)
    sys.exit(2)


def tests_for(relpath):
    """The test programs mapped to a source path, or None when no entry matches."""
    best = None
    for pattern, tests in TESTS_FOR:
        if relpath == pattern or relpath.startswith(pattern.rstrip('/') + '/') or \
                fnmatch_path(relpath, pattern):
            if best is None or len(pattern) > len(best[0]):
                best = (pattern, tests)
    return None if best is None else best[1]


def fnmatch_path(path, pattern):
    regex = ''.join('.*' if c == '*' else '.' if c == '?' else re.escape(c) for c in pattern)
    return re.fullmatch(regex, path) is not None


# ---------------------------------------------------------------------------- lexing

@dataclass
class Token:
    kind: str   # ident, number, string, char, op
    text: str
    start: int
    end: int


TOKEN_RE = re.compile(r'''
    (?P<ws>[ \t\r\f\v]+|\n)
  | (?P<comment>//[^\n]*|/\*.*?\*/)
  | (?P<string>(?:u8|u|U|L)?R"(?P<delim>[^()\\\s]{0,16})\(.*?\)(?P=delim)"
              |(?:u8|u|U|L)?"(?:\\.|[^"\\\n])*")
  | (?P<char>(?:u8|u|U|L)?'(?:\\.|[^'\\\n])+')
  | (?P<number>\.?[0-9](?:[eEpP][+-]|[0-9a-zA-Z_.]|'(?=[0-9a-zA-Z]))*)
  | (?P<ident>[A-Za-z_][A-Za-z0-9_]*)
  | (?P<op>>>=|<<=|<=>|->\*|\.\.\.|::|->|\+\+|--|<<|>>|<=|>=|==|!=|&&|\|\||[-+*/%&|^]=|\.\*
          |[-+*/%&|^!~<>=?:;,.(){}\[\]\#\\])
''', re.X | re.S)


def tokenize(text):
    """C++ tokens without whitespace, comments and preprocessor lines."""
    tokens, pos, line_start = [], 0, True
    while pos < len(text):
        m = TOKEN_RE.match(text, pos)
        if not m:  # a stray character: skip it
            pos += 1
            continue
        kind = m.lastgroup if m.lastgroup != 'delim' else 'string'
        if kind == 'op' and m.group() == '#' and line_start:
            pos = skip_preprocessor_line(text, pos)
            continue
        if kind == 'ws':
            line_start = line_start or m.group() == '\n'
        elif kind != 'comment':
            line_start = False
            tokens.append(Token(kind, m.group(), m.start(), m.end()))
        pos = m.end()
    return tokens


def skip_preprocessor_line(text, pos):
    while True:
        end = text.find('\n', pos)
        if end < 0:
            return len(text)
        if text[end - 1] != '\\':
            return end
        pos = end + 1


# ------------------------------------------------------------------ code structure

VALUE_KEYWORDS = {'this', 'true', 'false', 'nullptr'}
KEYWORDS = {
    'alignas', 'alignof', 'auto', 'bool', 'break', 'case', 'catch', 'char', 'class', 'const',
    'constexpr', 'consteval', 'constinit', 'const_cast', 'continue', 'decltype', 'default',
    'delete', 'do', 'double', 'dynamic_cast', 'else', 'enum', 'explicit', 'extern', 'float',
    'for', 'friend', 'goto', 'if', 'inline', 'int', 'long', 'mutable', 'namespace', 'new',
    'noexcept', 'operator', 'private', 'protected', 'public', 'register', 'reinterpret_cast',
    'return', 'short', 'signed', 'sizeof', 'static', 'static_assert', 'static_cast', 'struct',
    'switch', 'template', 'thread_local', 'throw', 'try', 'typedef', 'typename', 'union',
    'unsigned', 'using', 'virtual', 'void', 'volatile', 'while', 'co_return', 'co_await',
} | VALUE_KEYWORDS
TEMPLATE_KEYWORDS = {'template', 'static_cast', 'const_cast', 'dynamic_cast', 'reinterpret_cast'}
DECLARATION_STARTS = {
    'auto', 'bool', 'char', 'class', 'const', 'constexpr', 'double', 'enum', 'extern', 'float',
    'int', 'long', 'short', 'signed', 'static', 'static_assert', 'struct', 'thread_local',
    'typedef', 'unsigned', 'using', 'void', 'volatile', 'return', 'break', 'continue', 'goto',
    'throw', 'case', 'default', 'co_return', 'if', 'for', 'while', 'switch', 'do', 'else', 'try',
}


def find_template_brackets(tokens):
    """Indices of `<` and `>` (or `>>`) tokens that bracket template arguments."""
    marked = set()
    allowed = {'::', ',', '*', '&', '&&', '...', '(', ')', '[', ']'}
    for i, t in enumerate(tokens):
        if t.text != '<' or i == 0:
            continue
        prev = tokens[i - 1]
        if not (prev.kind == 'ident' and (prev.text not in KEYWORDS or prev.text in TEMPLATE_KEYWORDS)):
            continue
        depth, parens = 1, 0
        for j in range(i + 1, min(len(tokens), i + 64)):
            x = tokens[j]
            if x.text == '<' and tokens[j - 1].kind == 'ident':
                depth += 1
            elif x.text in ('>', '>>') and parens == 0:
                depth -= 1 if x.text == '>' else 2
                if depth <= 0:
                    if depth == 0:
                        marked.update((i, j))
                    break
            elif x.text in ('(', '['):
                parens += 1
            elif x.text in (')', ']'):
                parens -= 1
                if parens < 0:
                    break
            elif not (x.kind in ('ident', 'number') or x.text in allowed):
                break
    return marked


def inside_templates(tokens, brackets):
    """True for tokens between template brackets (types, not values to mutate)."""
    inside, depth = [False] * len(tokens), 0
    for i, t in enumerate(tokens):
        if i in brackets:
            depth += 1 if t.text == '<' else -(1 if t.text == '>' else 2)
            depth = max(depth, 0)
            continue
        inside[i] = depth > 0
    return inside


def classify_brace(tokens, i):
    """'code' for a function body, 'scope' for namespaces and classes, 'data' otherwise."""
    j = i - 1
    while j >= 0 and tokens[j].text not in (';', '{', '}'):
        j -= 1
    decl = [t.text for t in tokens[j + 1:i]]
    if decl[:1] and decl[0] in ('public', 'private', 'protected'):
        decl = decl[2:]
    if 'namespace' in decl or decl[:1] == ['extern']:
        return 'scope'
    prev = tokens[i - 1].text if i > 0 else ''
    after_params = decl[len(decl) - decl[::-1].index(')'):] if ')' in decl else []
    if prev == ')' or prev in ('const', 'noexcept', 'override', 'final', 'mutable') or \
            '->' in after_params:
        return 'code'
    if any(k in decl for k in ('class', 'struct', 'union', 'enum')):
        return 'scope'
    return 'data'


@dataclass
class CodeMap:
    code: list          # token is inside a function body
    starts: list        # index of the first token of the token's statement
    statements: list    # (first, last) token indices of statements ending in ';'
    conditions: list    # (open, close) paren indices of if conditions
    functions: list     # (index of the body's '{', function name), in order


def function_name(tokens, i):
    """`Game::GravityTick` for the body brace at i."""
    j = i - 1
    while j >= 0 and tokens[j].text not in (';', '{', '}'):
        j -= 1
    decl = tokens[j + 1:i]
    opening = next((k for k, t in enumerate(decl) if t.text == '('), len(decl))
    k = opening - 1 if opening > 0 and decl[opening - 1].kind == 'ident' else opening
    while k >= 2 and decl[k - 1].text in ('::', '~') and decl[k - 2].kind == 'ident':
        k -= 2 if decl[k - 1].text == '::' else 1
    return ''.join(t.text for t in decl[k:opening]) or '?'


def map_code(tokens):
    n = len(tokens)
    cm = CodeMap([False] * n, [None] * n, [], [], [])
    kinds, frames = [], []
    start, depth, headers, header_kw = None, 0, [], None
    for i, t in enumerate(tokens):
        x = t.text
        in_code = bool(kinds) and kinds[-1] == 'code'
        if x == '{':
            if not in_code:
                kinds.append(classify_brace(tokens, i))
                if kinds[-1] == 'code':
                    cm.functions.append((i, function_name(tokens, i)))
                    frames.append((True, None, 0, []))
                    start, depth, headers = i + 1, 0, []
                continue
            cm.code[i] = True
            frames.append((start == i, start, depth, headers))
            kinds.append('code')
            start, depth, headers = i + 1, 0, []
            continue
        if x == '}':
            if kinds and kinds.pop() == 'code':
                is_block, saved_start, depth, headers = frames.pop()
                if kinds and kinds[-1] == 'code':
                    cm.code[i] = True
                    start = i + 1 if is_block else saved_start
            continue
        if not in_code:
            continue
        cm.code[i] = True
        cm.starts[i] = start
        if header_kw and x == 'constexpr':
            header_kw = 'if constexpr'
            continue
        if x in ('(', '['):
            if x == '(' and header_kw:
                headers.append((depth, header_kw, i))
            depth += 1
        elif x in (')', ']'):
            depth -= 1
            if x == ')' and headers and headers[-1][0] == depth:
                _, kw, open_index = headers.pop()
                if kw == 'if':
                    cm.conditions.append((open_index, i))
                start = i + 1
        elif x == ';' and depth == 0:
            if start is not None and start < i:
                cm.statements.append((start, i))
            start = i + 1
        elif x == ':' and depth == 0 and start is not None and tokens[start].text in ('case', 'default'):
            start = i + 1
        elif i == start and x in ('else', 'do'):
            start = i + 1
        header_kw = x if i == start and x in ('if', 'for', 'while', 'switch') else None
    return cm


def skip_type_name(tokens, j, end, brackets):
    """Index after a (qualified, templated) name starting at j, or j when there is none."""
    k = j + 1 if j < end and tokens[j].text == '::' else j
    while k < end and tokens[k].kind == 'ident' and tokens[k].text not in KEYWORDS:
        k += 1
        if k < end and k in brackets and tokens[k].text == '<':
            depth = 0
            while k < end:
                if k in brackets:
                    depth += 1 if tokens[k].text == '<' else -(1 if tokens[k].text == '>' else 2)
                k += 1
                if depth <= 0:
                    break
        if k < end and tokens[k].text == '::':
            k += 1
        else:
            break
    return k


def is_expression_statement(tokens, first, last, brackets):
    if tokens[first].text in DECLARATION_STARTS:
        return False
    k = skip_type_name(tokens, first, last, brackets)
    if k == first:
        return True
    while k < last and tokens[k].text in ('*', '&', '&&', 'const'):
        k += 1
    declares = k < last and tokens[k].kind == 'ident' and \
        (k + 1 == last or tokens[k + 1].text in ('=', '{', '(', '[', ',', ':'))
    return not declares


def declarator_at(tokens, i, cm, brackets, in_template):
    """True when the `*` or `&&` at i declares a pointer or reference, as in `Foo *p =`."""
    first = cm.starts[i] or 0
    j = i
    while j > first and ((tokens[j - 1].kind == 'ident' and tokens[j - 1].text not in VALUE_KEYWORDS)
                         or tokens[j - 1].text == '::' or j - 1 in brackets or in_template[j - 1]):
        j -= 1
    if j == i or not (j == first or tokens[j - 1].text in ('(', ',')):
        return False
    name = tokens[i + 1] if i + 1 < len(tokens) else None
    after = tokens[i + 2].text if i + 2 < len(tokens) else ''
    return name is not None and name.kind == 'ident' and \
        (after in ('=', ';', ':', '{', '[') or (after in (',', ')') and i - j >= 2))


def is_value_end(t, index, brackets):
    """Whether a binary operator may follow this token."""
    if t.kind == 'ident':
        return t.text not in KEYWORDS or t.text in VALUE_KEYWORDS
    return t.kind in ('number', 'string', 'char') or t.text in (')', ']') or \
        (index in brackets and t.text in ('>', '>>'))


# ------------------------------------------------------------------------- mutants

@dataclass
class Mutant:
    path: str       # relative to ROOT
    op: str
    start: int      # character span of the change in the original file
    end: int
    after: str
    before: str
    line: int
    line_text: str  # the original line, stripped
    col: int        # offset of the change in line_text
    ident: str = ''
    function: str = ''  # the enclosing function, e.g. Game::GravityTick
    next_line: str = ''  # the next non-blank line, stripped
    outcome: str = ''
    reason: str = ''
    seconds: float = 0.0

    @property
    def change(self):
        return f'{one_line(self.before)} -> {one_line(self.after)}'

    @property
    def where(self):
        return f'{self.path}:{self.line}'


def one_line(text):
    return ' '.join(text.split()) or "''"


RELATIONAL = {'<': '<=', '<=': '<', '>': '>=', '>=': '>', '==': '!=', '!=': '=='}
ARITHMETIC = {'+': '-', '-': '+', '*': '/', '/': '*', '%': '/',
              '+=': '-=', '-=': '+=', '*=': '/=', '/=': '*='}
LOGICAL = {'&&': '||', '||': '&&'}
INTEGER_RE = re.compile(r"(0[xX][0-9a-fA-F']+|0[bB][01']+|0[0-7']*|[1-9][0-9']*)([uUlLzZ]*)")
PLAYER_NAME_RE = re.compile(r'(Player|Preview|P|p)([12])([A-Z_][A-Za-z0-9_]*)?')


def integer_variants(text):
    """The literal's value +1 and -1 written in its own base and suffix; [] for non-integers."""
    m = INTEGER_RE.fullmatch(text)
    if not m:
        return []
    digits, suffix = m.group(1).replace("'", ''), m.group(2)
    if digits[:2] in ('0x', '0X'):
        base, prefix = 16, digits[:2]
    elif digits[:2] in ('0b', '0B'):
        base, prefix = 2, digits[:2]
    elif len(digits) > 1 and digits[0] == '0':
        base, prefix = 8, '0'
    else:
        base, prefix = 10, ''
    value = int(digits[len(prefix):] or '0', base)
    out = []
    for v in (value + 1, value - 1):
        if v < 0:
            continue
        if base == 16:
            body = format(v, 'X' if any(c in 'ABCDEF' for c in digits[2:]) else 'x')
            body = body.zfill(len(digits) - 2)
        elif base == 2:
            body = format(v, 'b')
        elif base == 8:
            body = format(v, 'o')
        else:
            body = str(v)
        out.append(prefix + body + suffix)
    return out


def player_literal(tokens, i):
    """A 0 or 1 that picks a player or an element: f(0), a[1], player == 0."""
    if tokens[i].text not in ('0', '1'):
        return False
    prev = tokens[i - 1].text if i > 0 else ''
    nxt = tokens[i + 1].text if i + 1 < len(tokens) else ''
    if (prev, nxt) == ('[', ']'):
        return True
    if (prev, nxt) == ('(', ')') and i > 1 and tokens[i - 2].kind == 'ident' and \
            tokens[i - 2].text not in KEYWORDS:
        return True
    if prev in ('==', '!=') and i > 1:
        return 'player' in tokens[i - 2].text.lower()
    if nxt in ('==', '!=') and i + 2 < len(tokens):
        return 'player' in tokens[i + 2].text.lower()
    return False


def find_mutants(relpath, text, known_names):
    tokens = tokenize(text)
    brackets = find_template_brackets(tokens)
    in_template = inside_templates(tokens, brackets)
    cm = map_code(tokens)
    changes = []  # (op, start, end, after)

    def span(i, j=None):
        return tokens[i].start, tokens[j if j is not None else i].end

    for i, t in enumerate(tokens):
        if not cm.code[i] or in_template[i] or t.text in ('{', '}'):
            continue
        x, prev = t.text, tokens[i - 1]
        if x in RELATIONAL and i not in brackets:
            changes.append(('relational', *span(i), RELATIONAL[x]))
        elif x in ARITHMETIC and i != cm.starts[i]:
            binary = x.endswith('=') or x in ('/', '%') or is_value_end(prev, i - 1, brackets)
            joins_text = x == '+' and 'string' in (prev.kind, tokens[i + 1].kind)
            if binary and not joins_text and \
                    not (x == '*' and declarator_at(tokens, i, cm, brackets, in_template)):
                changes.append(('arithmetic', *span(i), ARITHMETIC[x]))
        elif x in LOGICAL and not declarator_at(tokens, i, cm, brackets, in_template):
            changes.append(('logical', *span(i), LOGICAL[x]))
        elif x == '!' and i + 1 < len(tokens):
            changes.append(('condition', *span(i, i + 1), tokens[i + 1].text))
        elif t.kind == 'number':
            if player_literal(tokens, i):
                changes.append(('player', *span(i), '1' if x == '0' else '0'))
            else:
                changes.extend(('constant', *span(i), v) for v in integer_variants(x))
        elif t.kind == 'ident':
            m = PLAYER_NAME_RE.fullmatch(x)
            declared = (prev.kind == 'ident' and prev.text not in KEYWORDS) or \
                (prev.text in ('*', '&', '&&') and declarator_at(tokens, i - 1, cm, brackets, in_template))
            if m and not declared:
                other = m.group(1) + ('2' if m.group(2) == '1' else '1') + (m.group(3) or '')
                if other in known_names:
                    changes.append(('player', *span(i), other))

    for first, last in cm.statements:
        if is_expression_statement(tokens, first, last, brackets):
            changes.append(('statement', *span(first, last), '{}'))
    for open_index, close_index in cm.conditions:
        if is_expression_statement(tokens, open_index + 1, close_index, brackets):
            for value in ('true', 'false'):
                changes.append(('condition', tokens[open_index + 1].start,
                                tokens[close_index - 1].end, value))

    bodies = [(tokens[k].start, name) for k, name in cm.functions]
    return make_mutants(relpath, text, changes, bodies)


def make_mutants(relpath, text, changes, bodies):
    line_starts = [0] + [m.end() for m in re.finditer('\n', text)]
    mutants, seen_texts, seen_ids = [], set(), {}
    for op, start, end, after in sorted(changes, key=lambda c: (c[1], c[2], c[0], c[3])):
        mutated = text[:start] + after + text[end:]
        digest = hashlib.sha256(mutated.encode()).digest()
        if digest in seen_texts:
            continue
        seen_texts.add(digest)
        line = bisect.bisect_right(line_starts, start)
        raw = text[line_starts[line - 1]:text.find('\n', start) if '\n' in text[start:] else len(text)]
        stripped = raw.strip()
        col = start - line_starts[line - 1] - (len(raw) - len(raw.lstrip()))
        m = Mutant(relpath, op, start, end, after, text[start:end], line, stripped, col)
        m.function = bodies[bisect.bisect_right(bodies, (start, '\uffff')) - 1][1] if bodies else ''
        m.next_line = next((ln.strip() for ln in text[start:].splitlines()[1:] if ln.strip()), '')
        key = f'{relpath}|{stripped}|{col}|{m.change}'
        seen_ids[key] = seen_ids.get(key, 0) + 1
        m.ident = f'{key}|{seen_ids[key]}'
        mutants.append(m)
    return mutants


def sample_order(mutants, seed):
    """A pure function of the seed and the mutants' identities (not of line numbers)."""
    return sorted(mutants, key=lambda m: hashlib.sha256(f'{seed}|{m.ident}'.encode()).hexdigest())


# --------------------------------------------------------------------- equivalents

@dataclass
class Equivalent:
    file: str
    snippet: str
    change: str
    why: str
    function: str = ''
    next: str = ''
    used: bool = False


def load_equivalents(path):
    """Blocks of `file:`, `line:`, `change:`, `why:` (and optionally `function:`, `next:`)
    lines, separated by blank lines."""
    if not path.exists():
        return []
    entries, block = [], {}
    for raw in path.read_text().splitlines() + ['']:
        line = raw.strip()
        if line.startswith('#'):
            continue
        if not line:
            if block:
                missing = {'file', 'line', 'change', 'why'} - block.keys()
                if missing:
                    fail(f'{path}: an entry lacks {", ".join(sorted(missing))}: {block}')
                entries.append(Equivalent(block['file'], block['line'], block['change'], block['why'],
                                          block.get('function', ''), block.get('next', '')))
            block = {}
            continue
        key, _, value = line.partition(':')
        block[key.strip()] = value.strip()
    return entries


def mark_equivalents(mutants, equivalents):
    for m in mutants:
        for e in equivalents:
            if e.file == m.path and e.change == m.change and covers(m.line_text, e.snippet, m.col) \
                    and e.function in ('', m.function) and e.next in m.next_line:
                m.outcome, m.reason, e.used = 'equivalent', e.why, True
                break


def covers(line_text, snippet, col):
    pos = line_text.find(snippet)
    while pos >= 0:
        if pos <= col < pos + len(snippet):
            return True
        pos = line_text.find(snippet, pos + 1)
    return False


# ----------------------------------------------------------------- build and run

class Workspace:
    """A private copy of the sources and its build, kept between runs."""

    def __init__(self, workdir, jobs, verbose):
        self.tree = workdir / 'tree'
        self.build = workdir / 'build'
        self.scratch = workdir / 'scratch'
        self.jobs, self.verbose = jobs, verbose

    def sync(self):
        """Copies changed files from the sources; unchanged ones keep their time stamps."""
        self.tree.mkdir(parents=True, exist_ok=True)
        self.scratch.mkdir(parents=True, exist_ok=True)
        wanted = set()
        for src in iter_tree(ROOT):
            rel = src.relative_to(ROOT)
            wanted.add(rel)
            dst = self.tree / rel
            if not dst.exists() or dst.read_bytes() != src.read_bytes():
                dst.parent.mkdir(parents=True, exist_ok=True)
                shutil.copy2(src, dst)
                os.utime(dst)  # newer than any object built from an earlier copy
        for old in list(iter_tree(self.tree)):
            if old.relative_to(self.tree) not in wanted:
                old.unlink()

    def configure(self):
        """Once, and again when the options above change."""
        options = list(CMAKE_OPTIONS)
        if shutil.which('ccache'):
            options.append('-DCMAKE_CXX_COMPILER_LAUNCHER=ccache')
        stamp = self.build / 'mutate-options.txt'
        if stamp.exists() and stamp.read_text() == '\n'.join(options):
            return
        fresh = not (self.build / 'CMakeCache.txt').exists()
        generator = ['-G', 'Ninja'] if fresh and shutil.which('ninja') else []
        run_checked(['cmake', '-S', str(self.tree), '-B', str(self.build), *generator, *options])
        stamp.write_text('\n'.join(options))

    def known_targets(self):
        out = subprocess.run(['cmake', '--build', str(self.build), '--target', 'help'],
                             capture_output=True, text=True).stdout
        return {m.group(1) for m in re.finditer(r'^(?:\.\.\. )?([\w.-]+)(?::|$)', out, re.M)}

    def compile(self, targets):
        cmd = ['cmake', '--build', str(self.build), '-j', str(self.jobs), '--target', *targets]
        code, output = run_limited(cmd, BUILD_TIMEOUT, cwd=self.build)
        if self.verbose and code != 0:
            print(output[-4000:])
        return code == 0

    def program(self, target):
        for path in sorted(self.build.rglob(target)):
            if path.is_file() and os.access(path, os.X_OK):
                return path
        return None

    def run_test(self, program, timeout):
        """'passed', 'failed' or 'timeout'."""
        cmd = [str(program), '--gtest_brief=1', '--gtest_fail_fast',
               '--gtest_filter=-' + ':'.join(SLOW_TESTS)]
        env = dict(os.environ, QT_QPA_PLATFORM='offscreen')
        code, output = run_limited(cmd, timeout, cwd=self.scratch, env=env)
        if self.verbose and code != 0:
            print(output[-4000:])
        return 'timeout' if code is None else 'passed' if code == 0 else 'failed'


def iter_tree(base):
    for dirpath, dirnames, filenames in os.walk(base):
        dirnames[:] = sorted(d for d in dirnames if not any(fnmatch_path(d, p) for p in COPY_IGNORE))
        for name in sorted(filenames):
            if not any(fnmatch_path(name, p) for p in COPY_IGNORE):
                path = Path(dirpath) / name
                if path.is_file() and not path.is_symlink():
                    yield path


def run_checked(cmd):
    result = subprocess.run(cmd, capture_output=True, text=True)
    if result.returncode != 0:
        fail(f'failed: {" ".join(cmd)}\n{result.stdout[-3000:]}{result.stderr[-3000:]}')


def run_limited(cmd, timeout, **kwargs):
    """(exit code or None on timeout, output); the whole process group goes on timeout."""
    proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            errors='replace', start_new_session=True, **kwargs)
    try:
        output, _ = proc.communicate(timeout=timeout)
        return proc.returncode, output
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        output, _ = proc.communicate()
        return None, output
    except BaseException:  # interrupted: leave nothing running
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
        raise


def run_mutant(ws, m, original, programs, timeouts):
    path = ws.tree / m.path
    started = time.monotonic()
    try:
        path.write_text(original[:m.start] + m.after + original[m.end:])
        if not ws.compile(sorted({p.name for p in programs})):
            m.outcome = 'not viable'
        else:
            m.outcome = 'survived'
            for program in programs:
                result = ws.run_test(program, timeouts[program])
                if result != 'passed':
                    m.outcome = 'killed' if result == 'failed' else 'timeout'
                    break
    finally:
        path.write_text(original)
        m.seconds = time.monotonic() - started


# --------------------------------------------------------------------------- main

def collect_files(args_paths):
    """[(group, relpath, tests)] and the skipped paths."""
    files, skipped = [], []
    for arg in args_paths:
        base = Path(arg) if Path(arg).is_absolute() else (Path.cwd() / arg)
        if not base.exists():
            base = ROOT / arg
        base = base.resolve()
        if not base.exists():
            fail(f'no such file or folder: {arg}')
        group = base.relative_to(ROOT).as_posix()
        candidates = [base] if base.is_file() else \
            sorted(p for p in base.rglob('*') if p.suffix in SOURCE_SUFFIXES)
        for path in candidates:
            rel = path.relative_to(ROOT).as_posix()
            tests = tests_for(rel)
            if tests:
                if all(rel != f[1] for f in files):
                    files.append((group, rel, tests))
            else:
                skipped.append((rel, 'no entry in TESTS_FOR' if tests is None else 'not mutated'))
    return files, skipped


def known_identifiers():
    names = set()
    for path in (ROOT / 'src').rglob('*'):
        if path.suffix in SOURCE_SUFFIXES:
            names.update(t.text for t in tokenize(path.read_text()) if t.kind == 'ident')
    return names


def print_mutant(m, index=None, total=None):
    count = f'[{index}/{total}] ' if index else ''
    extra = f'  ({m.reason})' if m.outcome == 'equivalent' else \
        f'  {m.seconds:.1f}s' if m.seconds else ''
    print(f'{count}{m.outcome or "-":<10} {m.where:<34} {m.op:<10} {m.change:<28} | {m.line_text}{extra}',
          flush=True)


def kill_rate(ms):
    killed = sum(m.outcome in ('killed', 'timeout') for m in ms)
    counted = killed + sum(m.outcome == 'survived' for m in ms)
    return (100.0 * killed / counted) if counted else None


def print_summary(groups, ran, mutants):
    print('\nfolder                       run  killed timeout survived not-viable equiv not-run  '
          'kill-rate  median-s')
    for name in groups + ['total']:
        ms = [m for g, m in mutants if name in ('total', g)]
        count = lambda o: sum(m.outcome == o for m in ms)
        done = [m for m in ms if m.outcome in ('killed', 'timeout', 'survived', 'not viable')]
        rate = kill_rate(ms)
        median = statistics.median(m.seconds for m in done) if done else 0.0
        print(f'{name:<28} {len(done):>4} {count("killed"):>7} {count("timeout"):>7} '
              f'{count("survived"):>8} {count("not viable"):>10} {count("equivalent"):>5} '
              f'{sum(not m.outcome for m in ms):>7}  {"-" if rate is None else f"{rate:.1f} %":>9} '
              f'{median:>9.1f}')
    ms = [m for _, m in mutants]
    rates = ((op, kill_rate([m for m in ms if m.op == op])) for op in sorted({m.op for m in ms}))
    print('by kind: ' + ', '.join(f'{op} {rate:.0f} %' for op, rate in rates if rate is not None))
    survivors = sorted((m for m in ran if m.outcome == 'survived'), key=lambda m: (m.path, m.line))
    if survivors:
        print('\nsurvivors:')
        for m in survivors:
            print(f'  {m.where:<34} {m.op:<10} {m.change:<28} | {m.line_text}  [{m.function}]')


def stop_on_signal(signum, frame):
    raise KeyboardInterrupt


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0],
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('paths', nargs='+', help='source folders or files')
    parser.add_argument('--seed', type=int, default=1)
    parser.add_argument('--max', type=int, default=None)
    parser.add_argument('--budget', type=float, default=None)
    parser.add_argument('--list', action='store_true')
    parser.add_argument('--jobs', type=int, default=2)
    parser.add_argument('--timeout', type=float, default=None)
    parser.add_argument('--min-kill-rate', type=float, default=None)
    parser.add_argument('--workdir', type=Path, default=ROOT / 'build-mutate')
    parser.add_argument('--verbose', action='store_true')
    args = parser.parse_args()
    began = time.monotonic()
    signal.signal(signal.SIGTERM, stop_on_signal)
    signal.signal(signal.SIGINT, stop_on_signal)

    files, skipped = collect_files(args.paths)
    for why in sorted({why for _, why in skipped}):
        print(f'skipped ({why}): ' + ', '.join(rel for rel, w in skipped if w == why))
    names = known_identifiers()
    mutants, sources = [], {}
    for group, rel, tests in files:
        sources[rel] = (ROOT / rel).read_text()
        mutants.extend((group, m) for m in find_mutants(rel, sources[rel], names))
    equivalents = load_equivalents(EQUIVALENT_FILE)
    mark_equivalents([m for _, m in mutants], equivalents)
    order = sample_order([m for _, m in mutants], args.seed)
    if args.max is not None:
        order = order[:args.max]
    chosen = {id(m) for m in order}
    mutants = [(g, m) for g, m in mutants if id(m) in chosen]
    groups = list(dict.fromkeys(g for g, _ in mutants))

    if args.list:
        for m in order:
            print_mutant(m)
        print(f'{len(order)} mutants in {len(files)} files')
        return 0

    ws = Workspace(args.workdir.resolve(), args.jobs, args.verbose)
    ws.sync()
    ws.configure()
    targets = ws.known_targets()
    wanted = sorted({t for _, _, tests in files for t in tests})
    for t in wanted:
        if t not in targets:
            print(f'warning: test program {t} is not in the build; left out')
    wanted = [t for t in wanted if t in targets]
    if not wanted:
        print('no test program to run')
        return 2
    if not ws.compile(wanted):
        print('the unmutated sources do not build')
        return 2
    programs, timeouts = {}, {}
    for t in wanted:
        programs[t] = ws.program(t)
        started = time.monotonic()
        if ws.run_test(programs[t], 600) != 'passed':
            print(f'{t} fails without any mutant; fix that first')
            return 2
        took = time.monotonic() - started
        timeouts[programs[t]] = args.timeout or max(10.0, 5 * took + 5)
        print(f'unmutated {t}: {took:.1f}s, timeout {timeouts[programs[t]]:.0f}s')
    tests_by_file = {rel: [programs[t] for t in tests if t in programs] for _, rel, tests in files}

    ran, interrupted, out_of_time = [], False, False
    total = len(order)
    try:
        for index, m in enumerate(order, 1):
            if m.outcome == 'equivalent':
                print_mutant(m, index, total)
                continue
            if args.budget is not None and time.monotonic() - began > args.budget:
                print(f'FAIL: budget of {args.budget:.0f}s spent with {total - index + 1} of {total} '
                      'mutants not run; the sample is incomplete')
                out_of_time = True
                break
            run_mutant(ws, m, sources[m.path], tests_by_file[m.path], timeouts)
            ran.append(m)
            print_mutant(m, index, total)
    except KeyboardInterrupt:
        print('interrupted')
        interrupted = True

    print_summary(groups, ran, mutants)
    for e in equivalents:
        if not e.used and any(e.file == rel for _, rel, _ in files):
            print(f'note: equivalent entry matches no mutant: {e.file}: {e.snippet} ({e.change})')
    print(f'wall time {time.monotonic() - began:.0f}s')
    if out_of_time:
        print(f'FAIL: the budget of {args.budget:.0f}s ran out before the sample was done')
        return 3
    rate = kill_rate([m for _, m in mutants])
    if args.min_kill_rate is not None and (rate is None or rate < args.min_kill_rate):
        print(f'kill rate {"-" if rate is None else f"{rate:.1f} %"} is below {args.min_kill_rate} %')
        return 1
    return 130 if interrupted else 0


if __name__ == '__main__':
    sys.exit(main())
